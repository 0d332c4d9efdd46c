#!/usr/bin/env bash
# The end-to-end suite (labels session and client, not the slow ones) with
# every client the simulated host launches run under valgrind's memcheck.
# Fails on a failed test, on any memory error and on any definite leak.
#   bash scripts/memcheck.sh [BUILD_DIR]     (default build/, already built)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
export TARNEL_CLIENT_WRAPPER="valgrind -q --error-exitcode=99 --leak-check=full
  --show-leak-kinds=definite --errors-for-leak-kinds=definite --log-file=$logs/%p.log"
status=0
ctest --test-dir "$build" -L 'session|client' -LE slow --output-on-failure -j"$(nproc)" || status=1
for log in "$logs"/*.log; do
    if [ -s "$log" ]; then
        echo "== memcheck: $log ==" && cat "$log"
        status=1
    fi
done
echo "memcheck: $([ $status = 0 ] && echo OK || echo FAILED)"
exit $status
