// The system's shell runs the program: sh on POSIX, cmd on Windows (whose quotes are double
// ones only; the tests' arguments use those).
#include "program_run.h"

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdlib>
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
    // 9009 is cmd's "could not start it", never a status of the program: wine on a loaded
    // machine now and then fails to start a process, which is no result of the program's.
    constexpr int kCouldNotStart = 9009;
    int status = kCouldNotStart;
    for (int attempt = 0; attempt < 3 && status == kCouldNotStart; ++attempt)
        status = std::system(command.c_str());
    return status;
#else
    const std::string command = "cd '" + run.folder.string() + "' && " + run.environment + " " +
                                program + " " + arguments + " >" + run.out + " 2>" + run.err;
    return WEXITSTATUS(std::system(command.c_str()));
#endif
}

}  // namespace tavrel::testing
