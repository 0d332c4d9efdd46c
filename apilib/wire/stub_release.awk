# Filters rpcgen's client stubs (rpcgen -l output, on standard input or as
# the file argument; the result goes to the file named by -v out=...) so that a failed call
# releases whatever the reply decoder had already allocated in the stub's
# static result area and leaves the area all zeros. Without this, a reply
# that fails half-way through decoding leaks its strings and arrays: the
# caller gets null and never sees them, and the stub's next call clears the
# pointers. Stops the build if rpcgen's output does not have the expected
# shape, so no stub is left unfiltered.

function fail(msg) {
    printf("stub_release.awk: %s:%d: %s\n", FILENAME, FNR, msg) > "/dev/stderr"
    failed = 1
    exit 1
}

BEGIN {
    if (out == "") { print "stub_release.awk: set -v out=FILE" > "/dev/stderr"; failed = 1; exit 1 }
    result_proc = ""; calls = 0; patched = 0
}

# Every call goes through the library's trace point, which is clnt_call
# itself when nothing traces.
/^[ \t]*if \(clnt_call \(clnt, / { calls++; sub(/clnt_call \(clnt, /, "tarnel_clnt_call (clnt, ") }

/^#include "tarnel\/api_to_tn.h"/ {
    print > out
    print "enum clnt_stat tarnel_clnt_call(CLIENT *, rpcproc_t, xdrproc_t, void *, xdrproc_t, void *, struct timeval);" > out
    declared = 1
    next
}

/\(xdrproc_t\) xdr_[A-Za-z0-9_]+, \(caddr_t\) &clnt_res,/ {
    p = $0
    sub(/^.*\(xdrproc_t\) /, "", p)
    sub(/,.*$/, "", p)
    result_proc = p
}

/^[ \t]*return \(NULL\);[ \t]*$/ {
    if (result_proc == "") fail("return (NULL) without a result decoder before it")
    print "\t\txdr_free((xdrproc_t) " result_proc ", (char *)&clnt_res);" > out
    print "\t\tmemset((char *)&clnt_res, 0, sizeof(clnt_res));" > out
    result_proc = ""
    patched++
}

{ print > out }

END {
    if (failed) exit 1
    if (!declared) fail("no #include of the record header to declare the trace point after")
    if (calls == 0 || patched != calls)
        fail("patched " patched " failure paths for " calls " calls")
}
