// Type-erased helpers for tests that run every record or procedure through
// its xdrproc_t: random filling, encoding, decoding, ownership.
#ifndef TARNEL_TESTS_WIRE_RECORDS_SUPPORT_H
#define TARNEL_TESTS_WIRE_RECORDS_SUPPORT_H

#include <wire/proctable.h>

#include <cstdlib>
#include <random>
#include <type_traits>

#include "support/values.h"

namespace wiretest {

using namespace tv;

// A zeroed record that releases what its routine decoded into it.
class Held {
  public:
    Held(xdrproc_t proc, size_t size) : proc_(proc), mem_(std::calloc(1, size == 0 ? 1 : size)) {}
    ~Held() {
        xdr_free(proc_, mem_);
        std::free(mem_);
    }
    Held(const Held &) = delete;
    Held &operator=(const Held &) = delete;
    void *get() const { return mem_; }

  private:
    xdrproc_t proc_;
    void *mem_;
};

namespace detail {
inline std::mt19937 &rng(XDR *x) { return *reinterpret_cast<std::mt19937 *>(x->x_private); }
// Mostly 0..3, sometimes up to 25: lists stay short while every union arm,
// the out-of-range kinds included, still turns up.
inline bool_t random_long(XDR *x, long *lp) {
    std::mt19937 &r = rng(x);
    *lp = static_cast<long>(r() % 100 < 60 ? r() % 4 : r() % 26);
    return TRUE;
}
inline bool_t random_bytes(XDR *x, char *buf, u_int len) {
    for (u_int i = 0; i < len; ++i) buf[i] = static_cast<char>(1 + rng(x)() % 255);
    return TRUE;
}
inline bool_t refuse_long(XDR *, const long *) { return FALSE; }
inline bool_t refuse_bytes(XDR *, const char *, u_int) { return FALSE; }
inline u_int no_pos(XDR *) { return 0; }
inline bool_t no_setpos(XDR *, u_int) { return FALSE; }
inline int32_t *no_inline(XDR *, u_int) { return nullptr; }
inline void no_destroy(XDR *) {}
inline bool_t no_control(XDR *, int, void *) { return FALSE; }
}  // namespace detail

// Decodes a record from random data: small non-negative numbers (counts,
// union kinds and optional flags stay small and valid) and non-zero string
// bytes. Same seed, same record.
inline bool random_fill(xdrproc_t proc, void *record, uint32_t seed) {
    using namespace detail;
    static const std::remove_cvref_t<decltype(*XDR{}.x_ops)> ops = {
        random_long, refuse_long, random_bytes, refuse_bytes, no_pos, no_setpos, no_inline, no_destroy, no_control};
    std::mt19937 r(seed);
    XDR x{};
    x.x_op = XDR_DECODE;
    x.x_ops = &ops;
    x.x_private = reinterpret_cast<char *>(&r);
    return proc(&x, record);
}

inline bool encode_any(xdrproc_t proc, void *record, Bytes *out) {
    out->assign(xdr_sizeof(proc, record), 0);
    XDR x;
    xdrmem_create(&x, reinterpret_cast<char *>(out->data()), static_cast<u_int>(out->size()), XDR_ENCODE);
    const bool ok = proc(&x, record) && xdr_getpos(&x) == out->size();
    xdr_destroy(&x);
    return ok;
}

// Decodes the first len bytes (all by default); true if the routine succeeds.
inline bool decode_any(xdrproc_t proc, const Bytes &bytes, void *record, size_t len = SIZE_MAX) {
    XDR x;
    xdrmem_create(&x, reinterpret_cast<char *>(const_cast<uint8_t *>(bytes.data())),
                  static_cast<u_int>(len == SIZE_MAX ? bytes.size() : len), XDR_DECODE);
    const bool ok = proc(&x, record);
    xdr_destroy(&x);
    return ok;
}

}  // namespace wiretest

#endif
