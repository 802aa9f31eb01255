#include <iostream>

#include "cli/CommandLine.h"
#include "ui/DesktopApp.h"

// Without argument the program opens its desktop window; with a subcommand, the command line
// runs it without a window.
int main(int argc, char** argv) {
    if (argc <= 1) {
        return cotalys::RunDesktop(argc, argv);
    }
    return cotalys::RunCommandLine(argc, argv, std::cout, std::cerr);
}
