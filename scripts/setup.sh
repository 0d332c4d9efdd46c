#!/usr/bin/env bash
# Installs the packages the README's commands need (Debian, as root) and
# makes sure the portmapper runs. Sourced by the other scripts; safe to run
# repeatedly. The demo, which only builds the host and one client, sets
# setup_for=demo first and gets the build's packages alone.
packages=(g++ cmake make pkg-config libtirpc-dev rpcsvc-proto rpcbind nlohmann-json3-dev)
if [[ ${setup_for-} != demo ]]; then
    # tests, benchmarks, the sanitizer build, the reference, valgrind, the
    # security tests' network namespaces, git for the docs check's copy, the
    # ABI check, and the Debian packages (cpack runs dpkg-shlibdeps and file)
    # with their lint
    packages+=(libgtest-dev libgmock-dev libbenchmark-dev clang libclang-rt-14-dev doxygen
               valgrind iproute2 git abigail-tools dpkg-dev file lintian)
fi
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
if ! rpcinfo -p 127.0.0.1 >/dev/null 2>&1; then
    echo "starting rpcbind"
    rpcbind -w 2>/dev/null || rpcbind
    for _ in $(seq 50); do rpcinfo -p 127.0.0.1 >/dev/null 2>&1 && break; sleep 0.1; done
fi
