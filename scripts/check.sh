#!/usr/bin/env bash
# The whole test run on a fresh Debian machine: install what is missing and
# start rpcbind, then do what README.md and docs/*.md tell a reader to do,
# block by block in a fresh copy of the tree (scripts/docs/run.sh). Those
# blocks are the test suite's builds: the developers' preset with every test
# and the clients under valgrind, every target in Release, clang with the
# sanitizers and the fuzz smoke runs, the install recipe, the benchmarks and
# the guide's own client.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh
SECONDS=0
bash scripts/docs/run.sh
echo "== all done: ${SECONDS}s =="
