// Writes COUNT lines (first argument), one every INTERVAL milliseconds (second argument), each
// holding the CLOCK_MONOTONIC time of its write in nanoseconds, so the reader can tell how late
// it got the line.
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

int main(int argc, char** argv) {
    int count = argc > 1 ? atoi(argv[1]) : 0;
    long interval = argc > 2 ? atol(argv[2]) : 10;
    for (int i = 0; i < count; ++i) {
        struct timespec pause = {interval / 1000, (interval % 1000) * 1000000L};
        nanosleep(&pause, NULL);
        struct timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        char line[32];
        int n = snprintf(line, sizeof line, "%lld\n",
                         (long long)now.tv_sec * 1000000000LL + now.tv_nsec);
        if (write(1, line, (size_t)n) != n)
            return 1;
    }
    return 0;
}
