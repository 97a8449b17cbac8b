//ICI
int x;
