#!/usr/bin/env bash
# The whole test run on a fresh Debian machine: install what is missing,
# start rpcbind, then build and test twice: with g++ (plain; then the
# end-to-end clients again under valgrind), and with clang under
# AddressSanitizer + UndefinedBehaviorSanitizer, where the fuzz targets build
# and take their smoke runs.
set -euo pipefail
cd "$(dirname "$0")/.."
extra_packages=(clang libclang-rt-14-dev doxygen valgrind iproute2)
source scripts/setup.sh

jobs=$(nproc)
run_suite() {
    local dir=$1; shift
    cmake -S . -B "$dir" -G "Unix Makefiles" "$@" >/dev/null
    cmake --build "$dir" -j"$jobs"
    (cd "$dir" && ctest --output-on-failure -j"$jobs" --timeout 900)
}

SECONDS=0
echo "== g++ build =="
CC=gcc CXX=g++ run_suite build -DCMAKE_BUILD_TYPE=RelWithDebInfo
echo "== g++ build: ${SECONDS}s =="
bash scripts/memcheck.sh build   # the end-to-end clients under valgrind
echo "== clang build with ASan + UBSan, fuzz targets =="
ASAN_OPTIONS=detect_leaks=1:abort_on_error=0 UBSAN_OPTIONS=print_stacktrace=1 \
    CC=clang CXX=clang++ run_suite build-asan -DCMAKE_BUILD_TYPE=Debug -DTARNEL_SANITIZE=ON \
    -DTARNEL_BENCH=OFF -DTARNEL_FUZZ=ON
echo "== all done: ${SECONDS}s =="
