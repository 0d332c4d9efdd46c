#!/usr/bin/env bash
# Uses the library as a client programmer would, from outside the tree:
# installs the build into a temporary prefix, then builds and runs every
# example three ways: find_package against the installed package, a plain
# compiler line from pkg-config, and add_subdirectory of this source tree
# from a parent project. Each example runs under the installed tnhost.
#   run.sh SOURCE_DIR BUILD_DIR WORK_DIR
set -euo pipefail
src=$1 build=$2 work=$3
rm -rf "$work" && mkdir -p "$work"
prefix=$work/prefix
jobs=$(nproc)
step() { echo "== $*"; }

step install
cmake --install "$build" --prefix "$prefix" >/dev/null
tnhost=$prefix/bin/tnhost
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig

step "find_package: configure, build and test the examples out of tree"
cmake -S "$src/examples" -B "$work/find_package" -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/find_package" -j"$jobs" >/dev/null
ctest --test-dir "$work/find_package" --output-on-failure

step "pkg-config: a plain compiler line per C example"
mkdir -p "$work/pkg-config"
read -r -a flags <<<"$(pkg-config --cflags --libs tarnel)"
for c in "$src"/examples/*.c; do
    name=$(basename "$c" .c)
    cc -std=c99 -Wall -Werror "$c" "${flags[@]}" -o "$work/pkg-config/$name"
    "$tnhost" --scenario "$src/examples/$name.json" \
        --var "client=$work/pkg-config/$name" >"$work/pkg-config/$name.log" ||
        { cat "$work/pkg-config/$name.log"; echo "pkg-config: $name failed under tnhost" >&2; exit 1; }
    echo "$name: ok"
done

step "add_subdirectory: a parent project embeds the source tree"
cmake -S "$src/tests/consumer/parent" -B "$work/parent" -DTARNEL_SOURCE_DIR="$src" \
    -DTARNEL_TNHOST="$tnhost" >/dev/null
cmake --build "$work/parent" -j"$jobs" >/dev/null
ctest --test-dir "$work/parent" --output-on-failure
echo "consumer: OK"
