# Reads api_to_tn.x and writes (to the file named by -v out=...) a C++ unit
# defining the procedure table and the record catalogue declared in
# proctable.h. Only the forms the .x uses are understood: structs with one
# "TYPE [*]NAME;" field a line, and procedures "RESULT NAME(ARG) = NUMBER;"
# whose RESULT and ARG are one identifier each. Anything else inside a struct
# or the version block stops the build, so the table can never silently miss
# a procedure or misplace a status.
#
# With -v fields=FILE it also writes every record's fields by name, type and
# offset, so that the trace and tnhost show and match requests by the field
# names written here, and each procedure's stub name and record types as
# data alone (the procedure table's routines would link every stub and
# routine into a client that only shows requests).
#
# A reply's status is its field "int status;" when that is the record's first
# or last field, or the whole reply when the result is a bare int.
#
# With -v requests=FILE, and the library's C++ sources named after the .x, it
# writes the request table of the reference (Markdown): for every procedure
# the functions that send it, read from the sources rather than written down,
# so that the table follows the code. A function sends a procedure when its
# body names the procedure's stub, or calls a T_Api function that does (as
# T_ApiFileScrollBox calls oldT_ApiChooseFile). Definitions are recognised by
# their layout (clang-format's): they start in column 0 and end with a "}" in
# column 0 or on their first line.
#
# With -v forms_doc=FILE, and tnapi.hpp among the sources, it writes the C++
# forms as the reference shows them: a declaration per form of tnapi.hpp's
# table with the C definition's parameter names, the directions derived as
# below and the result its kind gives.
#
# With -v sent_header=FILE (and the sources, as for requests) it writes the public
# header tarnel/tnapi_sent.h: for every request function the number of
# fields of the argument record it sends. The C++ forms take a function's
# parameters up to that count as what is sent and any pointer parameter
# after it as an output, so the directions follow the protocol.

function fail(msg) {
    printf("gen_tables.awk: %s:%d: %s\n", FILENAME, FNR, msg) > "/dev/stderr"
    failed = 1
    exit 1
}

function xdrproc(t) {
    return "as_xdrproc(&xdr_" t ")"
}

function size_of(t) {
    return t == "void" ? "0" : "sizeof(" t ")"
}

# The status columns of a procedure whose result is t.
function status_of(t) {
    if (t == "int") return "StatusPlace::first, 0"
    if (t in status_first) return "StatusPlace::first, offsetof(" t ", status)"
    if (t in status_last) return "StatusPlace::last, offsetof(" t ", status)"
    return "StatusPlace::none, 0"
}

# ---- The request table ----------------------------------------------------

function add_once(list, item) {
    return (index(" " list " ", " " item " ") > 0) ? list : (list == "" ? item : list " " item)
}

