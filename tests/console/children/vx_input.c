// Reads exactly N bytes (its argument) from standard input and writes them back in brackets,
// then "open" if its input is still open, "closed" if it has reached its end.
#include <poll.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

int main(int argc, char** argv) {
    long want = argc > 1 ? atol(argv[1]) : 0;
    char* data = malloc((size_t)want + 1);
    long got = 0;
    while (got < want) {
        ssize_t n = read(0, data + got, (size_t)(want - got));
        if (n <= 0)
            break;
        got += n;
    }
    fputc('[', stdout);
    fwrite(data, 1, (size_t)got, stdout);
    fputc(']', stdout);
    struct pollfd p = {0, POLLIN, 0};
    int ready = poll(&p, 1, 100);
    fputs(ready == 0 ? "open" : "closed", stdout);
    free(data);
    return 0;
}
