// What the two parts of the preload shim share: the fault injection (fault_shim.cpp) that the
// recorded calls of the power-cut mode (power_cut.cpp) consult first.
#pragma once

#include <dlfcn.h>

namespace tavrel::shim {

// True when the call named must fail (errno set) or the process was stopped at it.
bool injectAt(const char* call);

// The next library's `name`: the system's own call.
template <typename Function>
Function next(const char* name) {
    return reinterpret_cast<Function>(dlsym(RTLD_NEXT, name));
}

}  // namespace tavrel::shim
