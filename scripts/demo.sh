#!/usr/bin/env bash
# The sample client end to end, in one command:
#
#   bash scripts/demo.sh [DOCUMENT.json]
#
# The simulated host launches alert_client with initialisation code 1: the
# client asks for notification 2 and ends. The host keeps that request,
# opens the document (default host/samples/sample.json; the format is in
# host/README.md), launches the client again and sends notification 2 for
# the document; the client finds the object named "Alert" and the host shows
# its message. Prints the host's transcript, then the alert.
#
# On a fresh Debian machine, as root: installs what is missing and starts
# rpcbind (scripts/setup.sh), builds tnhost and alert_client (Release, in
# build-demo/). With TARNEL_DEMO_TNHOST and TARNEL_DEMO_CLIENT naming built
# programs it uses those instead, without set-up or build.
# Exit status: 0 when the run went as scripted and an alert was shown.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
document=${1:-$root/host/samples/sample.json}
if [[ ! -f $document || ! -r $document ]]; then
    echo "demo: cannot read the document file $document" >&2
    exit 2
fi
document=$(realpath "$document")

if [[ -n ${TARNEL_DEMO_TNHOST:-} && -n ${TARNEL_DEMO_CLIENT:-} ]]; then
    tnhost=$TARNEL_DEMO_TNHOST
    client=$TARNEL_DEMO_CLIENT
else
    source "$root/scripts/setup.sh"
    build=$root/build-demo
    log=$build/demo-build.log
    mkdir -p "$build"
    echo "== building tnhost and alert_client (Release) in $build, a few minutes =="
    if ! { cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DTARNEL_TESTS=OFF \
               -DTARNEL_BENCH=OFF &&
           cmake --build "$build" -j"$(nproc)" --target tnhost alert_client; } >"$log" 2>&1; then
        tail -n 30 "$log" >&2
        echo "demo: the build failed (whole log: $log)" >&2
        exit 1
    fi
    tnhost=$build/host/tnhost
    client=$build/examples/alert_client
fi

transcript=$(mktemp)
trap 'rm -f "$transcript"' EXIT
echo "== running demo/alert_demo.json on $document =="
set +e
"$tnhost" --scenario "$root/demo/alert_demo.json" --var client="$client" \
    --var document="$document" | tee "$transcript"
status=${PIPESTATUS[0]}
set -e

# The transcript quotes the text: \" and \\ stand for " and \, \n and \xHH
# for control bytes.
echo
shown=0
while IFS= read -r text; do
    printf 'ALERT: %b\n' "${text//\\\"/\"}"
    shown=1
done < <(sed -n 's/^alert client=[^ ]* type=[0-9-]* text="\(.*\)"$/\1/p' "$transcript")

if ((!shown)); then
    echo "demo: no alert was shown: the document needs integer property 110 = 1 and, in the" \
         "chain from its property 116 along property 1051, an object whose string property" \
         "20 is \"Alert\" (see host/samples/sample.json)" >&2
fi
if ((status != 0)); then
    echo "demo: FAILED: the host ended with status $status (see the fail lines above)" >&2
    exit 1
fi
echo "demo: OK"
