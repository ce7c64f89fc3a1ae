#!/usr/bin/env bash
# Builds tavrel.exe (the window on the system's own controls), tavrel-tool.exe and the tests for
# Windows into build-win/ with Debian's MinGW-w64 cross compiler (warnings are errors), installing
# the cross compiler, wine (which runs the tests), GoogleTest's sources, ImageMagick (which
# makes the icon) and pefile (with which the zip's test reads the programs' version) when any is
# missing. Then `cd build-win && cpack -G ZIP` makes
# tavrel-VERSION-win64.zip. Extra arguments go to cmake.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

packages=(cmake ninja-build g++-mingw-w64-x86-64-posix wine wine64 googletest libcli11-dev
  nlohmann-json3-dev libz-mingw-w64-dev imagemagick python3-pefile)
missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done
if ((${#missing[@]} > 0)); then
  echo "Installing: ${missing[*]}"
  sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo[@]}" apt-get update -q
  "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# -O2, not Release's -O3: there GCC 12 warns of overlapping copies inside std::string that
# cannot happen (-Wrestrict).
cmake -S "$root" -B "$root/build-win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" -DTAVREL_WERROR=ON \
  -DTAVREL_BUILD_UI=ON -DTAVREL_BUILD_BENCH=OFF "$@"
cmake --build "$root/build-win"
