// Proves the harness can fail: a copy of the string-list decoder with a
// planted fault (it trusts the claimed count and writes every item into a
// fixed array of four), run exactly as fuzz_decode runs the real one. Its
// test passes only when the fuzzer crashes on it. Never linked into
// anything else.
#include "support.h"

namespace {

using namespace fuzz;

constexpr u_int kPlantedCapacity = 4;

extern "C" bool_t planted_xdr_T_StringsT(XDR *xdrs, T_StringsT *objp) {
    switch (xdrs->x_op) {
    case XDR_DECODE: {
        objp->items = nullptr;
        if (!xdr_u_int(xdrs, &objp->count)) return FALSE;
        if (objp->count == 0) return TRUE;
        objp->items = static_cast<StringT *>(std::calloc(kPlantedCapacity, sizeof(StringT)));
        for (u_int i = 0; i < objp->count; ++i)  // the fault: no bound on i
            if (!xdr_StringT(xdrs, &objp->items[i])) {
                objp->count = i + 1;
                return FALSE;
            }
        return TRUE;
    }
    default: return xdr_T_StringsT(xdrs, objp);
    }
}

const xdrproc_t planted = proc(&planted_xdr_T_StringsT);

// Lists of up to three items: none reaches the fault.
void write_seeds(const char *dir) {
    char a[] = "a", b[] = "bb", c[] = "ccc";
    StringT items[] = {a, b, c};
    for (u_int n = 0; n < 4; ++n) {
        T_StringsT list = {n, items};
        Bytes bytes;
        FUZZ_CHECK(encode(proc(&xdr_T_StringsT), &list, sizeof list, bytes));
        write_seed(dir, "strings-" + std::to_string(n), bytes);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) { return seed_mode(write_seeds); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    T_StringsT list{};
    decode(planted, &list, sizeof list, data, size);
    release(proc(&xdr_T_StringsT), &list);
    return 0;
}
