// Arms the preload fault shim (fault_shim.cpp) for one scope of an in-process test, or cuts the
// power in a child process; the test program must run with the shim preloaded.
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

// The shim's power-cut mode (power_cut.h), for a child process that ends in a power cut.
struct PowerCut {
    // Cuts after the k-th recorded call, or at now() when k is 0; `pattern` says what unsynced
    // changes the disk keeps: "none", "all" or a seed.
    static void arm(long k, const std::string& pattern) {
        ::setenv("TAVREL_POWER", (std::to_string(k) + " " + pattern).c_str(), 1);
    }
    // The calls recorded since arm().
    static long calls() { return shim<long (*)()>("tavrel_power_calls")(); }
    [[noreturn]] static void now() {
        shim<void (*)()>("tavrel_power_cut")();
        std::abort();
    }

private:
    template <typename Function>
    static Function shim(const char* name) {
        const auto function = reinterpret_cast<Function>(::dlsym(RTLD_DEFAULT, name));
        if (function == nullptr)
            std::abort();  // the shim is not preloaded
        return function;
    }
};

}  // namespace tavrel::testing
