#!/usr/bin/env bash
# Uses the library as a client programmer would, from outside the tree:
# installs the build into a temporary prefix (or takes the Debian packages
# installed in /usr), checks that the shared objects export exactly the
# headers' declarations, then builds and runs every example, linked with the
# shared objects and with the archives, three ways: find_package against
# the installed package, a plain compiler line from pkg-config, and (from a
# build) add_subdirectory of this source tree from a parent project. Each
# example runs under the installed tnhost.
#   run.sh SOURCE_DIR BUILD_DIR WORK_DIR
#   run.sh SOURCE_DIR --packages WORK_DIR
set -euo pipefail
src=$1 build=$2 work=$3
rm -rf "$work" && mkdir -p "$work"
jobs=$(nproc)
step() { echo "== $*"; }
# linked shared|static PROGRAM: the program uses the library the way asked.
linked() {
    if readelf -d "$2" | grep -q 'NEEDED.*libtnapi\.so\.0'; then local is=shared; else local is=static; fi
    [[ $is == "$1" ]] || { echo "$2 is linked $is, not $1" >&2; exit 1; }
}
# cmake_shared KIND: BUILD_SHARED_LIBS for linking that way.
cmake_shared() { if [[ $1 == shared ]]; then echo ON; else echo OFF; fi; }
# under_tnhost EXAMPLE PROGRAM: runs the program with the example's scenario.
under_tnhost() {
    tnhost --scenario "$src/examples/$1.json" --var "client=$2" >"$2.log" ||
        { cat "$2.log"; echo "$2 failed under tnhost" >&2; exit 1; }
    echo "$(basename "$2"): ok"
}

if [[ $build == --packages ]]; then
    prefix=/usr
else
    step install
    prefix=$work/prefix
    cmake --install "$build" --prefix "$prefix" >/dev/null
    export PKG_CONFIG_PATH=$prefix/lib/pkgconfig PATH=$prefix/bin:$PATH
fi
[[ $(command -v tnhost) == "$prefix/bin/tnhost" ]] || { echo "no tnhost in $prefix/bin" >&2; exit 1; }

if command -v clang >/dev/null; then
    step "exports: the shared objects against the headers"
    bash "$src/tests/consumer/exports.sh" "$(pkg-config --variable=includedir tarnel)" \
        "$(pkg-config --variable=libdir tarnel)"
fi

for kind in static shared; do
    step "find_package ($kind): configure, build and test the examples out of tree"
    cmake -S "$src/examples" -B "$work/find_package_$kind" -DCMAKE_PREFIX_PATH="$prefix" \
        -DBUILD_SHARED_LIBS="$(cmake_shared $kind)" >/dev/null
    cmake --build "$work/find_package_$kind" -j"$jobs" >/dev/null
    linked $kind "$work/find_package_$kind/alert_client"
    ctest --test-dir "$work/find_package_$kind" --output-on-failure
done

step "pkg-config: a plain compiler line per C example, tarnel (shared) and tarnel-static"
mkdir -p "$work/pkg-config"
for module in tarnel tarnel-static; do
    read -r -a flags <<<"$(pkg-config --cflags --libs $module)"
    kind=shared && [[ $module == tarnel-static ]] && kind=static
    for c in "$src"/examples/*.c; do
        name=$(basename "$c" .c)
        program=$work/pkg-config/${name}_$kind
        cc -std=c99 -Wall -Werror "$c" "${flags[@]}" -o "$program"
        linked $kind "$program"
        under_tnhost "$name" "$program"
    done
done

step "an internal helper's name is the client's to use"
read -r -a flags <<<"$(pkg-config --cflags --libs tarnel)"
cc -std=c99 -Wall -Werror "$src/examples/alert_client.c" "$src/tests/consumer/hookup.c" "${flags[@]}" \
    -o "$work/pkg-config/hookup_client"
under_tnhost alert_client "$work/pkg-config/hookup_client"

[[ $build == --packages ]] && { echo "consumer: OK"; exit 0; }
for kind in static shared; do
    step "add_subdirectory ($kind): a parent project embeds the source tree"
    cmake -S "$src/tests/consumer/parent" -B "$work/parent_$kind" -DTARNEL_SOURCE_DIR="$src" \
        -DTARNEL_TNHOST="$(command -v tnhost)" -DBUILD_SHARED_LIBS="$(cmake_shared $kind)" >/dev/null
    cmake --build "$work/parent_$kind" -j"$jobs" >/dev/null
    linked $kind "$work/parent_$kind/examples/alert_client"
    ctest --test-dir "$work/parent_$kind" --output-on-failure
done
echo "consumer: OK"
