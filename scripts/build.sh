#!/usr/bin/env bash
# Configures and builds one kind of build with its preset (CMakePresets.json):
# native, fuzz, i686 or x86_64, into BUILD_ROOT/KIND (build/KIND by default).
#   scripts/build.sh KIND [BUILD_ROOT]
set -euo pipefail
kind=$1
root=$(cd "$(dirname "$0")/.." && pwd)
case $kind in
  native|fuzz|i686|x86_64) ;;
  *) echo "unknown build kind: $kind" >&2; exit 2 ;;
esac
out=${2:-$root/build}/$kind
(cd "$root" && cmake --preset "$kind" -B "$out" >/dev/null)
cmake --build "$out" -j "$(nproc)"
