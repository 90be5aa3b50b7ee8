#!/usr/bin/env bash
# Checks a built help file against its sources.
#   CheckHelpFile.sh CHM SOURCE_DIR WORK_DIR
set -uo pipefail
chm=$1 src=$2 work=$3
failures=0 checks=0
check() { # description, command...
  local what=$1; shift
  checks=$((checks + 1))
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}

rm -rf "$work"
enum_chmLib "$chm" >"$work.list" || { echo "FAILED: cannot list $chm"; exit 1; }
extract_chmLib "$chm" "$work" >/dev/null || { echo "FAILED: cannot extract $chm"; exit 1; }
listed() { grep -qE "[[:space:]]/$1\$" "$work.list"; }

# Every file of the project and every page the table of contents names.
files=$(sed -n '/^\[FILES\]/,/^\[/p' "$src/Quorvel.hhp" | grep -v '^\[' | tr -d '\r' | grep .)
for f in $files; do check "$f is in the help file" listed "$f"; done
for f in $(grep -o 'name="Local" value="[^"]*"' "$src/Contents.hhc" | cut -d'"' -f4 | sort -u); do
  check "contents entry $f is in the help file" listed "$f"
done
check "table of contents stored" listed Contents.hhc
check "index stored" listed Index.hhk

# No page links to a page the file does not hold.
for page in "$work"/*.htm; do
  for target in $(grep -o 'href="[^"#:]*' "$page" | cut -d'"' -f2 | sort -u); do
    check "$(basename "$page") links to $target" test -f "$work/$target"
  done
done

# Popup topics: the About box context has text.
popup_text() { awk '/^\.topic 30500$/ { getline; print; exit }' "$work/CSHelp.txt" | grep -q '[[:alpha:]]'; }
check "CSHelp.txt holds topic 30500 with text" popup_text

# Context map: 30500 names About.htm through the string table.
ivb_entry() {
  local words target
  [ -s "$work/#IVB" ] && [ -s "$work/#STRINGS" ] || return 1
  words=($(od -An -v -tu4 "$work/#IVB"))
  [ "${words[0]}" -eq $(( (${#words[@]} - 1) * 4 )) ] || return 1
  for ((i = 1; i < ${#words[@]}; i += 2)); do
    if [ "${words[$i]}" -eq 30500 ]; then
      target=$(tail -c +$((words[i + 1] + 1)) "$work/#STRINGS" | tr '\0' '\n' | head -1)
      [ "$target" = About.htm ]
      return
    fi
  done
  return 1
}
check "context 30500 opens About.htm" ivb_entry
check "About.htm is the About page" grep -q '<title>About Quorvel</title>' "$work/About.htm"

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
