#!/usr/bin/env bash
# The shared objects' ABI against the baseline kept in the tree.
#   abi.sh check|update BASELINE_DIR SOURCE_ROOT HEADER_DIRS LIBRARY...
# HEADER_DIRS (colon-separated) are the public headers: types defined
# elsewhere are private and left out. Each library's baseline is
# BASELINE_DIR/<name>.abi (libtnapi.abi for libtnapi.so.0), written by abidw
# with source paths made relative to SOURCE_ROOT.
#
# check fails when a library's ABI differs from its baseline in any way:
#   - an incompatible change (anything but an addition) under the same
#     soname must be undone, or the soname's major number raised
#     (TARNEL_SOVERSION) and the baseline recorded again;
#   - a compatible change (an addition) or a new soname needs the baseline
#     recorded in the same commit.
# update records the baselines, and refuses an incompatible change that
# kept its soname.
set -euo pipefail
if (($# < 5)) || [[ $1 != check && $1 != update ]]; then
    echo "usage: abi.sh check|update BASELINE_DIR SOURCE_ROOT HEADER_DIRS LIBRARY..." >&2
    exit 2
fi
mode=$1 baselines=$2 root=${3%/} header_dirs=$4
shift 4
headers=()
IFS=: read -r -a dirs <<<"$header_dirs"
for d in "${dirs[@]}"; do headers+=(--headers-dir "$d"); done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

soname() { grep -o -m1 "soname='[^']*'" "$1" | cut -d"'" -f2; }
# Incompatible: what abidiff calls so, and any change that is not an
# addition (a removed or changed function or variable, such as a struct
# that grew), which abidiff leaves to review.
incompatible() {
    (($1 & 8)) || grep -Eq 'summary: *([1-9][0-9]* Removed|[0-9]+ Removed[^,]*, *[1-9][0-9]* Changed)' "$2"
}
failed=0
for lib in "$@"; do
    name=$(basename "$lib")
    name=${name%%.so*}
    baseline=$baselines/$name.abi
    current=$work/$name.abi
    abidw "${headers[@]}" --drop-private-types --drop-undefined-syms --exported-interfaces-only \
        --no-corpus-path --no-comp-dir-path --no-show-locs --type-id-style hash "$lib" |
        sed "s|path='$root/|path='|" >"$current"
    if [[ ! -f $baseline ]]; then
        if [[ $mode == update ]]; then
            cp "$current" "$baseline" && echo "$name: baseline recorded ($(soname "$current"))"
        else
            echo "$name: no baseline $baseline; record one with abi.sh update" >&2
            failed=1
        fi
        continue
    fi
    rc=0
    abidiff --no-show-locs "$baseline" "$current" >"$work/$name.report" || rc=$?
    if ((rc & 3)); then
        cat "$work/$name.report" >&2
        echo "$name: abidiff failed (status $rc)" >&2
        failed=1
        continue
    fi
    old=$(soname "$baseline") new=$(soname "$current")
    if ((rc != 0)) && incompatible $rc "$work/$name.report" && [[ $old == "$new" ]]; then
        cat "$work/$name.report"
        echo "$name: INCOMPATIBLE change to the ABI of $new: undo it, or raise the soname's major number (TARNEL_SOVERSION) and record the baseline again" >&2
        failed=1
    elif ((rc == 0)); then
        echo "$name: ABI of $new as recorded"
    elif [[ $mode == update ]]; then
        cat "$work/$name.report"
        cp "$current" "$baseline"
        echo "$name: baseline recorded ($old -> $new)"
    else
        cat "$work/$name.report"
        if [[ $old != "$new" ]]; then
            echo "$name: new soname $new (baseline $old): record its baseline in the same commit (abi.sh update)" >&2
        else
            echo "$name: compatible change to $new: record the baseline in the same commit (abi.sh update)" >&2
        fi
        failed=1
    fi
done
exit $failed
