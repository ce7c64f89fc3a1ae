#!/usr/bin/env bash
# Sets up, builds and runs every test: the core's, the window's (offscreen) and the real
# window's under Xvfb on Linux; the same core and tool tests built for Windows and run under
# wine; then the Linux and the Windows tool side by side on the same images.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
bash "$root/scripts/build-windows.sh"
(cd "$root/build" && ctest --output-on-failure --timeout 600 -j2)
(cd "$root/build-win" && ctest --output-on-failure --timeout 600 -j2)
python3 "$root/tests/cross/cross_system_test.py" "$root/build" "$root/build-win"
