// Writes each argument in turn, without a line end: "out:TEXT" to standard output, "err:TEXT"
// to standard error, "hex:C3A9" raw bytes to standard output; "sleep:MS" pauses; "close:N"
// closes descriptor N.
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const char* a = argv[i];
        if (strncmp(a, "out:", 4) == 0) {
            write(1, a + 4, strlen(a + 4));
        } else if (strncmp(a, "err:", 4) == 0) {
            write(2, a + 4, strlen(a + 4));
        } else if (strncmp(a, "hex:", 4) == 0) {
            for (const char* h = a + 4; h[0] && h[1]; h += 2) {
                char pair[3] = {h[0], h[1], 0};
                unsigned char byte = (unsigned char)strtoul(pair, NULL, 16);
                write(1, &byte, 1);
            }
        } else if (strncmp(a, "close:", 6) == 0) {
            close(atoi(a + 6));
        } else if (strncmp(a, "sleep:", 6) == 0) {
            usleep((useconds_t)atoi(a + 6) * 1000);
        }
    }
    return 0;
}
