#!/usr/bin/env bash
# The docs as a test: does what README.md and docs/*.md tell a reader to do,
# block by block and in order, in a fresh copy of the tree, and fails at the
# first block that fails. Shell blocks run as written (each file in one shell,
# starting at the tree's root, with HOME in a scratch folder); a listing with
# file=NAME is written to NAME; every other C and C++ listing must compile.
# Blocks marked "*Not run by the docs check: REASON*" are listed, not run.
#   bash scripts/docs/run.sh [FILE.md...]      (default: README.md docs/*.md)
# The copy holds the tracked and the new files of this checkout as they are
# now, so it is what a clone of them would be, edits included.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/../.." && pwd)
cd "$root"
(($#)) || set -- README.md docs/*.md

work=$(mktemp -d /tmp/tarnel-docs.XXXXXX)
tree=$work/tarnel
mkdir -p "$tree" "$work/home" "$work/scripts"
git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' f; do [[ -e $f ]] && printf '%s\0' "$f"; done |
    tar -c --null -T - | tar -x -C "$tree"
echo "docs check: fresh copy of $(git rev-parse --short HEAD)$(git diff --quiet HEAD || echo ' with local edits') in $tree"

# The generated public headers (protocol records, version), for compiling
# listings before any block has built the tree: a configure and rpcgen only.
headers=$work/headers
cmake -S "$tree" -B "$headers" -DTARNEL_HOST=OFF -DTARNEL_EXAMPLES=OFF -DTARNEL_TESTS=OFF \
    -DTARNEL_BENCH=OFF -DTARNEL_DOCS=OFF -DTARNEL_INSTALL=OFF >/dev/null
cmake --build "$headers" --target tnapi_wire_gen >/dev/null

# Helpers every generated script starts with.
cat > "$work/prelude.sh" <<'EOF'
set -eo pipefail
__block() { __where=$1; printf '\n==== %s (%s) ====\n' "$1" "$2"; }
__skip() { printf '\n==== %s skipped: %s ====\n' "$1" "$2"; printf '%s: %s\n' "$1" "$2" >> "$__skipped"; }
trap 'printf "\ndocs check: FAILED in the block at %s\n" "$__where" >&2' ERR
# A listing compiles either as a file of its own or as a function body, over
# the frame of names the guide's fragments use (scripts/docs/frame.h).
__listing() {
    local lang=$1 where=$2 src flags out
    src=$(mktemp -p "$__work" "listing.XXXXXX.$lang")
    { printf '#include "%s"\n#line 1 "%s"\n' "$__frame" "$where"; cat; } > "$src"
    if [[ $lang == c ]]; then flags=(cc -std=c11); else flags=(c++ -std=c++20); fi
    flags+=(-fsyntax-only -Wall -Wextra -Werror -Wno-unused -I "$__tree/include" -I "$__headers/include"
            $(pkg-config --cflags libtirpc))
    if out=$("${flags[@]}" -x "${lang/cpp/c++}" "$src" 2>&1); then echo "compiles as a file"; return 0; fi
    { printf '#include "%s"\nvoid docs_fragment(void) {\n#line 1 "%s"\n' "$__frame" "$where"; tail -n +3 "$src"; echo '}'; } > "$src.body"
    if "${flags[@]}" -x "${lang/cpp/c++}" "$src.body"; then echo "compiles as a function body"; return 0; fi
    printf '%s\n(above: as a function body; as a file:)\n%s\n' "$where" "$out" >&2
    return 1
}
EOF

skipped=$work/skipped
: > "$skipped"
for md in "$@"; do
    script=$work/scripts/$(echo "$md" | tr / _).sh
    {
        printf '__work=%q; __tree=%q; __headers=%q; __frame=%q; __skipped=%q\n' "$work" "$tree" "$headers" "$tree/scripts/docs/frame.h" "$skipped"
        cat "$work/prelude.sh"
        awk -v md="$md" -f "$here/blocks.awk" "$tree/$md"
    } > "$script"
    printf '\n======== %s ========\n' "$md"
    (cd "$tree" && HOME=$work/home bash "$script")
done

echo
if [[ -s $skipped ]]; then
    echo "docs check: blocks not run, and why:"
    sed 's/^/  /' "$skipped"
fi
echo "docs check: every other block of $* ran as written"
rm -rf "$work"
