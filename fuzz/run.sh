#!/bin/sh
# Runs one fuzz target of a TARNEL_FUZZ build for a number of seconds.
#
#   fuzz/run.sh [--build DIR] [--smoke | --expect-crash] TARGET SECONDS [libFuzzer flags...]
#
# By default (a long run) the corpus is kept in DIR/fuzz/corpus/TARGET,
# started from the generated seeds and grown run after run, and a crash is
# saved in DIR/fuzz/artifacts/. --smoke fuzzes a fresh copy of the seeds from
# a fixed seed, as the CTest smoke tests do. --expect-crash succeeds only when
# the target stops with a sanitizer or libFuzzer crash report within the time
# (the test that proves the harness can fail). DIR defaults to build-fuzz.
set -eu

build=build-fuzz
mode=long
while [ $# -gt 0 ]; do
    case $1 in
    --build) build=$2; shift 2 ;;
    --smoke) mode=smoke; shift ;;
    --expect-crash) mode=crash; shift ;;
    *) break ;;
    esac
done
if [ $# -lt 2 ]; then
    sed -n '2,12s/^# \{0,1\}//p' "$0" >&2
    exit 2
fi
target=$1 seconds=$2
shift 2

bin=$build/fuzz/$target
seeds=$build/fuzz/corpus/$target-seeds
artifacts=$build/fuzz/artifacts
[ -x "$bin" ] || { echo "run.sh: no $bin (configure with -DTARNEL_FUZZ=ON and build it)" >&2; exit 2; }
[ -d "$seeds" ] || { echo "run.sh: no seeds in $seeds (build the target ${target}_seeds)" >&2; exit 2; }
mkdir -p "$artifacts"

# Leak checks at every input; a hang of 10 s is a fault.
common="-timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix=$artifacts/$target-"

case $mode in
long)
    corpus=$build/fuzz/corpus/$target
    mkdir -p "$corpus"
    exec "$bin" $common -max_total_time="$seconds" "$@" "$corpus" "$seeds"
    ;;
smoke)
    corpus=$(mktemp -d)
    trap 'rm -rf "$corpus"' EXIT
    cp "$seeds"/* "$corpus"/ 2>/dev/null || true
    "$bin" $common -seed=1 -max_total_time="$seconds" "$@" "$corpus"
    ;;
crash)
    corpus=$(mktemp -d)
    log=$(mktemp)
    trap 'rm -rf "$corpus" "$log"' EXIT
    cp "$seeds"/* "$corpus"/ 2>/dev/null || true
    status=0
    "$bin" $common -seed=1 -max_total_time="$seconds" "$@" "$corpus" >"$log" 2>&1 || status=$?
    tail -n 40 "$log"
    if [ "$status" -ne 0 ] && grep -q -e '^==[0-9]*==ERROR: ' -e 'deadly signal' "$log"; then
        echo "run.sh: $target crashed as expected (exit $status)"
    else
        echo "run.sh: $target found no crash in ${seconds}s (exit $status)" >&2
        exit 1
    fi
    ;;
esac
