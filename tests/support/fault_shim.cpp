// A preload library that injects faults into the file calls Tavrel's writes depend on. It
// counts the process's pwrite, fdatasync, fsync, syncfs, flock and rename calls named in
// TAVREL_FAULT and acts at the k-th of them:
//
//   TAVREL_FAULT="flock 2 stop"              SIGSTOP there: the process waits for SIGCONT
//   TAVREL_FAULT="pwrite 2 EIO"              the second pwrite fails with EIO
//   TAVREL_FAULT="pwrite 2+ EIO"             every pwrite from the second on fails
//   TAVREL_FAULT="flock 1 ENOLCK"            the first flock fails as without locks
//   TAVREL_FAULT="fdatasync 0 none"          nothing fails; the calls are only counted
//
// The variable is read at every call, so an in-process test arms and disarms it with setenv;
// a new value starts the count again (words after the third are not read, so a serial number
// there makes a value new). tavrel_fault_calls() returns the count so far.
//
// TAVREL_POWER cuts the power at a chosen call instead: see power_cut.cpp.
#include <sys/file.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "fault_shim.h"

namespace tavrel::shim {
namespace {

struct Fault {
    std::string setting;  // the value the count belongs to
    int calls = 0;
};
Fault fault;

}  // namespace

bool injectAt(const char* call) {
    const char* setting = std::getenv("TAVREL_FAULT");
    if (setting == nullptr)
        return false;
    if (fault.setting != setting)
        fault = Fault{setting, 0};
    char calls[64] = {}, at[16] = {}, action[16] = {};
    if (std::sscanf(setting, "%63s %15s %15s", calls, at, action) != 3)
        return false;
    const std::string names = std::string(",") + calls + ",";
    if (names.find(std::string(",") + call + ",") == std::string::npos)
        return false;
    const int k = std::atoi(at);
    const int n = ++fault.calls;
    const bool onward = std::strchr(at, '+') != nullptr;
    if (k <= 0 || (onward ? n < k : n != k))
        return false;
    if (std::strcmp(action, "stop") == 0) {
        std::raise(SIGSTOP);
        return false;  // then the call runs
    }
    const std::pair<const char*, int> errors[] = {{"ENOSPC", ENOSPC},
                                                  {"ENOLCK", ENOLCK},
                                                  {"EOPNOTSUPP", EOPNOTSUPP},
                                                  {"EWOULDBLOCK", EWOULDBLOCK},
                                                  {"EACCES", EACCES}};
    errno = EIO;
    for (const auto& [name, value] : errors) {
        if (std::strcmp(action, name) == 0)
            errno = value;
    }
    return true;
}

}  // namespace tavrel::shim

extern "C" {

int tavrel_fault_calls() {
    return tavrel::shim::fault.calls;
}

int flock(int fd, int operation) {
    if (tavrel::shim::injectAt("flock"))
        return -1;
    return tavrel::shim::next<int (*)(int, int)>("flock")(fd, operation);
}
}
