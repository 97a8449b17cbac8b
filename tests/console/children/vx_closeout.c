// Prints "bye", closes its standard input, output and error, keeps running for MS milliseconds
// (first argument), then ends with the exit code given as second argument.
#include <stdlib.h>
#include <unistd.h>

int main(int argc, char** argv) {
    write(1, "bye", 3);
    close(0);
    close(1);
    close(2);
    usleep((useconds_t)(argc > 1 ? atoi(argv[1]) : 0) * 1000);
    return argc > 2 ? atoi(argv[2]) : 0;
}
