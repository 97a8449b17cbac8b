// Writes N bytes (its argument) to standard output: lines of the alphabet, 64 KiB per write.
#include <stdlib.h>
#include <unistd.h>

int main(int argc, char** argv) {
    long long left = argc > 1 ? atoll(argv[1]) : 0;
    static char block[65536];
    for (size_t i = 0; i < sizeof block; ++i)
        block[i] = (i % 27 == 26) ? '\n' : (char)('a' + i % 27);
    while (left > 0) {
        size_t chunk = left < (long long)sizeof block ? (size_t)left : sizeof block;
        ssize_t n = write(1, block, chunk);
        if (n <= 0)
            return 1;
        left -= n;
    }
    return 0;
}
