#!/usr/bin/env bash
# Retakes docs/screenshot.png from the built program under a private Xvfb; builds nothing.
# Debian's own python3: it is the one that sees python3-xlib.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
exec /usr/bin/python3 "$root/scripts/screenshot.py" "$@"
