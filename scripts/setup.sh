#!/usr/bin/env bash
# Installs the packages the project needs (Debian, as root) and makes sure
# the portmapper runs. Sourced by the other scripts; safe to run repeatedly.
# A script that needs more (the test run: clang, doxygen, valgrind) names
# them in the array extra_packages before sourcing this one.
packages=(g++ cmake make pkg-config libtirpc-dev rpcsvc-proto rpcbind
          libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
          ${extra_packages[@]+"${extra_packages[@]}"})
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
