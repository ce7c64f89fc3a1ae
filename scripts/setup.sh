#!/usr/bin/env bash
# Installs the Debian packages Tavrel needs to build, run and test, when any is missing.
# Works as root or through sudo; installs nothing when everything is there.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-qpa-plugins libgl-dev
  libgtest-dev libcli11-dev nlohmann-json3-dev zlib1g-dev
  # MD5 and SHA-1 of an image (tavrel-tool info): the system's libcrypto.
  libssl-dev
  # The independent applier and maker of VCDIFF patches in the tool tests.
  xdelta3
  # Packaging: cpack's dependency list, and the checks of the desktop entry, the AppStream
  # metainfo and the manual pages.
  dpkg-dev desktop-file-utils appstream man-db
  fonts-dejavu-core
  # The real-window tests: an X server without a display, and tools to drive it.
  xvfb xauth xdotool x11-utils xclip python3 python3-xlib python3-pyvirtualdisplay imagemagick
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

echo "Installing: ${missing[*]}"
sudo=()
if [[ $(id -u) -ne 0 ]]; then
  sudo=(sudo)
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
