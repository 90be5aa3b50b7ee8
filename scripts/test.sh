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

# A virtual display for each Windows build, so one build's windows, focus and
# pointer never meet the other's.
xvfb_pids=()
trap 'kill "${xvfb_pids[@]}" 2>/dev/null || true' EXIT
first=$((90 + RANDOM % 100))
for kind in i686 x86_64; do
  display=:$first
  first=$((first + 1))
  Xvfb "$display" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pids+=($!)
  for _ in $(seq 50); do DISPLAY=$display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  export "QUORVEL_DISPLAY_$kind=$display"
done

# Some machines' kernels cannot start 32-bit programs. There the 32-bit build
# is built but cannot run: CTest lists its tests as skipped, with the reason.
wine_kinds="i686 x86_64"
test_dirs='"native" "fuzz" "i686" "x86_64"'
if ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
  reason="not run: this machine cannot start 32-bit programs"
  echo "== i686 tests $reason"
  wine_kinds="x86_64"
  test_dirs='"native" "fuzz" "i686-not-run" "x86_64"'
  mkdir -p "$build/i686-not-run"
  # Each keeps its tier, so a run by label lists it as skipped too.
  for tier in unit window process; do
    (cd "$build/i686" && ctest -N -L "^$tier\$" -FA ".*") | sed -n 's/^ *Test *#[0-9]*: //p' | while read -r name; do
      printf 'add_test(%s "/bin/sh" "-c" "echo %s; exit 77")\n' "$name" "'$reason'"
      printf 'set_tests_properties(%s PROPERTIES SKIP_RETURN_CODE 77 LABELS "%s;i686")\n' "$name" "$tier"
    done
  done > "$build/i686-not-run/CTestTestfile.cmake"
fi

# One Wine prefix per Windows build folder, made once; a persistent server
# keeps every test's start-up short.
for kind in $wine_kinds; do
  export WINEPREFIX=$build/$kind/wineprefix
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "== wine prefix for $kind"
  fi
  # The first program of a server makes the prefix when it is missing and
  # starts Wine's background services; started here they hold no test's
  # output open, which CTest would wait on.
  "$build/$kind/wine-run.sh" cmd /c exit </dev/null >/dev/null 2>&1 || true
  wineserver -w
  wineserver -p 600 2>/dev/null || true
  "$build/$kind/wine-run.sh" cmd /c exit </dev/null >/dev/null 2>&1 || true
done
unset WINEPREFIX

printf 'subdirs(%s)\n' "$test_dirs" > "$build/CTestTestfile.cmake"
cd "$build"
status=0
ctest --output-on-failure -j "$(nproc)" --timeout 900 || status=$?
for kind in $wine_kinds; do WINEPREFIX=$build/$kind/wineprefix wineserver -k 2>/dev/null || true; done
exit $status
