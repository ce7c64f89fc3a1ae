#!/usr/bin/env bash
# The Windows zip as a user gets it: built by cpack from the cross build folder and unpacked; it
# holds the two programs and the README side by side, each program asks for none but the
# system's DLLs, and the tool runs from there under wine. Usage: zip_test.sh BUILD WINE_RUN PREFIX
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G ZIP -B "$work/out" >/dev/null)
zip=$(echo "$work"/out/tavrel-*-win64.zip)
python3 -m zipfile -e "$zip" "$work/unpacked"
folder="$work/unpacked/$(basename "$zip" .zip)"
[[ $(LC_ALL=C ls "$folder") == $'README.md\ntavrel-tool.exe\ntavrel.exe' ]]
for program in tavrel.exe tavrel-tool.exe; do
  if x86_64-w64-mingw32-objdump -p "$folder/$program" | awk '/DLL Name:/ { print tolower($3) }' |
    grep -Evx '(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|uxtheme|msvcrt)\.dll'; then
    echo "$program needs the DLLs above, which Windows does not bring" >&2
    exit 1
  fi
done
"$2" "$3" "$folder/tavrel-tool.exe" catalog 58 | grep -q "^0A48 D9 B9 82"
echo "package ok: $(basename "$zip")"
