#!/usr/bin/env bash
# Sets up, builds and starts the editor. A demo image is put beside the program the first time
# (never over an existing one), so the image dialog, which opens there, offers it at once.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
if [[ ! -e "$root/build/demo.bin" ]]; then
  "$root/build/tavrel-demo-image" "$root/build/demo.bin"
fi
exec "$root/build/tavrel"
