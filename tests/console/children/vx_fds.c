// Prints "fds:" followed by every open descriptor above 2, each as " N".
#include <dirent.h>
#include <stdio.h>
#include <stdlib.h>

int main(void) {
    DIR* dir = opendir("/proc/self/fd");
    if (dir == NULL)
        return 1;
    printf("fds:");
    struct dirent* e;
    while ((e = readdir(dir)) != NULL) {
        int fd = atoi(e->d_name);
        if (e->d_name[0] != '.' && fd > 2 && fd != dirfd(dir))
            printf(" %d", fd);
    }
    closedir(dir);
    return 0;
}
