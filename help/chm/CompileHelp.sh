#!/usr/bin/env bash
# Compiles the help project into a .chm.
#   CompileHelp.sh SOURCE_DIR WORK_DIR OUTPUT_CHM
#
# The compiler writes the targets of [ALIAS] entries as absolute paths of the
# build machine, which the help viewer cannot find inside the file. So the
# context map (#IVB) is written here instead, from Contexts.hhm, and points at
# the strings the compiler itself stores for the window definition's URLs:
# every alias target must therefore be the window's home, default or jump URL.
set -euo pipefail
src=$1 work=$2 out=$3

rm -rf "$work"
mkdir -p "$work/stage"
cp "$src"/*.htm "$src"/*.css "$src"/*.hhc "$src"/*.hhk "$src"/*.hhp "$src"/CSHelp.txt "$work/stage/"

compile() {
  (cd "$work/stage" && chmcmd --no-html-scan Quorvel.hhp >"$work/chmcmd.log" 2>&1) || {
    cat "$work/chmcmd.log" >&2
    echo "CompileHelp: the help compiler failed" >&2
    exit 1
  }
  [ -s "$work/stage/Quorvel.chm" ] || { echo "CompileHelp: no Quorvel.chm written" >&2; exit 1; }
}

# Offset of the NUL-terminated string $2 in the string table file $1, or
# nothing when absent.
string_offset() {
  local want
  want=$(printf '%s' "$2" | od -An -v -tx1 | tr -d ' \n')
  od -An -v -tx1 "$1" | tr -s ' \n' '  ' | awk -v want="$want" '
    {
      n = split($0, b, " ")
      start = 1
      for (i = 1; i <= n; i++) {
        if (b[i] == "00") {
          s = ""
          for (j = start; j < i; j++) s = s b[j]
          if (s == want && i > start) { print start - 1; exit }
          start = i + 1
        }
      }
    }'
}

le32() {
  local v=$1
  printf "\\x$(printf %02x $((v & 255)))\\x$(printf %02x $(((v >> 8) & 255)))"
  printf "\\x$(printf %02x $(((v >> 16) & 255)))\\x$(printf %02x $(((v >> 24) & 255)))"
}

declare -A alias_target
declare -a map_names map_ids
section=""
while IFS= read -r line || [ -n "$line" ]; do
  line=${line%$'\r'}
  case $line in
    \[*\]) section=$line ;;
    "") ;;
    *)
      if [ "$section" = "[ALIAS]" ]; then
        alias_target[${line%%=*}]=${line#*=}
      elif [ "$section" = "[MAP]" ]; then
        read -r _ name id <<<"$line"
        map_names+=("$name") map_ids+=("$id")
      fi ;;
  esac
done <"$src/Contexts.hhm"

compile
extract_chmLib "$work/stage/Quorvel.chm" "$work/pass1" >/dev/null
{
  le32 $((8 * ${#map_names[@]}))
  for i in "${!map_names[@]}"; do
    name=${map_names[$i]}
    target=${alias_target[$name]:-}
    [ -n "$target" ] || { echo "CompileHelp: $name has no [ALIAS] entry" >&2; exit 1; }
    offset=$(string_offset "$work/pass1/#STRINGS" "$target")
    [ -n "$offset" ] || { echo "CompileHelp: $target is not a URL of the window definition" >&2; exit 1; }
    le32 $((map_ids[$i]))
    le32 "$offset"
  done
} >"$work/stage/#IVB"

printf '#IVB\n' >>"$work/stage/Quorvel.hhp"
rm "$work/stage/Quorvel.chm"
compile

# The second pass must keep the string table the map points into.
extract_chmLib "$work/stage/Quorvel.chm" "$work/pass2" >/dev/null
cmp -s "$work/pass1/#STRINGS" "$work/pass2/#STRINGS" || {
  echo "CompileHelp: the string table changed between passes" >&2
  exit 1
}
cmp -s "$work/stage/#IVB" "$work/pass2/#IVB" || { echo "CompileHelp: context map not stored" >&2; exit 1; }
mkdir -p "$(dirname "$out")"
cp "$work/stage/Quorvel.chm" "$out"
