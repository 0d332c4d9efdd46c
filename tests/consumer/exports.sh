#!/usr/bin/env bash
# The installed shared objects export exactly what the installed headers
# declare: every function and variable of a tarnel/ header (read from
# clang's syntax tree of the umbrella header, compiled as C) is defined by
# libtnapi.so.0 or libtde.so.0, except the client's callbacks, which
# libtnapi.so.0 leaves undefined for the client (or libtnapi_main.a) to
# define, and the server side of the generated protocol header (*_svc,
# *_freeresult), which is the host's to define; and the objects define
# nothing else.
#   exports.sh INCLUDE_DIR LIB_DIR
set -euo pipefail
include=$1 lib=$2
callbacks="T_ApiCommand T_ApiDialogEvent T_ApiEmergency T_ApiInitialize T_ApiMessage T_ApiNotify"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Top-level declarations only; clang prints a declaration's file only when it
# changes, so every location on every line moves the current file.
echo '#include <tarnel/tnapi.h>' |
    clang -x c -fsyntax-only -fno-color-diagnostics -Xclang -ast-dump -I"$include" \
        $(pkg-config --cflags libtirpc) - |
    awk '
      {
        line = $0
        decl = match(line, /^[|`]-(FunctionDecl|VarDecl) /) && line !~ / static /
        first = ""
        while (match(line, /[<, ][^<>, ]+:[0-9]+:[0-9]+/)) {
          loc = substr(line, RSTART + 1, RLENGTH - 1)
          sub(/:[0-9]+:[0-9]+$/, "", loc)
          if (loc != "line" && loc != "col") file = loc
          if (first == "") first = file
          line = substr(line, RSTART + RLENGTH)
        }
        if (decl && first ~ /\/tarnel\/[^\/]*$/) {
          n = split($0, w, " ")
          for (i = 3; i <= n; i++) if (w[i] ~ /^col:[0-9]+$/ || w[i] ~ /^line:[0-9]+:[0-9]+$/) { print w[i + 1]; break }
        }
      }' | grep -Ev '_svc$|_freeresult$' | sort -u >"$work/declared"

nm -D --defined-only "$lib/libtnapi.so.0" "$lib/libtde.so.0" |
    awk 'NF == 3 && $2 ~ /^[BDGRSTVWiu]$/ { print $3 }' | sort -u >"$work/exported"
tr ' ' '\n' <<<"$callbacks" | sort >"$work/callbacks"
nm -D --undefined-only "$lib/libtnapi.so.0" | awk '$1 == "U" { print $2 }' | sort -u >"$work/undefined"

status=0
if ! comm -23 "$work/declared" "$work/exported" | cmp -s - "$work/callbacks"; then
    echo "declared but not exported (other than the client's callbacks):"
    comm -23 "$work/declared" "$work/exported" | comm -23 - "$work/callbacks"
    echo "callbacks the objects define or the headers lost:"
    comm -3 <(comm -23 "$work/declared" "$work/exported") "$work/callbacks"
    status=1
fi
if [[ -n $(comm -13 "$work/declared" "$work/exported") ]]; then
    echo "exported but declared in no installed header:"
    comm -13 "$work/declared" "$work/exported"
    status=1
fi
if [[ -n $(comm -23 "$work/callbacks" "$work/undefined") ]]; then
    echo "callbacks libtnapi.so.0 does not leave to the client:"
    comm -23 "$work/callbacks" "$work/undefined"
    status=1
fi
echo "exports: $(wc -l <"$work/exported") symbols, $(wc -l <"$work/declared") declarations"
exit $status
