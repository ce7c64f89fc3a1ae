#!/usr/bin/env bash
# Sets up, builds and starts the editor.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/setup.sh"
bash "$root/scripts/build.sh"
exec "$root/build/tavrel"
