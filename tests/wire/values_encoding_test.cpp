// Exact bytes of the value encodings, written from the protocol's rules:
// big-endian 4-byte units, strings as length, bytes and zero padding,
// counted lists as count then items, a byte as a whole unit, a typed value
// as its kind then the arm. Each literal must also decode to a value that
// encodes back to it, and release cleanly.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "support/values.h"

using namespace tv;

namespace {

template <class T> void golden(const std::string &what, Proc<T> proc, const T &value, const Bytes &want) {
    SCOPED_TRACE(what);
    EXPECT_EQ(encode(proc, value), want);
    T back;
    ASSERT_TRUE(decode(proc, want, &back));
    EXPECT_EQ(encode(proc, back), want);
    release(proc, &back);
}

TEST(ValueEncoding, EveryKindOfTypedValue) {
    const std::pair<int, Bytes> rows[] = {
        {1, wire({1, 0x101})},
        {2, wire({2, 0x102})},
        {3, wire({3, 5, "Alert"})},
        {4, wire({4, 0x104})},
        {5, wire({5, 2, -1, -2})},
        {6, wire({6, 2, 5, "Alert", 0})},
        {7, wire({7, 2, 11, 12, 21, 22})},
        {8, wire({8, 2, 10, 0xF1, 5, "Alert", 1, 20, 0xF2, 0, 2})},
        {9, wire({9, 1, 2})},
        {10, wire({10, 1, 2, 3, 4})},
        {11, wire({11, 0x10B})},
        {12, wire({12, 2, 11, 12, 21, 22})},
        {13, wire({13, 2, -1, -2})},
        {14, wire({14, 2, 0xF1, 0xF2})},
        {15, wire({15, 2, 0xFFFFFFF1u, 0xFFFFFFF2u})},
        {16, wire({16, 0x110})},
        {17, wire({17,     2, 5,  "Alert", 1, -1, 10,      2, 5, "Alert", 0,   0, 1, "t", 0,
                   /**/ 0, 2, -2, 20,      2, 5,  "Alert", 0, 0, 1,       "t", 0})},
        {18, wire({18, 2, 5, "Alert", 2, 5, "Alert", 0, 0xF1, 1, 0, 2, 5, "Alert", 0, 0xF2, 2})},
        {19, wire({19, 1, 1, 2, 3, 4, 5, 6})},
        {0, wire({0, 0x100})},
        {-7, wire({-7, 0xF9})},
        {20, wire({20, 0x114})},
        {25, wire({25, 0x119})},
    };
    ASSERT_EQ(std::size(rows), all_kinds().size());
    for (const auto &[kind, want] : rows) golden("kind " + std::to_string(kind), xdr_T_TypedValT, value(kind), want);

    T_TypedValT absent{};
    absent.kind = TA_KIND_ELEMENT_RANGE;
    golden("absent range", xdr_T_TypedValT, absent, wire({19, 0}));
}

TEST(ValueEncoding, RecordsAndListsOutsideTypedValues) {
    golden("size", xdr_SizeT, numbered<SizeT>(0), wire({1, 2}));
    golden("rect", xdr_RectT, numbered<RectT>(0), wire({1, 2, 3, 4}));
    golden("element loc", xdr_T_ElementLocT, numbered<T_ElementLocT>(0), wire({1, 2, 3}));
    golden("fonts", xdr_T_FontsT, list<T_FontsT>(), wire({2, 11, 12, 13, 14, 21, 22, 23, 24}));
    golden("combined", xdr_T_CombinedFontsT, list<T_CombinedFontsT>(), wire({2, 11, 12, 13, 14, 21, 22, 23, 24}));
    golden("text items", xdr_TextItemsT, list<TextItemsT>(), wire({2, 10, 1, 5, "Alert", 20, 2, 42}));
    golden("prop vals", xdr_T_PropValsT, list<T_PropValsT>(), wire({2, 0, 5, "Named", 3, 5, "Alert", 20, 1, 0x101}));
    golden("empty list", xdr_T_PropValsT, T_PropValsT{0, nullptr}, wire({0}));
    golden("ident by name", xdr_T_PropIdentT, T_PropIdentT{0, kNamed}, wire({0, 5, "Named"}));
    golden("one-unit pad", xdr_StringT, StringT(kText), wire({1, "t"}));
    char four[] = "four";
    golden("no pad", xdr_StringT, StringT(four), wire({4, "four"}));
    EXPECT_EQ(wire({1, "t"}), (Bytes{0, 0, 0, 1, 't', 0, 0, 0}));  // the padding is zeros
}

// Fields that do not travel, and what a decoder makes of absent things.
TEST(ValueEncoding, NullsNamesAndEmpties) {
    T_PropIdentT byNumber{7, kNamed};
    EXPECT_EQ(encode(xdr_T_PropIdentT, byNumber), wire({7}));
    release(xdr_T_PropIdentT, &byNumber);  // the name is not the record's
    EXPECT_EQ(byNumber.name, kNamed);
    T_PropIdentT back;
    EXPECT_TRUE(decode(xdr_T_PropIdentT, wire({7}), &back) && back.name == nullptr);

    StringT null = nullptr;
    EXPECT_EQ(encode(xdr_StringT, null), wire({0}));
    ASSERT_TRUE(decode(xdr_StringT, wire({0}), &null));
    EXPECT_STREQ(null, "");  // decoded strings are always allocated
    release(xdr_StringT, &null);
    EXPECT_EQ(null, nullptr);

    int stray[] = {1, 2};
    EXPECT_EQ(encode(xdr_T_IntsT, T_IntsT{0, stray}), wire({0}));
    T_IntsT none;
    EXPECT_TRUE(decode(xdr_T_IntsT, wire({0}), &none) && none.items == nullptr);

    bool ok = true;
    encode(xdr_T_StringsT, T_StringsT{2, nullptr}, &ok);  // a count without items
    EXPECT_FALSE(ok);

    T_TypedValT range;
    ASSERT_TRUE(decode(xdr_T_TypedValT, wire({19, 1, 1, 2, 3, 4, 5, -6}), &range));
    ASSERT_NE(range.u.elementRange, nullptr);
    EXPECT_EQ(range.u.elementRange->end.offset, -6);
    release(xdr_T_TypedValT, &range);
    EXPECT_EQ(range.u.elementRange, nullptr);
}

}  // namespace
