// Arms the preload fault shim (fault_shim.cpp) for one scope of an in-process test; the test
// program must run with the shim preloaded (tavrel_add_fault_gtest).
#pragma once

#include <dlfcn.h>

#include <cstdlib>
#include <string>

namespace tavrel::testing {

class FaultInjection {
public:
    // A serial number ends the value, so that arming the same setting again restarts the count.
    explicit FaultInjection(const std::string& setting) {
        static int serial = 0;
        ::setenv("TAVREL_FAULT", (setting + " #" + std::to_string(++serial)).c_str(), 1);
    }
    ~FaultInjection() { ::unsetenv("TAVREL_FAULT"); }
    FaultInjection(const FaultInjection&) = delete;
    FaultInjection& operator=(const FaultInjection&) = delete;

    // How many of the named calls ran (or were failed) since the scope began; -1 when the shim
    // is not loaded.
    static int calls() {
        using Calls = int (*)();
        const auto count = reinterpret_cast<Calls>(::dlsym(RTLD_DEFAULT, "tavrel_fault_calls"));
        return count ? count() : -1;
    }
};

}  // namespace tavrel::testing
