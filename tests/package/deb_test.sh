#!/usr/bin/env bash
# The .deb as a user gets it: built by cpack from the build folder, unpacked into a temporary
# root with dpkg -x. Its tavrel-tool runs from there; it names Qt's runtime packages and its
# section agrees with the desktop entry; the desktop entry, the AppStream metainfo and the
# manual pages pass their own checkers; the icons come in every size; Debian's copyright and
# changelog are where Debian keeps them; bash completes commands and team names through it.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAILED: $*" >&2
  exit 1
}
(cd "$build" && cpack -G DEB -B "$work/out" >/dev/null)
deb=$(echo "$work"/out/tavrel_*.deb)
dpkg -x "$deb" "$work/root"
usr=$work/root/usr
tool=$usr/bin/tavrel-tool

"$tool" catalog 58 | grep -q "^0A48 D9 B9 82"
[[ $("$tool" --version) == "tavrel-tool $(dpkg-deb -f "$deb" Version)" ]] || fail "--version"
dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6"

desktop-file-validate "$usr/share/applications/tavrel.desktop"
# "Open with" offers Tavrel for a raw image (the type the package defines), an .img and a .cue.
grep -qx 'MimeType=application/x-raw-cd-image;application/x-raw-disk-image;application/x-cue;' \
  "$usr/share/applications/tavrel.desktop" || fail "MIME types"
python3 -c "import sys, xml.dom.minidom; xml.dom.minidom.parse(sys.argv[1])" \
  "$usr/share/mime/packages/tavrel.xml"
section=$(dpkg-deb -f "$deb" Section)
categories=$(sed -n 's/^Categories=//p' "$usr/share/applications/tavrel.desktop")
[[ $section == utils && $categories == "Utility;" ]] ||
  fail "section $section and categories $categories disagree"
appstreamcli validate --no-net "$usr"/share/metainfo/*.metainfo.xml >/dev/null
for size in 16 22 24 32 48 64 128 256; do
  icon=$usr/share/icons/hicolor/${size}x$size/apps/tavrel.png
  [[ $(identify -format %wx%h "$icon") == "${size}x$size" ]] || fail "icon $icon"
done

contents=$(dpkg-deb -c "$deb")
for file in copyright changelog.gz; do
  grep -q "\./usr/share/doc/tavrel/$file\$" <<<"$contents" || fail "no $file in the .deb"
done
zcat "$usr/share/doc/tavrel/changelog.gz" | grep -q "^tavrel ($(dpkg-deb -f "$deb" Version))"

# Both manual pages render without a warning, and the tool's page names every command it has.
for page in tavrel tavrel-tool; do
  source=$usr/share/man/man1/$page.1.gz
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$source" 2>&1 >/dev/null)
  [[ -z $warnings ]] || fail "man $page: $warnings"
done
manual=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l "$source" 2>/dev/null)
for command in $("$tool" __complete '' | grep -v '^-' | tail -n +2); do
  grep -Eq "^ +$command( |$)" <<<"$manual" || fail "the manual page lacks $command"
done

# Completion as bash runs it, the program found on the PATH.
completion=$usr/share/bash-completion/completions/tavrel-tool
complete_line() {
  PATH=$usr/bin:$PATH bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    _tavrel_tool; printf "%s\n" "${COMPREPLY[@]}"' - "$completion" "$@"
}
[[ $(complete_line tavrel-tool a) == $'apply\napply-patch' ]] || fail "completion of a"
[[ $(complete_line tavrel-tool show game.bin bay) == 'Bayer\ Monaco' ]] || fail "a team's name"
[[ $(complete_line tavrel-tool apply game.bin --design 4 d.) == 'D.\ Kiev' ]] || fail "a value"
[[ $(complete_line tavrel-tool apply game.bin 13 --fi) == --file ]] || fail "an option"
[[ $(complete_line tavrel-tool nets game.bin '') == $'normali\nrombi' ]] || fail "the nets"
[[ $(complete_line tavrel-tool export game.bin --to '') == "$(compgen -d)" ]] || fail "folders"
echo "package ok: $(basename "$deb")"
