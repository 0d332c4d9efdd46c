#include "records_support.h"

#include <random>
#include <type_traits>

namespace wiretest {
namespace {

std::mt19937 &rng(XDR *xdrs) { return *static_cast<std::mt19937 *>(xdrs->x_private); }

// Mostly 0..3, sometimes up to 25: lists stay short while every union arm,
// including the out-of-range kinds, still turns up.
bool_t random_long(XDR *xdrs, long *lp)
{
    std::mt19937 &r = rng(xdrs);
    *lp = static_cast<long>(r() % 100 < 60 ? r() % 4 : r() % 26);
    return TRUE;
}

bool_t random_bytes(XDR *xdrs, char *buf, u_int len)
{
    std::mt19937 &r = rng(xdrs);
    for (u_int i = 0; i < len; ++i)
        buf[i] = static_cast<char>(1 + r() % 255);
    return TRUE;
}

bool_t refuse_put_long(XDR *, const long *) { return FALSE; }
bool_t refuse_put_bytes(XDR *, const char *, u_int) { return FALSE; }
u_int no_pos(XDR *) { return 0; }
bool_t no_setpos(XDR *, u_int) { return FALSE; }
int32_t *no_inline(XDR *, u_int) { return nullptr; }
void no_destroy(XDR *) {}
bool_t no_control(XDR *, int, void *) { return FALSE; }

using XdrOps = std::remove_cvref_t<decltype(*XDR{}.x_ops)>;
const XdrOps random_ops = {random_long, refuse_put_long, random_bytes, refuse_put_bytes,
                           no_pos,      no_setpos,       no_inline,    no_destroy,
                           no_control};

} // namespace

bool random_fill(xdrproc_t proc, void *record, uint32_t seed)
{
    std::mt19937 r(seed);
    XDR xdrs{};
    xdrs.x_op = XDR_DECODE;
    xdrs.x_ops = &random_ops;
    xdrs.x_private = reinterpret_cast<char *>(&r);
    return proc(&xdrs, record);
}

bool encode_any(xdrproc_t proc, void *record, Bytes *out)
{
    for (std::size_t size = 1 << 16; size <= (std::size_t{1} << 26); size *= 2) {
        out->assign(size, 0);
        XDR xdrs;
        xdrmem_create(&xdrs, reinterpret_cast<char *>(out->data()), size, XDR_ENCODE);
        bool ok = proc(&xdrs, record);
        std::size_t used = xdr_getpos(&xdrs);
        xdr_destroy(&xdrs);
        if (ok) {
            out->resize(used);
            return true;
        }
    }
    return false;
}

bool decode_any(xdrproc_t proc, const Bytes &bytes, void *record, std::size_t len,
                std::size_t *used)
{
    XDR xdrs;
    xdrmem_create(&xdrs, reinterpret_cast<char *>(const_cast<uint8_t *>(bytes.data())),
                  len == SIZE_MAX ? bytes.size() : len, XDR_DECODE);
    bool ok = proc(&xdrs, record);
    if (used != nullptr)
        *used = xdr_getpos(&xdrs);
    xdr_destroy(&xdrs);
    return ok;
}

} // namespace wiretest