# One line of a C++ source: notes where function definitions start and end,
# and which stubs and functions each body names.
function scan_source(l,    head, name, id, p, rt) {
    sub(/\/\/.*/, "", l)
    if (l ~ /^[A-Za-z_]/ && l !~ /^(namespace|extern|using|struct|class|enum|typedef)[ \t{]/ && index(l, "(") > 0 &&
        l !~ /;[ \t]*$/) {
        head = substr(l, 1, index(l, "(") - 1)
        if (match(head, /[A-Za-z_][A-Za-z0-9_]*[ \t]*$/)) {
            name = substr(head, RSTART, RLENGTH)
            rt = substr(head, 1, RSTART - 1)
            gsub(/[ \t]/, "", name)
            fn = name
            if (!(fn in defined)) {
                defined[fn] = FILENAME; fnames[++nfn] = fn; params_open = fn; ptext[fn] = ""; ret_type[fn] = trim(rt)
            }
            l = substr(l, index(l, "(") + 1)
        }
    } else if (l ~ /^}/) {
        fn = ""
        return
    }
    if (fn == "") return
    if (params_open == fn) {
        p = index(l, ")")
        ptext[fn] = ptext[fn] " " (p > 0 ? substr(l, 1, p - 1) : l)
        if (p > 0) params_open = ""
    }
    while (match(l, /[A-Za-z_][A-Za-z0-9_]*/)) {
        id = substr(l, RSTART, RLENGTH)
        l = substr(l, RSTART + RLENGTH)
        if (id in stub_proc) names_stub[fn] = add_once(names_stub[fn], id)
        else if (l ~ /^[ \t]*\(/ && id != fn) calls[fn] = add_once(calls[fn], id)
    }
}

# The stubs a function sends: its own, and those of the T_Api functions it
# calls (depth-bounded against recursion).
function stubs_of(f, depth,    list, n, c, i) {
    list = names_stub[f]
    if (depth > 8) return list
    n = split(calls[f], c, " ")
    for (i = 1; i <= n; i++)
        if (c[i] ~ /T_Api/ && (c[i] in defined)) list = list " " stubs_of(c[i], depth + 1)
    return list
}

# "Name (field, field)" of a record, or the bare type.
function record_cell(t,    i, j, s) {
    if (t == "void") return "nothing"
    for (i = 1; i <= nrec; i++)
        if (rec[i] == t) {
            s = ""
            for (j = 1; j <= nfields[i]; j++) s = s (j > 1 ? ", " : "") fname[i, j]
            return "`" t "` (" s ")"
        }
    return "`" t "`"
}

function write_requests(    i, j, k, n, m, f, st, list, row, nrow, key, tmp, senders, callers, c, seen) {
    # Rows: (procedure, function), in procedure then function order.
    nrow = 0
    for (i = 1; i <= nfn; i++) {
        f = fnames[i]
        if (f !~ /T_Api/) continue
        n = split(stubs_of(f, 0), list, " ")
        delete seen
        for (j = 1; j <= n; j++) {
            if (list[j] == "" || (list[j] in seen)) continue
            seen[list[j]] = 1
            sent[list[j]] = 1
            row[++nrow] = sprintf("%06d %s", pnum[stub_proc[list[j]]], f)
        }
    }
    # Procedures no request function sends: who in the library does.
    for (i = 1; i <= nproc; i++) {
        if (stub[i] in sent) continue
        senders = ""
        for (k = 1; k <= nfn; k++) {
            f = fnames[k]
            if (index(" " names_stub[f] " ", " " stub[i] " ") == 0) continue
            callers = ""
            for (m = 1; m <= nfn; m++)
                if (fnames[m] ~ /^T_Api/ && index(" " calls[fnames[m]] " ", " " f " ") > 0)
                    callers = callers (callers == "" ? "" : ", ") fnames[m] "()"
            senders = senders (senders == "" ? "" : "; ") "`" f "`" (callers == "" ? "" : ", from " callers)
        }
        row[++nrow] = sprintf("%06d (none%s)", pnum[i], senders == "" ? "" : ": the library sends it in " senders)
    }
    for (i = 2; i <= nrow; i++) {
        tmp = row[i]
        for (j = i - 1; j >= 1 && row[j] > tmp; j--) row[j + 1] = row[j]
        row[j + 1] = tmp
    }

    print "# Request table {#request_table}" > requests
    print "" > requests
    print "Which procedure of the host's API program each request function sends, and" > requests
    print "the records it travels in. Generated by the build from the protocol" > requests
    print "description `apilib/wire/api_to_tn.x` and the library's sources; installed" > requests
    print "as `share/doc/Tarnel/requests.md`." > requests
    print "" > requests
    print "- *Stub*: the name of the procedure's call stub in `tarnel/api_to_tn.h`, and" > requests
    print "  the name tnhost's transcript shows (`request ... proc=1008 stub=api_tn_alert_1`)." > requests
    print "- *Argument*, *Reply*: the record and its fields. The field names are those" > requests
    print "  a tnhost scenario's `wait_request` and `expect_request` match in `args`;" > requests
    print "  an argument that is one `int` or `StringT` is matched as that value. A" > requests
    print "  reply that is a bare `int` is the status or the plain result, as the" > requests
    print "  function's result kind says." > requests
    print "- A function that sends two procedures has a row for each; a procedure that" > requests
    print "  no request function sends says (none), and which library function sends it." > requests
    print "" > requests
    print "| Procedure | Stub | Function | Argument | Reply |" > requests
    print "|---|---|---|---|---|" > requests
    for (i = 1; i <= nrow; i++) {
        key = substr(row[i], 1, 6) + 0
        f = substr(row[i], 8)
        for (k = 1; k <= nproc; k++) if (pnum[k] + 0 == key) break
        printf("| %d | `%s` | %s | %s | %s |\n", key, stub[k], f ~ /^\(none/ ? f : f "()", record_cell(parg[k]), \
               record_cell(pres[k])) > requests
    }
}

# The number of fields a procedure's argument carries: a record's fields, one
# for a bare type, none for void.
function arg_fields(t,    i) {
    if (t == "void") return 0
    for (i = 1; i <= nrec; i++) if (rec[i] == t) return nfields[i]
    return 1
}

# How many leading parameters function f sends: the fields of the argument
# of the first procedure it sends; -1 when it sends none.
function sent_of(f,    n, list, k) {
    n = split(stubs_of(f, 0), list, " ")
    for (k = 1; k <= n && list[k] == ""; k++) {}
    return k > n ? -1 : arg_fields(parg[stub_proc[list[k]]])
}

function write_sent(    i, f) {
    print "/* Generated by gen_tables.awk from api_to_tn.x: do not edit. */" > sent_header
    print "/** @file" > sent_header
    print " * How many leading parameters of each request function the host is sent" > sent_header
    print " * (the fields of its procedure's argument record); a pointer parameter" > sent_header
    print " * after them is an output. tnapi.hpp derives its C++ forms from it. */" > sent_header
    print "#ifndef TARNEL_TNAPI_SENT_H" > sent_header
    print "#define TARNEL_TNAPI_SENT_H" > sent_header
    print "/** X(function, number of parameters sent), one row per request function" > sent_header
    print " * that sends a procedure; of a function sending several, the first. */" > sent_header
    print "#define TARNEL_SENT_PARAMETERS(X) \\" > sent_header
    for (i = 1; i <= nfn; i++) {
        f = fnames[i]
        if (f ~ /^(old)?T_/ && sent_of(f) >= 0) printf("    X(%s, %d) \\\n", f, sent_of(f)) > sent_header
    }
    print "" > sent_header
    print "#endif" > sent_header
}

# tnapi.hpp: the kind of each C++ form (TARNEL_REQUESTS: S, V, A) and the
# owner of each C type (TARNEL_OWNERS).
function scan_cpp(l,    t) {
    if (l ~ /^#define TARNEL_REQUESTS\(/) { cpp_block = "requests"; return }
    if (l ~ /^#define TARNEL_OWNERS\(/) { cpp_block = "owners"; return }
    if (cpp_block == "requests")
        while (match(l, /[SVA]\([A-Za-z0-9_]+\)/)) {
            t = substr(l, RSTART, RLENGTH)
            l = substr(l, RSTART + RLENGTH)
            form_kind[substr(t, 3, length(t) - 3)] = substr(t, 1, 1)
            forms[++nforms] = substr(t, 3, length(t) - 3)
        }
    else if (cpp_block == "owners" && match(l, /X\([A-Za-z]+, [A-Za-z_]+[ *]*,/)) {
        t = substr(l, RSTART + 2, RLENGTH - 3)
        split(t, w, /, */)
        owner_type[w[2]] = w[1]
    }
    if (l !~ /\\[ \t]*$/) cpp_block = ""
}

function trim(t) { gsub(/^[ \t]+|[ \t]+$/, "", t); return t }
function held(t) { t = trim(t); return (t in owner_type) ? owner_type[t] : t }

# One C++ form for the reference: its C++ parameters (names from the C
# definition, directions as tnapi.hpp derives them) and its result.
function write_form(name, cname, kind,    n, p, i, type, pname, base, list, first, ret, nsent, outs, doc) {
    n = split(ptext[cname], p, ",")
    nsent = sent_of(cname)
    list = ""; doc = ""; outs = ""
    first = (kind == "A") ? 2 : 1
    for (i = first; i <= n; i++) {
        type = trim(p[i])
        if (type == "void" || type == "") continue
        match(type, /[A-Za-z_][A-Za-z0-9_]*$/)
        pname = substr(type, RSTART)
        type = trim(substr(type, 1, RSTART - 1))
        if (type == "StringT") type = "const Text &"
        else if (type ~ /\*$/ && type !~ /^const /) {
            base = trim(substr(type, 1, length(type) - 1))
            if (nsent >= 0 && i - 1 >= nsent && base != "char") {
                type = "Out<" base ">"
                outs = outs (outs == "" ? " " : ", ") pname
            } else {
                type = "const In<" base "> &"
            }
        }
        list = list (list == "" ? "" : ", ") type (type ~ /&$/ ? "" : " ") pname
        doc = doc "     * @param " pname " as for " cname "()\n"
    }
    if (kind == "S") ret = "Result<void>"
    else if (kind == "A") {
        base = trim(p[1]); sub(/[A-Za-z_][A-Za-z0-9_]*$/, "", base); base = trim(base)
        ret = "Result<std::optional<" held(substr(base, 1, length(base) - 1)) ">>"
    } else ret = (ret_type[cname] == "void") ? "Result<void>" : "Result<" held(ret_type[cname]) ">"
    printf("    /** The C++ form of %s()%s.\n", cname, outs == "" ? "" : "; outputs:" outs) > forms_doc
    printf("%s", doc) > forms_doc
    printf("     * @return the request's value or its error */\n") > forms_doc
    printf("    %s %s(%s);\n", ret, name, list) > forms_doc
}

function write_forms(    i, name, cname) {
    print "// Generated by gen_tables.awk from api_to_tn.x, the library's sources and" > forms_doc
    print "// tnapi.hpp, for the reference only: what the C++ forms take and return." > forms_doc
    print "/** @file tnapi_forms.hpp" > forms_doc
    print " * The C++ forms of the request functions as the reference shows them: one" > forms_doc
    print " * function each, with the C function's parameter names, strings as Text," > forms_doc
    print " * what is sent by address as In and outputs as Out (see tnapi.hpp). In" > forms_doc
    print " * code each is an object of tnapi.hpp called the same way. */" > forms_doc
    print "namespace tarnel {" > forms_doc
    print "/** @name Request forms" > forms_doc
    print " * @{ */" > forms_doc
    for (i = 1; i <= nforms; i++) {
        name = forms[i]
        cname = ("T_Api" name) in defined ? "T_Api" name : ""
        if (cname == "") fail("tnapi.hpp names a form without a C definition: " name)
        write_form(name, cname, form_kind[name])
    }
    print "/** @} */" > forms_doc
    print "}  // namespace tarnel" > forms_doc
}

BEGIN {
    if (out == "" && requests == "" && sent_header == "" && forms_doc == "") {
        print "gen_tables.awk: set -v out=FILE, -v requests=FILE or -v sent_header=FILE" > "/dev/stderr"; failed = 1; exit 1
    }
    nrec = 0; nproc = 0; in_comment = 0; in_version = 0; in_struct = 0; version = ""
    nfn = 0
}

FNR == 1 { in_comment = 0; fn = "" }

{
    line = $0
    # Drop comments (they may span lines) and pass-through lines.
    if (in_comment) {
        if (index(line, "*/") == 0) next
        line = substr(line, index(line, "*/") + 2)
        in_comment = 0
    }
    while ((s = index(line, "/*")) > 0) {
        rest = substr(line, s + 2)
        e = index(rest, "*/")
        if (e == 0) { line = substr(line, 1, s - 1); in_comment = 1; break }
        line = substr(line, 1, s - 1) " " substr(rest, e + 2)
    }
    if (line ~ /^%/) next
    if (line ~ /^[ \t]*$/) next
}

FILENAME ~ /tnapi\.hpp$/ { scan_cpp(line); next }
FILENAME != ARGV[1] { scan_source(line); next }

line ~ /^[ \t]*struct[ \t]+[A-Za-z_][A-Za-z0-9_]*[ \t]*\{/ {
    split(line, w, /[ \t{]+/)
    name = (w[1] == "") ? w[3] : w[2]
    rec[++nrec] = name
    in_struct = 1; nfield = 0; last_is_status = 0
    next
}

in_struct && line ~ /^[ \t]*\}[ \t]*;[ \t]*$/ {
    if (last_is_status) status_last[name] = 1
    in_struct = 0
    next
}

in_struct {
    if (line !~ /^[ \t]*[A-Za-z_][A-Za-z0-9_ \t]*[ \t*][A-Za-z_][A-Za-z0-9_]*[ \t]*;[ \t]*$/)
        fail("field line not understood: " line)
    last_is_status = (line ~ /^[ \t]*int[ \t]+status[ \t]*;/)
    fl = line
    gsub(/;.*/, "", fl); gsub(/^[ \t]+|[ \t]+$/, "", fl)
    fptr = (fl ~ /\*/)
    gsub(/\*/, " ", fl)
    fn = split(fl, fw, /[ \t]+/)
    ftype = fw[1]; for (j = 2; j < fn; j++) ftype = ftype " " fw[j]
    nfields[nrec] = nfield + 1
    fname[nrec, nfield + 1] = fw[fn]; ftypes[nrec, nfield + 1] = ftype; fpointer[nrec, nfield + 1] = fptr
    if (++nfield == 1 && last_is_status) { status_first[name] = 1; last_is_status = 0 }
    next
}

line ~ /^[ \t]*version[ \t]/ { in_version = 1; next }

in_version && line ~ /^[ \t]*\}[ \t]*=[ \t]*[0-9]+[ \t]*;/ {
    v = line
    gsub(/[^0-9]/, "", v)
    version = v
    in_version = 0
    for (i = 1; i <= nproc; i++) stub_proc[tolower(pname[i]) "_" version] = i
    next
}

in_version {
    if (line !~ /^[ \t]*[A-Za-z_][A-Za-z0-9_]*[ \t]+[A-Z][A-Z0-9_]*[ \t]*\([ \t]*[A-Za-z_][A-Za-z0-9_]*[ \t]*\)[ \t]*=[ \t]*[0-9]+[ \t]*;[ \t]*$/)
        fail("procedure line not understood: " line)
    l = line
    gsub(/[()=;]/, " ", l)
    n = split(l, w, /[ \t]+/)
    k = 0
    for (i = 1; i <= n; i++) if (w[i] != "") f[++k] = w[i]
    nproc++
    pres[nproc] = f[1]; pname[nproc] = f[2]; parg[nproc] = f[3]; pnum[nproc] = f[4]
    next
}

END {
    if (failed) exit 1
    if (version == "") fail("no version block found")
    if (nproc == 0) fail("no procedures found")

    for (i = 1; i <= nproc; i++) stub[i] = tolower(pname[i]) "_" version
    if (requests != "") write_requests()
    if (sent_header != "") write_sent()
    if (forms_doc != "") write_forms()
    if (out == "") exit 0

    print "// Generated by gen_tables.awk from api_to_tn.x: do not edit." > out
    print "#include \"wire/proctable.h\"" > out
    print "" > out
    print "namespace tarnel::wire {" > out
    print "namespace {" > out
    print "" > out
    # One typed thunk per stub, so callers use a single signature without
    # calling a function through a mismatched pointer type.
    for (i = 1; i <= nproc; i++) {
        arg = (parg[i] == "void") ? "a" : "static_cast<" parg[i] " *>(a)"
        printf("void *call_%s(void *a, CLIENT *c) { return %s(%s, c); }\n", stub[i], stub[i], arg) > out
    }
    print "" > out
    print "}  // namespace" > out
    print "" > out
    print "const ProcEntry procTable[] = {" > out
    for (i = 1; i <= nproc; i++) {
        printf("    {%s, \"%s\", \"%s\", %s, %s, \"%s\", %s, %s, %s, call_%s},\n", \
               pnum[i], stub[i], parg[i], xdrproc(parg[i]), size_of(parg[i]), \
               pres[i], xdrproc(pres[i]), size_of(pres[i]), status_of(pres[i]), stub[i]) > out
    }
    print "};" > out
    printf("const std::size_t procCount = %d;\n", nproc) > out
    print "" > out
    print "const RecordEntry recordCatalogue[] = {" > out
    for (i = 1; i <= nrec; i++)
        printf("    {\"%s\", %s, sizeof(%s)},\n", rec[i], xdrproc(rec[i]), rec[i]) > out
    print "};" > out
    printf("const std::size_t recordCount = %d;\n", nrec) > out
    print "" > out
    print "}  // namespace tarnel::wire" > out

    # With -v routines=FILE: an overload per record that names its routine,
    # so code holding a record pointer can release it without naming it.
    if (routines != "") {
        print "// Generated by gen_tables.awk from api_to_tn.x: do not edit." > routines
        print "#ifndef TARNEL_WIRE_RECORD_ROUTINES_H" > routines
        print "#define TARNEL_WIRE_RECORD_ROUTINES_H" > routines
        print "#include <tarnel/api_to_tn.h>" > routines
        print "#include \"wire/xdrproc.h\"" > routines
        print "namespace tarnel::wire {" > routines
        for (i = 1; i <= nrec; i++)
            printf("inline xdrproc_t routine_of(const %s *) { return %s; }\n", rec[i], xdrproc(rec[i])) > routines
        print "}  // namespace tarnel::wire" > routines
        print "#endif" > routines
    }

    if (fields != "") {
        print "// Generated by gen_tables.awk from api_to_tn.x: do not edit." > fields
        print "#include <cstddef>" > fields
        print "#include <tarnel/api_to_tn.h>" > fields
        print "#include \"wire/record_fields.h\"" > fields
        print "namespace tarnel::wire {" > fields
        print "namespace {" > fields
        for (i = 1; i <= nrec; i++) {
            printf("const FieldEntry f_%s[] = {\n", rec[i]) > fields
            for (j = 1; j <= nfields[i]; j++)
                printf("    {\"%s\", \"%s\", offsetof(%s, %s), %s},\n", fname[i, j], ftypes[i, j], rec[i], \
                       fname[i, j], fpointer[i, j] ? "true" : "false") > fields
            print "};" > fields
        }
        print "}  // namespace" > fields
        print "const ProcTypes procTypes[] = {" > fields
        for (i = 1; i <= nproc; i++)
            printf("    {%s, \"%s\", \"%s\", \"%s\"},\n", pnum[i], stub[i], parg[i], pres[i]) > fields
        print "};" > fields
        printf("const std::size_t procTypesCount = %d;\n", nproc) > fields
        print "const RecordFields recordFields[] = {" > fields
        for (i = 1; i <= nrec; i++)
            printf("    {\"%s\", f_%s, %d},\n", rec[i], rec[i], nfields[i]) > fields
        print "};" > fields
        printf("const std::size_t recordFieldsCount = %d;\n", nrec) > fields
        print "}  // namespace tarnel::wire" > fields
    }
}
