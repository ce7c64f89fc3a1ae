#!/usr/bin/env bash
# Configures and builds Tavrel into build/ (warnings are errors). Extra arguments go to cmake.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVREL_WERROR=ON "$@"
cmake --build "$root/build"
