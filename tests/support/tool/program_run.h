// Starts a program as a user's shell would and waits for it, on POSIX and on Windows alike.
#pragma once

#include <filesystem>
#include <string>

namespace tavrel::testing {

struct ProgramRun {
    std::filesystem::path folder;  // where it runs, and where `out` and `err` are written
    std::string environment;       // "NAME=value ..." for the program (a POSIX shell's only)
    std::string out, err;          // names in `folder` for its standard output and error
};

// Runs `program` with `arguments`, words as the system's shell reads them (blanks between
// words, "…" quotes; on Windows a backslash is a plain character, as paths have it), and
// returns its exit status.
int runProgram(const std::string& program, const std::string& arguments, const ProgramRun& run);

}  // namespace tavrel::testing
