// Shared by the wire and value tests: literal wire text, encoding and
// decoding through one XDR routine, and a sample of every value type. The
// typed-value samples follow the kind table, one builder per shape. All
// sample data is static and never released.
#ifndef TARNEL_TESTS_SUPPORT_VALUES_H
#define TARNEL_TESTS_SUPPORT_VALUES_H

#include <rpc/rpc.h>  // the XDR streams below; a C++ test may have its Tarnel headers without it
#include <tarnel/tnapi_values.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <type_traits>
#include <vector>

namespace tv {

using Bytes = std::vector<uint8_t>;
template <class T> using Proc = bool_t (*)(XDR *, T *);

// A number is one big-endian 4-byte unit; text is its bytes padded with
// zeros to a multiple of 4 (its length is written as a number before it).
struct Piece {
    Piece(int w) : Piece(static_cast<unsigned>(w)) {}
    Piece(unsigned w) {
        for (int shift = 24; shift >= 0; shift -= 8) b.push_back(static_cast<uint8_t>(w >> shift));
    }
    Piece(const char *text) : b(text, text + std::strlen(text)) { b.resize((b.size() + 3) / 4 * 4); }
    Bytes b;
};
inline Bytes wire(std::initializer_list<Piece> pieces) {
    Bytes out;
    for (const Piece &p : pieces) out.insert(out.end(), p.b.begin(), p.b.end());
    return out;
}
inline Bytes operator+(Bytes a, const Bytes &b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

template <class T> Bytes encode(Proc<T> proc, const T &value, bool *ok = nullptr) {
    Bytes buf(xdr_sizeof(reinterpret_cast<xdrproc_t>(proc), const_cast<T *>(&value)) + 16);
    XDR x;
    xdrmem_create(&x, reinterpret_cast<char *>(buf.data()), static_cast<u_int>(buf.size()), XDR_ENCODE);
    const bool done = proc(&x, const_cast<T *>(&value));
    buf.resize(xdr_getpos(&x));
    xdr_destroy(&x);
    if (ok != nullptr) *ok = done;
    return buf;
}

// Decodes the first len bytes into a zeroed record, as the stubs and the
// dispatcher provide; true only if the routine succeeds and reads them all.
template <class T> bool decode(Proc<T> proc, const Bytes &bytes, T *out, size_t len = SIZE_MAX) {
    std::memset(static_cast<void *>(out), 0, sizeof(T));
    len = len == SIZE_MAX ? bytes.size() : len;
    XDR x;
    xdrmem_create(&x, reinterpret_cast<char *>(const_cast<uint8_t *>(bytes.data())), static_cast<u_int>(len),
                  XDR_DECODE);
    const bool done = proc(&x, out) && xdr_getpos(&x) == len;
    xdr_destroy(&x);
    return done;
}

template <class T> void release(Proc<T> proc, T *value) {
    xdr_free(reinterpret_cast<xdrproc_t>(proc), reinterpret_cast<char *>(value));
}

inline char kAlert[] = "Alert", kNamed[] = "Named", kText[] = "t";

// A record made only of 4-byte numbers, numbered base + 1, base + 2, ...
template <class R> R numbered(int base) {
    static_assert(sizeof(R) % 4 == 0 && std::is_trivially_copyable_v<R>);
    int32_t w[sizeof(R) / 4];
    for (size_t i = 0; i < sizeof(R) / 4; ++i) w[i] = base + static_cast<int32_t>(i) + 1;
    R r;
    std::memcpy(static_cast<void *>(&r), w, sizeof r);
    return r;
}

template <class L> L list();
inline T_TypedValT value(int kind);

// Item n (1 or 2) of a sample list.
template <class T> T item(int n) {
    if constexpr (std::is_same_v<T, int>)
        return -n;
    else if constexpr (std::is_same_v<T, u_int>)
        return 0xFFFFFFF0u + n;
    else if constexpr (std::is_same_v<T, unsigned char>)
        return static_cast<unsigned char>(0xF0 + n);
    else if constexpr (std::is_same_v<T, StringT>)
        return n == 1 ? kAlert : nullptr;
    else if constexpr (std::is_same_v<T, T_TabT>)
        return {10 * n, item<unsigned char>(n), item<StringT>(n), static_cast<unsigned char>(n)};
    else if constexpr (std::is_same_v<T, T_AttributeDefT>)
        return {item<StringT>(n), n, -n, 10 * n, list<T_StringsT>(), {0, nullptr}, kText, nullptr};
    else if constexpr (std::is_same_v<T, T_AttributeT>)
        return {item<StringT>(n), list<T_StringsT>(), item<unsigned char>(n), static_cast<unsigned char>(n)};
    else if constexpr (std::is_same_v<T, TextItemT>)
        return n == 1 ? TextItemT{10, {1, {kAlert}}} : TextItemT{20, {2, {.value = 42}}};
    else if constexpr (std::is_same_v<T, T_PropValT>)
        return n == 1 ? T_PropValT{{0, kNamed}, value(TA_KIND_STRING)} : T_PropValT{{20, nullptr}, value(TA_KIND_INT)};
    else
        return numbered<T>(10 * n);
}

// Two items.
template <class L> L list() {
    using T = std::remove_pointer_t<decltype(L::items)>;
    static T items[2] = {item<T>(1), item<T>(2)};
    return {2, items};
}

// Typed-value arms, one per shape.
template <class M> M arm_WORD(int kind) { return 0x100 + kind; }
template <class M> M arm_STRING(int) { return kAlert; }
template <class M> M arm_RECORD(int) { return numbered<M>(0); }
template <class M> M arm_LIST(int) { return list<M>(); }
template <class M> M arm_OPTIONAL(int) {
    static auto record = numbered<std::remove_pointer_t<M>>(0);
    return &record;
}

// Kind 19 points to a static range; every number outside the table is a word.
inline T_TypedValT value(int kind) {
    T_TypedValT v{};
    v.kind = kind;
    switch (kind) {
#define TV_ARM(num, name, member, shape, stem)                                                                         \
    case num: v.u.member = arm_##shape<decltype(v.u.member)>(num); break;
        TA_VALUE_KINDS(TV_ARM)
#undef TV_ARM
    default: v.u.ival = arm_WORD<int>(kind);
    }
    return v;
}

// Every kind of the table, and some outside it.
inline const std::vector<int> &all_kinds() {
#define TV_NUM(num, name, member, shape, stem) num,
    static const std::vector<int> kinds{TA_VALUE_KINDS(TV_NUM) 0, -7, 20, 25};
#undef TV_NUM
    return kinds;
}

// One entry per kind of all_kinds(); every third is named by number 0.
inline T_PropValsT every_kind_props() {
    static std::vector<T_PropValT> entries;
    for (size_t i = entries.size(); i < all_kinds().size(); ++i) {
        const bool byName = i % 3 == 0;
        entries.push_back({{byName ? 0 : 100 + all_kinds()[i], byName ? kNamed : nullptr}, value(all_kinds()[i])});
    }
    return {static_cast<u_int>(entries.size()), entries.data()};
}

}  // namespace tv

#endif
