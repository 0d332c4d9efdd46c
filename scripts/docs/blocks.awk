# Turns one Markdown file into a bash script that does what the file tells a
# reader to do, in the file's order:
#   ```sh / ```bash            the commands run as written
#   ```LANG file=NAME          the listing is written to NAME (any language)
#   ```c / ```cpp (no file=)   the listing must compile (__listing, run.sh)
#   anything else              shown output, fragments of JSON or CMake: read only
# A block whose nearest non-blank line before it is
#   *Not run by the docs check: REASON*
# is skipped; the script reports it with its reason.
#   awk -v md=README.md -f blocks.awk README.md > README.md.sh

function flush_skip_note(line) {
    if (line ~ /^[ \t]*\*Not run by the docs check: .*\*[ \t]*$/) {
        note = line
        sub(/^[ \t]*\*Not run by the docs check: /, "", note)
        sub(/\*[ \t]*$/, "", note)
        return note
    }
    return ""
}

BEGIN { inblock = 0; last = "" }

!inblock && /^[ \t]*```/ {
    indent = match($0, /[^ \t]/) - 1
    info = substr($0, indent + 4)
    n = split(info, word, /[ \t]+/)
    lang = word[1]
    file = ""
    for (i = 2; i <= n; i++) if (word[i] ~ /^file=/) file = substr(word[i], 6)
    where = md ":" FNR
    reason = flush_skip_note(last)
    inblock = 1
    body = ""
    next
}

inblock && /^[ \t]*```[ \t]*$/ {
    inblock = 0
    last = ""
    emit()
    next
}

inblock {
    line = $0
    # Listings inside list items are indented with their item.
    if (indent > 0 && substr(line, 1, indent) ~ /^[ \t]*$/) line = substr(line, indent + 1)
    body = body line "\n"
    next
}

/[^ \t]/ { last = $0 }

function emit() {
    runs = (lang == "sh" || lang == "bash") && file == ""
    compiles = (lang == "c" || lang == "cpp") && file == ""
    if (!runs && !compiles && file == "") return
    if (reason != "") {
        printf("__skip %s %s\n", q(where), q(reason))
        return
    }
    printf("__block %s %s\n", q(where), q(lang (file != "" ? " -> " file : "")))
    if (runs) {
        printf("%s", body)
    } else {
        if (file != "") printf("cat > %s <<'__DOCS_EOF__'\n", q(file))
        else printf("__listing %s %s <<'__DOCS_EOF__'\n", lang, q(where))
        printf("%s__DOCS_EOF__\n", body)
    }
}

# Single-quoted for bash.
function q(s) {
    gsub(/'/, "'\\''", s)
    return "'" s "'"
}

END {
    if (inblock) {
        printf("blocks.awk: %s: a code block opened at %s is never closed\n", md, where) > "/dev/stderr"
        exit 1
    }
}
