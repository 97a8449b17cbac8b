// Prints how many arguments it got and each one in brackets: "2[a][b c]".
#include <stdio.h>

int main(int argc, char** argv) {
    printf("%d", argc - 1);
    for (int i = 1; i < argc; ++i)
        printf("[%s]", argv[i]);
    return 0;
}
