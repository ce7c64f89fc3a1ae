// The system's shell runs the program: sh on POSIX, cmd on Windows (whose quotes are double
// ones only; the tests' arguments use those).
#include "program_run.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <stdexcept>

namespace tavrel::testing {

int runProgram(const std::string& program, const std::string& arguments, const ProgramRun& run) {
#ifdef _WIN32
    if (!run.environment.empty())
        throw std::invalid_argument("no environment for a Windows program: " + run.environment);
    // cmd takes the outer quotes off a line that starts with one.
    const std::string command = "\"cd /d \"" + run.folder.string() + "\" && \"" +
                                std::filesystem::absolute(program).string() + "\" " + arguments +
                                " <NUL >" + run.out + " 2>" + run.err + "\"";
    // -1 (no cmd started) and 9009 (cmd could not start the program) are never the program's
    // own statuses: wine on a loaded machine now and then fails to start a process, which says
    // nothing of the program, so it is started again, and the log says so.
    for (int attempt = 1;; ++attempt) {
        errno = 0;
        const int status = std::system(command.c_str());
        if ((status != -1 && status != 9009) || attempt == 3)
            return status;
        std::cerr << "not started (status " << status << ", errno " << errno
                  << "), starting it again: " << command << '\n';
    }
#else
    const std::string command = "cd '" + run.folder.string() + "' && " + run.environment + " " +
                                program + " " + arguments + " >" + run.out + " 2>" + run.err;
    return WEXITSTATUS(std::system(command.c_str()));
#endif
}

}  // namespace tavrel::testing
