#!/usr/bin/env bash
# Sets up, builds and runs every test: the core's, the window's (offscreen) and the real
# window's under Xvfb.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
cd "$root/build"
ctest --output-on-failure --timeout 600 -j2
