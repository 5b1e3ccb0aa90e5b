#pragma once

#include <cstdio>

// The options the program answers before it opens any window: --help, --version, and options
// it does not know. Whatever else is on the command line is left for start-up: the picture to
// open.
class CommandLine {
public:
    // Prints the help or the version on `out` and returns 0, or an error and the usage on `err`
    // and returns 2; -1 when the program is to start. Takes a "--" that ends the options out of
    // the arguments, so a file whose name starts with "-" can be opened after it.
    static int answer(int &argc, char **argv, std::FILE *out, std::FILE *err);
};
