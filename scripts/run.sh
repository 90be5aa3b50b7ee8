#!/usr/bin/env bash
# Builds the 32-bit release build and starts Quorvel under Wine; on a machine
# that cannot start 32-bit programs, the 64-bit build. With no display it runs
# on a virtual one for a few seconds and saves a screenshot to
# build/quorvel-screenshot.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
bash "$root/scripts/setup.sh"
kind=i686
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  kind=x86_64
  echo "This machine cannot start 32-bit programs: running the 64-bit build"
fi
bash "$root/scripts/build.sh" "$kind" "$build"
exe=$build/$kind/app/Quorvel.exe
if [ -n "${DISPLAY:-}" ]; then
  exec "$build/$kind/wine-run.sh" "$exe"
fi
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
export DISPLAY=$display
"$build/$kind/wine-run.sh" "$exe" &
sleep 8
import -window root "$build/quorvel-screenshot.png"
echo "No display: Quorvel ran on a virtual one; screenshot in build/quorvel-screenshot.png"
WINEPREFIX=$build/$kind/wineprefix wineserver -k 2>/dev/null || true
