#!/usr/bin/env bash
# The sample client end to end, in one command:
#
#   bash scripts/demo.sh [DOCUMENT.json [ALERT_TEXT]]
#
# The simulated host launches alert_client with initialisation code 1: the
# client asks for notification 2 and ends. The host keeps that request,
# opens the document (default host/samples/sample.json; the format is in
# host/README.md), launches the client again and sends notification 2 for
# the document; the client finds the object named "Alert" and the host shows
# its message; the scenario checks that it is ALERT_TEXT (for the sample
# document its own alert; for another document only when given). Prints the
# host's transcript, then the alert.
#
# On a fresh Debian machine, as root: installs what is missing and starts
# rpcbind (scripts/setup.sh), builds tnhost and alert_client (the release
# preset, in build-release/). With TARNEL_DEMO_TNHOST and TARNEL_DEMO_CLIENT naming built
# programs it uses those instead, without set-up or build.
# Exit status: 0 when the run went as scripted and an alert was shown.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
document=${1:-$root/host/samples/sample.json}
alert=${2-}
if [[ -z ${1:-} && -z $alert ]]; then
    alert="Hello from the sample document."
fi
if [[ ! -f $document || ! -r $document ]]; then
    echo "demo: cannot read the document file $document" >&2
    exit 2
fi
document=$(realpath "$document")

if [[ -n ${TARNEL_DEMO_TNHOST:-} && -n ${TARNEL_DEMO_CLIENT:-} ]]; then
    tnhost=$TARNEL_DEMO_TNHOST
    client=$TARNEL_DEMO_CLIENT
else
    setup_for=demo
    source "$root/scripts/setup.sh"
    build=$root/build-release
    log=$(mktemp /tmp/tarnel-demo-build.XXXXXX)
    echo "== building tnhost and alert_client (Release) in $build, a few minutes =="
    if ! (cd "$root" && cmake --preset release &&
          cmake --build --preset release -j"$(nproc)" --target tnhost alert_client) >"$log" 2>&1; then
        tail -n 30 "$log" >&2
        echo "demo: the build failed (whole log: $log)" >&2
        exit 1
    fi
    rm -f "$log"
    tnhost=$build/host/tnhost
    client=$build/examples/alert_client
fi

transcript=$(mktemp)
errors=$(mktemp)
trap 'rm -f "$transcript" "$errors"' EXIT
# Without an expected text the scenario's check of it (one line) is left out.
scenario=(--scenario "$root/demo/alert_demo.json")
if [[ -z $alert ]]; then
    scenario=(--json "$(grep -vF '${alert}' "$root/demo/alert_demo.json")")
fi
echo "== running demo/alert_demo.json on $document =="
set +e
"$tnhost" "${scenario[@]}" --var client="$client" --var document="$document" \
    --var alert="$alert" 2>"$errors" | tee "$transcript"
status=${PIPESTATUS[0]}
set -e

echo
if ((status != 0)); then
    # The host's own words: its fail lines and what it said on stderr.
    echo "demo: FAILED: the host ended with status $status:" >&2
    cat "$errors" >&2
    if grep -q 'no request 1008 of second' "$errors"; then
        echo "demo: no alert was shown: the document needs integer property 110 = 1 and, in the" \
             "chain from its property 116 along property 1051, an object whose string property" \
             "20 is \"Alert\" (see host/samples/sample.json)" >&2
    fi
    exit 1
fi
# The transcript quotes the text: \" and \\ stand for " and \, \n and \xHH
# for control bytes.
line='^alert client=second type=[0-9-]+ text="(.*)"$'
while IFS= read -r l; do
    if [[ $l =~ $line ]]; then
        text=${BASH_REMATCH[1]}
        printf 'ALERT: %b\n' "${text//\\\"/\"}"
    fi
done <"$transcript"
echo "demo: OK"
