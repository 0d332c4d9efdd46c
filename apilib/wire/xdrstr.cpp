// The nullable string: a null pointer travels as the empty string, and a
// decoded string is always allocated, never null. Decoded strings come from
// the API allocators, so a request can hand one to its caller as it is.
#include <tarnel/api_values.h>
#include <tarnel/tnapi_values.h>

#include <algorithm>
#include <climits>

#include "wire/decode_growth.h"

namespace {

using tarnel::wire::kFirstGrowthBytes;
using tarnel::wire::kMaxGrowthStepBytes;

// Stands in for a null string while it is encoded; encoding never writes it.
char shared_empty_string[1] = {0};

// Decodes like the XDR string primitive, but allocates only as the bytes
// actually arrive: a length word far larger than the data fails after at
// most one chunk instead of reserving the claimed size up front. The result
// is a buffer of exactly length + 1 bytes, NUL-terminated.
bool_t decode_string(XDR *xdrs, char **out) {
    *out = nullptr;
    u_int size;
    if (!xdr_u_int(xdrs, &size) || size == UINT_MAX) return FALSE;
    char *buf = static_cast<char *>(TapiMalloc(std::min(size, kFirstGrowthBytes) + 1u));
    if (buf == nullptr) return FALSE;
    u_int got = 0;
    while (got < size) {
        u_int step = std::clamp(got, kFirstGrowthBytes, kMaxGrowthStepBytes);
        u_int want = std::min(size - got, step);
        if (got != 0) {
            char *grown = static_cast<char *>(TapiRealloc(buf, size_t{got} + want + 1));
            if (grown == nullptr) {
                T_ApiFree(buf);
                return FALSE;
            }
            buf = grown;
        }
        if (!xdr_opaque(xdrs, buf + got, want)) {
            T_ApiFree(buf);
            return FALSE;
        }
        got += want;
    }
    buf[size] = '\0';
    *out = buf;
    return TRUE;
}

}  // namespace

// Decoding always allocates a new string and stores it in the field; whatever
// the field held before is neither written through nor released.
extern "C" bool_t xdr_StringT(XDR *xdrs, StringT *objp) {
    switch (xdrs->x_op) {
    case XDR_ENCODE:
        if (*objp == nullptr) {
            char *empty = shared_empty_string;
            return xdr_string(xdrs, &empty, UINT_MAX);
        }
        return xdr_string(xdrs, objp, UINT_MAX);
    case XDR_DECODE: return decode_string(xdrs, objp);
    case XDR_FREE:
        T_ApiFree(*objp);
        *objp = nullptr;
        return TRUE;
    }
    return FALSE;
}
