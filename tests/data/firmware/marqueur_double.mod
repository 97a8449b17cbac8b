void f(void)
{
	//ICI
}
void g(void)
{
	//ICI
}
