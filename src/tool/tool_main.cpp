// tavrel-tool: the editor's work from the command line, for scripts and batches. Needs no
// display. Exit status 0 on success, 1 when the image or a file could not be read or written,
// 2 for a usage error or refused input.
#include <iostream>

#include "platform/platform.h"
#include "tool/command_line.h"

int main(int argc, char** argv) {
    tavrel::sys::useUtf8Console();
    return tavrel::tool::runTool(tavrel::sys::arguments(argc, argv),
                                 {std::cout, std::cerr, std::cin});
}
