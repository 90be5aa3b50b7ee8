#!/usr/bin/env bash
# Configures and builds one kind of build: native, fuzz, i686 or x86_64.
#   scripts/build.sh KIND [BUILD_ROOT]
set -euo pipefail
kind=$1
root=$(cd "$(dirname "$0")/.." && pwd)
out=${2:-$root/build}/$kind
args=(-G Ninja -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=Release)
case $kind in
  native) args+=(-DCMAKE_CXX_COMPILER=g++ -DCMAKE_C_COMPILER=gcc -DCMAKE_BUILD_TYPE=Debug) ;;
  fuzz)   args+=(-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_C_COMPILER=clang -DQUORVEL_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug) ;;
  i686|x86_64) args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/Toolchain-$kind-w64-mingw32.cmake") ;;
  *) echo "unknown build kind: $kind" >&2; exit 2 ;;
esac
cmake "${args[@]}" >/dev/null
cmake --build "$out" -j "$(nproc)"
