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
# The tests start Windows programs one after another, and wine's server ends with the last
# program: the next one, started just then, now and then meets a server going away ("recvmsg:
# Connection reset by peer"). One server for the tests' prefix stays for the whole run, and the
# services it starts with the first program stay with it: started here, where they hold no
# test's output open.
prefix=$root/build-win/wineprefix
wine_start() { bash "$root/scripts/wine-run.sh" "$prefix" cmd /c exit </dev/null >/dev/null 2>&1; }
wine_start  # the prefix made, if the build has not made it
WINEPREFIX=$prefix wineserver -w
WINEPREFIX=$prefix wineserver -p </dev/null >/dev/null 2>&1 || true
wine_start
trap 'WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true' EXIT
(cd "$root/build-win" && ctest --output-on-failure --timeout 600 -j2)
python3 "$root/tests/cross/cross_system_test.py" "$root/build" "$root/build-win"
