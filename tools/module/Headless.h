#pragma once

// Runs `modules` modules without a window until SIGINT, SIGTERM or SIGHUP. Prints on standard
// output one line per character a module has shown, once it has ended:
//   module 1 start 1234.567 duration 400.000 rows 31 1 1 15 1 1 1
// (milliseconds on the modules' clock; rows A to G, bit i lighting column i from the left), and
// reads lines "cable N" from standard input, which plug the USB cable into module N. Returns the
// exit code.
int runHeadless(int modules);
