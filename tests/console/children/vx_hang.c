// Prints "pid:N;" and never ends. With the argument "grandchild" it first starts a child of its
// own that never ends either and prints "grandchild:N;" for it.
#include <stdio.h>
#include <string.h>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc > 1 && strcmp(argv[1], "grandchild") == 0) {
        pid_t pid = fork();
        if (pid == 0) {
            for (;;)
                pause();
        }
        printf("grandchild:%d;", (int)pid);
    }
    printf("pid:%d;", (int)getpid());
    fflush(stdout);
    for (;;)
        pause();
}
