#!/usr/bin/env bash
# Sets up, builds the editor and the demo image maker (and nothing else: the tests are built by
# test.sh), and starts the editor. A demo image is put beside the program the first time (never
# over an existing one); the image dialog opens in that folder with it chosen.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh" --target tavrel tavrel-demo-image
if [[ ! -e "$root/build/demo.bin" ]]; then
  "$root/build/tavrel-demo-image" "$root/build/demo.bin"
fi
exec "$root/build/tavrel"
