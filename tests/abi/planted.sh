#!/usr/bin/env bash
# scripts/abi.sh on a small library of four versions: the same ABI passes; an
# added function fails until the baseline is recorded; a field planted in a
# public struct under the same soname fails and cannot be recorded; with the
# soname's major number raised it is recorded and then passes.
#   planted.sh SOURCE_DIR
set -euo pipefail
abi=$1/scripts/abi.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
mkdir -p include baselines

# build SONAME_MAJOR EXTRA_FIELD EXTRA_FUNCTION
build() {
    cat >include/shape.h <<H
struct shape { int width; $2 int height; };
int shape_area(const struct shape *s);
$([[ -n $3 ]] && echo "int shape_perimeter(const struct shape *s);")
H
    cat >shape.c <<C
#include "shape.h"
int shape_area(const struct shape *s) { return s->width * s->height; }
$([[ -n $3 ]] && echo "int shape_perimeter(const struct shape *s) { return 2 * (s->width + s->height); }")
C
    cc -g -fPIC -shared -Iinclude -Wl,-soname,libshape.so.$1 shape.c -o libshape.so.$1
    lib=$work/libshape.so.$1
}
# expect PASS|FAIL MODE: runs abi.sh and checks its verdict.
expect() {
    local rc=0
    bash "$abi" "$2" baselines "$work" include "$lib" >"$work/out" 2>&1 || rc=$?
    if [[ $1 == PASS && $rc != 0 || $1 == FAIL && $rc == 0 ]]; then
        cat "$work/out"
        echo "planted: abi.sh $2 should $1 at: $step" >&2
        exit 1
    fi
    local verdict=passes && [[ $1 == FAIL ]] && verdict=fails
    echo "$step: $2 $verdict"
}

step="first version"; build 0 "" ""
expect PASS update
expect PASS check
step="a function added"; build 0 "" yes
expect FAIL check
expect PASS update
expect PASS check
step="a field planted, same soname"; build 0 "int depth;" yes
expect FAIL check
expect FAIL update
grep -q "INCOMPATIBLE" "$work/out"
step="a field planted, soname raised"; build 1 "int depth;" yes
expect FAIL check
expect PASS update
expect PASS check
echo "planted: OK"
