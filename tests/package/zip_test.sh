#!/usr/bin/env bash
# The Windows zip as a user gets it: built by cpack from the cross build folder and unpacked; it
# holds the program and the README side by side, and the program runs from there under wine
# with no DLL beside it. Usage: zip_test.sh BUILD WINE_RUN PREFIX
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G ZIP -B "$work/out" >/dev/null)
zip=$(echo "$work"/out/tavrel-*-win64.zip)
python3 -m zipfile -e "$zip" "$work/unpacked"
folder="$work/unpacked/$(basename "$zip" .zip)"
[[ $(ls "$folder") == $'README.md\ntavrel-tool.exe' ]]
"$2" "$3" "$folder/tavrel-tool.exe" catalog 58 | grep -q "^0A48 D9 B9 82"
echo "package ok: $(basename "$zip")"
