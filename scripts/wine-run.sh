#!/usr/bin/env bash
# Runs a Windows program under wine: wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]. The cross
# build's tests run through it. The prefix is created the first time (by one caller while the
# others wait); no display is needed, and wine's own messages are left out.
set -euo pipefail
export WINEPREFIX=$1
shift
export WINEDEBUG=-all DISPLAY=${TAVREL_WINE_DISPLAY:-}
# No prompt to install wine's .NET and HTML engines; names and arguments in UTF-8.
export WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
# wineboot leaves programs of its own running a while: the prefix is ready once they end.
ready=$WINEPREFIX/.tavrel-ready
if [[ ! -f $ready ]]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  flock "$WINEPREFIX.lock" bash -c \
    '[[ -f $0 ]] || { wineboot -i && wineserver -w && touch "$0"; } >/dev/null 2>&1' "$ready"
fi
exec wine "$@"
