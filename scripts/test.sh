#!/usr/bin/env bash
# Builds everything (native under sanitizers, fuzzers, both Windows builds)
# and runs every test in one CTest run: native and fuzz tests on the host,
# Windows tests under Wine on a virtual display.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build

bash "$root/scripts/setup.sh"

for kind in native fuzz i686 x86_64; do
  echo "== build $kind"
  bash "$root/scripts/build.sh" "$kind" "$build"
done

# One virtual display for every Windows test.
if [ -z "${DISPLAY:-}" ]; then
  display=:$((90 + RANDOM % 100))
  Xvfb "$display" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  trap 'kill $xvfb_pid 2>/dev/null || true' EXIT
  export DISPLAY=$display
  for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
fi

# One Wine prefix per Windows build folder, made once; a persistent server
# keeps every test's start-up short.
for kind in i686 x86_64; do
  export WINEPREFIX=$build/$kind/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== wine prefix for $kind"
    "$build/$kind/wine-run.sh" cmd /c exit </dev/null >/dev/null 2>&1 || true
  fi
  wineserver -w
  wineserver -p 600 2>/dev/null || true
  # The first program of a server starts Wine's background services; started
  # here they hold no test's output open, which CTest would wait on.
  wine cmd /c exit </dev/null >/dev/null 2>&1 || true
done
unset WINEPREFIX

printf 'subdirs("native" "fuzz" "i686" "x86_64")\n' > "$build/CTestTestfile.cmake"
cd "$build"
status=0
ctest --output-on-failure -j "$(nproc)" --timeout 900 || status=$?
for kind in i686 x86_64; do WINEPREFIX=$build/$kind/wineprefix wineserver -k 2>/dev/null || true; done
exit $status
