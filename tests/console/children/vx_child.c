// A console command that does what its arguments say, in order:
//   out:TEXT  err:TEXT  close:FD  exit:CODE
//   read:N    reads N bytes of standard input and writes them back in brackets, then "open"
//             or "closed" for the state of its input
//   flood:N   writes N bytes of alphabet lines, 64 KiB per write
//   gate      waits for one byte of standard input
//   fds       writes "fds:" and every open descriptor above 2
//   hang      writes "pid:N;" and never ends; "grandchild" first starts a child that never
//             ends either and writes "grandchild:N;"
#include <dirent.h>
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static void put(int fd, const char* text, size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, text, size);
        if (n <= 0)
            exit(1);
        text += n;
        size -= (size_t)n;
    }
}

static void echoInput(long want) {
    char* data = malloc((size_t)want + 1);
    long got = 0;
    ssize_t n = 1;
    while (got < want && (n = read(0, data + got, (size_t)(want - got))) > 0)
        got += n;
    put(1, "[", 1);
    put(1, data, (size_t)got);
    struct pollfd p = {0, POLLIN, 0};
    int stillOpen = poll(&p, 1, 100) == 0;
    put(1, stillOpen ? "]open" : "]closed", stillOpen ? 5 : 7);
    free(data);
}

static void flood(long long left) {
    static char block[65536];
    for (size_t i = 0; i < sizeof block; ++i)
        block[i] = (i % 27 == 26) ? '\n' : (char)('a' + i % 27);
    for (; left > 0; left -= (long long)sizeof block)
        put(1, block, left < (long long)sizeof block ? (size_t)left : sizeof block);
}

static void listDescriptors(void) {
    DIR* dir = opendir("/proc/self/fd");
    struct dirent* e;
    printf("fds:");
    while (dir != NULL && (e = readdir(dir)) != NULL) {
        int fd = atoi(e->d_name);
        if (e->d_name[0] != '.' && fd > 2 && fd != dirfd(dir))
            printf(" %d", fd);
    }
    fflush(stdout);
}

static void hang(int withGrandchild) {
    if (withGrandchild) {
        pid_t pid = fork();
        if (pid == 0)
            for (;;)
                pause();
        printf("grandchild:%d;", (int)pid);
    }
    printf("pid:%d;", (int)getpid());
    fflush(stdout);
    for (;;)
        pause();
}

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        const char* value = strchr(a, ':') ? strchr(a, ':') + 1 : "";
        if (strncmp(a, "out:", 4) == 0) {
            put(1, value, strlen(value));
        } else if (strncmp(a, "err:", 4) == 0) {
            put(2, value, strlen(value));
        } else if (strncmp(a, "close:", 6) == 0) {
            close(atoi(value));
        } else if (strncmp(a, "exit:", 5) == 0) {
            return atoi(value);
        } else if (strncmp(a, "read:", 5) == 0) {
            echoInput(atol(value));
        } else if (strncmp(a, "flood:", 6) == 0) {
            flood(atoll(value));
        } else if (strcmp(a, "gate") == 0) {
            char byte;
            if (read(0, &byte, 1) != 1)
                return 1;
        } else if (strcmp(a, "fds") == 0) {
            listDescriptors();
        } else if (strcmp(a, "hang") == 0 || strcmp(a, "grandchild") == 0) {
            hang(strcmp(a, "grandchild") == 0);
        }
    }
    return 0;
}
