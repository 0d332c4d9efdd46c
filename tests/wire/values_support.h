// Helpers shared by the value-type tests: encoding to bytes, decoding from
// bytes, deep comparison and one sample of every value type.
#ifndef TARNEL_TESTS_WIRE_VALUES_SUPPORT_H
#define TARNEL_TESTS_WIRE_VALUES_SUPPORT_H

#include <tarnel/api_values.h>

#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string_view>
#include <vector>

#include "../../apilib/wire/value_types.h"

namespace wiretest {

using Bytes = std::vector<uint8_t>;

template <class T>
using Proc = bool_t (*)(XDR *, T *);

template <class T>
Bytes encode(Proc<T> proc, T *value, bool *ok = nullptr)
{
    Bytes buf(xdr_sizeof(reinterpret_cast<xdrproc_t>(proc), value) + 16);
    XDR xdrs;
    xdrmem_create(&xdrs, reinterpret_cast<char *>(buf.data()), buf.size(), XDR_ENCODE);
    bool done = proc(&xdrs, value);
    buf.resize(xdr_getpos(&xdrs));
    xdr_destroy(&xdrs);
    if (ok != nullptr)
        *ok = done;
    return buf;
}

// Decodes into a zeroed record, as the call stubs and dispatcher provide.
template <class T>
bool decode(Proc<T> proc, const Bytes &bytes, T *out, size_t len = SIZE_MAX)
{
    std::memset(static_cast<void *>(out), 0, sizeof(T));
    XDR xdrs;
    xdrmem_create(&xdrs, reinterpret_cast<char *>(const_cast<uint8_t *>(bytes.data())),
                  len == SIZE_MAX ? bytes.size() : len, XDR_DECODE);
    bool done = proc(&xdrs, out);
    xdr_destroy(&xdrs);
    return done;
}

template <class T>
void release(Proc<T> proc, T *value)
{
    xdr_free(reinterpret_cast<xdrproc_t>(proc), reinterpret_cast<char *>(value));
}

// Big-endian 4-byte words, optionally followed by raw bytes.
inline Bytes words(std::initializer_list<uint32_t> ws, std::string_view tail = {})
{
    Bytes out;
    for (uint32_t w : ws)
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(static_cast<uint8_t>(w >> shift));
    out.insert(out.end(), tail.begin(), tail.end());
    return out;
}

inline Bytes operator+(Bytes a, const Bytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Deep equality; a null string equals the empty one, as on the wire.
bool eq(const StringT &a, const StringT &b);
bool eq(const int &a, const int &b);
bool eq(const u_int &a, const u_int &b);
bool eq(const unsigned char &a, const unsigned char &b);
#define WIRETEST_DECLARE_EQ(T) bool eq(const T &a, const T &b);
WIRETEST_DECLARE_EQ(T_PropIdentT) WIRETEST_DECLARE_EQ(T_PointT) WIRETEST_DECLARE_EQ(SizeT)
WIRETEST_DECLARE_EQ(RectT) WIRETEST_DECLARE_EQ(T_TabT) WIRETEST_DECLARE_EQ(T_FontT)
WIRETEST_DECLARE_EQ(T_CombinedFontT) WIRETEST_DECLARE_EQ(T_ElementCatalogEntryT)
WIRETEST_DECLARE_EQ(TextItemDataT) WIRETEST_DECLARE_EQ(TextItemT) WIRETEST_DECLARE_EQ(T_TextLocT)
WIRETEST_DECLARE_EQ(T_TextRangeT) WIRETEST_DECLARE_EQ(T_ElementLocT)
WIRETEST_DECLARE_EQ(T_ElementRangeT) WIRETEST_DECLARE_EQ(T_AttributeDefT)
WIRETEST_DECLARE_EQ(T_AttributeT) WIRETEST_DECLARE_EQ(T_TypedValT) WIRETEST_DECLARE_EQ(T_PropValT)

template <class L>
bool eq_list(const L &a, const L &b)
{
    if (a.count != b.count)
        return false;
    for (u_int i = 0; i < a.count; ++i)
        if (!eq(a.items[i], b.items[i]))
            return false;
    return true;
}
#define WIRETEST_LIST_EQ(L) inline bool eq(const L &a, const L &b) { return eq_list(a, b); }
WIRETEST_LIST_EQ(T_StringsT) WIRETEST_LIST_EQ(T_MetricsT) WIRETEST_LIST_EQ(T_PointsT)
WIRETEST_LIST_EQ(T_TabsT) WIRETEST_LIST_EQ(T_UBytesT) WIRETEST_LIST_EQ(T_IntsT)
WIRETEST_LIST_EQ(T_UIntsT) WIRETEST_LIST_EQ(T_FontsT) WIRETEST_LIST_EQ(T_CombinedFontsT)
WIRETEST_LIST_EQ(T_ElementCatalogEntriesT) WIRETEST_LIST_EQ(TextItemsT)
WIRETEST_LIST_EQ(T_AttributeDefsT) WIRETEST_LIST_EQ(T_AttributesT) WIRETEST_LIST_EQ(T_PropValsT)

// A typed value of the given kind, filled with non-zero sample data held in
// static storage (never released).
T_TypedValT sample_val(int kind);

// One non-trivial sample of every value type.
#define WIRETEST_DECLARE_SAMPLE(T) void sample(T *out);
TARNEL_WIRE_VALUE_TYPES(WIRETEST_DECLARE_SAMPLE)

} // namespace wiretest

#endif
