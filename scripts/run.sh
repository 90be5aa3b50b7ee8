#!/usr/bin/env bash
# Builds the 32-bit release build and starts Quorvel under Wine; on a machine
# that cannot start 32-bit programs, the 64-bit build. With no display it
# shows Quorvel at work on a virtual one: a file is opened through the
# program's own open dialog by keyboard, a screenshot of the window is saved
# to build/quorvel-screenshot.png, and the program is closed again.
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
unset QUORVEL_DISPLAY_i686 QUORVEL_DISPLAY_x86_64
if [ -n "${DISPLAY:-}" ]; then
  exec "$build/$kind/wine-run.sh" "$exe"
fi

# The X server picks a free display number itself and writes it to fd 3.
number_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$number_file" >/dev/null 2>&1 &
xvfb_pid=$!
program_pid=
cleanup() {
  if [ -n "$program_pid" ] && kill -0 "$program_pid" 2>/dev/null; then
    WINEPREFIX=$build/$kind/wineprefix wineserver -k 2>/dev/null || true
  fi
  kill "$xvfb_pid" 2>/dev/null || true
  rm -f "$number_file"
}
trap cleanup EXIT
for _ in $(seq 100); do [ -s "$number_file" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$number_file")

# Waits (up to $1 seconds) for a visible window whose title matches $2 and
# prints its id. A search fails now and then when another window goes away
# while it looks, so it is simply asked again.
wait_window() {
  local end=$((SECONDS + $1)) id
  while [ $SECONDS -lt $end ]; do
    id=$(xdotool search --onlyvisible --name "$2" 2>/dev/null | head -n1) || true
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1
  done
  return 1
}

# The sample is the licence file, typed with its full name: the open
# dialog starts in the folder it was last used in (the tests use it too).
# Wine shows the root of the file system as drive Z:.
sample=LICENSE
sample_name="Z:$(printf '%s' "$root/$sample" | tr '/' '\\')"
cd "$root"
# What Wine and the program print goes to a log beside the screenshot.
"$build/$kind/wine-run.sh" "$exe" >"$build/quorvel-run.log" 2>&1 &
program_pid=$!
# The first run makes the build's Wine prefix, which takes a while.
main=$(wait_window 180 '^Quorvel$') || { echo "run.sh: Quorvel showed no window" >&2; exit 1; }
xdotool windowfocus --sync "$main"
xdotool key ctrl+o
dialog=$(wait_window 30 '^Open$') || { echo "run.sh: the open dialog did not show" >&2; exit 1; }
xdotool windowfocus --sync "$dialog"
xdotool type --delay 20 "$sample_name"
xdotool key Return
main=$(wait_window 30 "$sample - Quorvel\$") || { echo "run.sh: $sample was not opened" >&2; exit 1; }

# The window is taken once two pictures of it in a row are the same, so
# the rows have been painted.
shot=$build/quorvel-screenshot.png
current=$(mktemp) previous=$(mktemp)
for _ in $(seq 50); do
  import -window "$main" "ppm:$current"
  if cmp -s "$current" "$previous"; then break; fi
  cp "$current" "$previous"
  sleep 0.2
done
convert "ppm:$current" "$shot"
rm -f "$current" "$previous"
echo "No display: Quorvel opened $sample on a virtual one; screenshot: $shot"

xdotool windowfocus --sync "$main"
xdotool key alt+F4
if timeout 30 tail --pid="$program_pid" -f /dev/null; then
  program_pid=
fi
