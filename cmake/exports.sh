#!/usr/bin/env bash
# exports.sh OUT CC NM HEADER -I<dir>... -- OBJECT...
# Writes a linker version script that exports the global symbols the objects
# define and the public headers name (tokens of the preprocessed HEADER, from
# files under a tarnel/ folder only, not the system headers it includes), and
# keeps every other symbol local.
set -euo pipefail
out=$1 cc=$2 nm=$3 header=$4
shift 4
includes=()
while [[ $1 != -- ]]; do includes+=("$1"); shift; done
shift

printf '#include <%s>\n' "$header" | "$cc" -E -x c "${includes[@]}" - >"$out.i"
"$nm" -g --defined-only -P "$@" >"$out.nm"
awk '
  FNR == NR {
    if ($0 ~ /^# [0-9]+ "/) { ours = ($3 ~ /\/tarnel\/[^\/]*"$/); next }
    if (ours) {
      line = $0
      while (match(line, /[A-Za-z_][A-Za-z0-9_]*/)) {
        named[substr(line, RSTART, RLENGTH)] = 1
        line = substr(line, RSTART + RLENGTH)
      }
    }
    next
  }
  NF >= 2 && $2 ~ /^[BDGRSTVWiu]$/ && ($1 in named) { print $1 }
' "$out.i" "$out.nm" | sort -u >"$out.names"
if [[ ! -s $out.names ]]; then
    echo "exports.sh: no symbol of the objects is declared in $header" >&2
    exit 1
fi
{
    echo "/* Generated from $header: every other symbol is local. */"
    echo "{"
    echo "  global:"
    sed 's/.*/    &;/' "$out.names"
    echo "  local: *;"
    echo "};"
} >"$out.tmp"
rm -f "$out.i" "$out.nm" "$out.names"
mv "$out.tmp" "$out"
