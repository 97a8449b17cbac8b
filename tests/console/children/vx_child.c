// A console command doing what its arguments say, in order: out:TEXT, err:TEXT, exit:CODE,
// close:FD (code 9 when FD is not open), echo:N (copies N bytes of input to the output) and gate
// (takes one byte of input). Input that ends early or output that fails ends it with code 1.
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

int main(int argc, char** argv) {
    char buffer[65536];
    for (int i = 1; i < argc; ++i) {
        const char* value = strchr(argv[i], ':') ? strchr(argv[i], ':') + 1 : "";
        long left = strncmp(argv[i], "echo:", 5) == 0 ? atol(value) : 0;
        if (strncmp(argv[i], "out:", 4) == 0 || strncmp(argv[i], "err:", 4) == 0) {
            if (write(argv[i][0] == 'o' ? 1 : 2, value, strlen(value)) < 0)
                return 1;
        } else if (strncmp(argv[i], "close:", 6) == 0 && close(atoi(value)) != 0) {
            return 9;
        } else if (strncmp(argv[i], "exit:", 5) == 0) {
            return atoi(value);
        } else if (strcmp(argv[i], "gate") == 0 && read(0, buffer, 1) != 1) {
            return 1;
        }
        for (ssize_t got; left > 0; left -= got) {
            got = read(0, buffer, left < (long)sizeof buffer ? (size_t)left : sizeof buffer);
            if (got <= 0 || write(1, buffer, (size_t)got) != got)
                return 1;
        }
    }
    return 0;
}
