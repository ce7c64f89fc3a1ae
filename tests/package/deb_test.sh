#!/usr/bin/env bash
# The .deb as a user gets it: built by cpack from the build folder, unpacked into a temporary
# root with dpkg -x; its tavrel-tool runs from there, and it names Qt's runtime packages.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(echo "$work"/out/tavrel_*.deb)
dpkg -x "$deb" "$work/root"
"$work/root/usr/bin/tavrel-tool" --help | grep -q "apply"
"$work/root/usr/bin/tavrel-tool" catalog 58 | grep -q "^0A48 D9 B9 82"
desktop-file-validate "$work/root/usr/share/applications/tavrel.desktop"
test -f "$work/root/usr/share/icons/hicolor/32x32/apps/tavrel.png"
dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6"
echo "package ok: $(basename "$deb")"
