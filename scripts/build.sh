#!/usr/bin/env bash
# Configures and builds Tavrel into build/ (warnings are errors): everything, or with
# `--target T...` only those targets and what they need. Other arguments go to cmake.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
configure=() targets=()
while (($# > 0)); do
  if [[ $1 == --target ]]; then
    shift
    while (($# > 0)) && [[ $1 != -* ]]; do
      targets+=(--target "$1")
      shift
    done
  else
    configure+=("$1")
    shift
  fi
done
cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVREL_WERROR=ON \
  ${configure[@]+"${configure[@]}"}
cmake --build "$root/build" ${targets[@]+"${targets[@]}"}
