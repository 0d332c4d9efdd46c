// Exact bytes of the value encodings, and what decoding them yields.
#include <gtest/gtest.h>

#include "values_support.h"

using namespace wiretest;

namespace {

char alert[] = "Alert";
char name[] = "Width";

TEST(ValueEncoding, PropValOfStringIsTwentyBytes)
{
    T_PropValT pv{{20, nullptr}, sample_val(3)};
    Bytes expected = words({20, 3, 5}, std::string_view("Alert\0\0\0", 8));
    EXPECT_EQ(encode(xdr_T_PropValT, &pv), expected);

    T_PropValT back;
    ASSERT_TRUE(decode(xdr_T_PropValT, expected, &back));
    EXPECT_EQ(back.ident.num, 20);
    EXPECT_EQ(back.ident.name, nullptr);
    EXPECT_STREQ(back.value.u.string, "Alert");
    release(xdr_T_PropValT, &back);
}

TEST(ValueEncoding, PropIdentByNumberOrName)
{
    T_PropIdentT by_num{7, name};
    EXPECT_EQ(encode(xdr_T_PropIdentT, &by_num), words({7}));
    T_PropIdentT back;
    ASSERT_TRUE(decode(xdr_T_PropIdentT, words({7}), &back));
    EXPECT_EQ(back.name, nullptr);
    // Releasing a numbered identifier leaves its name alone.
    release(xdr_T_PropIdentT, &by_num);
    EXPECT_EQ(by_num.name, name);

    T_PropIdentT by_name{0, name};
    EXPECT_EQ(encode(xdr_T_PropIdentT, &by_name), words({0, 5}, std::string_view("Width\0\0\0", 8)));
}

TEST(ValueEncoding, NullStringTravelsAsEmpty)
{
    StringT null_string = nullptr;
    EXPECT_EQ(encode(xdr_StringT, &null_string), words({0}));
    EXPECT_EQ(null_string, nullptr);

    StringT back;
    ASSERT_TRUE(decode(xdr_StringT, words({0}), &back));
    ASSERT_NE(back, nullptr);
    EXPECT_STREQ(back, "");
    release(xdr_StringT, &back);
    EXPECT_EQ(back, nullptr);
}

TEST(ValueEncoding, UnsignedBytesTakeWholeUnits)
{
    T_UBytesT bytes;
    sample(&bytes);
    Bytes wire = encode(xdr_T_UBytesT, &bytes);
    EXPECT_EQ(wire, words({3, 0, 200, 255}));
    EXPECT_EQ(wire.size(), 16u);
}

TEST(ValueEncoding, EmptyListIsOneWordWhateverItemsHolds)
{
    int stray[] = {1, 2};
    T_IntsT ints{0, stray};
    EXPECT_EQ(encode(xdr_T_IntsT, &ints), words({0}));
    T_PropValsT none{0, nullptr};
    EXPECT_EQ(encode(xdr_T_PropValsT, &none), words({0}));

    T_IntsT back;
    ASSERT_TRUE(decode(xdr_T_IntsT, words({0}), &back));
    EXPECT_EQ(back.count, 0u);
    EXPECT_EQ(back.items, nullptr);
}

TEST(ValueEncoding, CountWithoutItemsFailsToEncode)
{
    T_StringsT broken{2, nullptr};
    bool ok = true;
    encode(xdr_T_StringsT, &broken, &ok);
    EXPECT_FALSE(ok);
}

TEST(ValueEncoding, ScalarKindsAreTwoInts)
{
    for (int kind : {1, 2, 4, 11, 16, 0, 25, -3}) {
        T_TypedValT v{};
        v.kind = kind;
        v.u.ival = -77;
        EXPECT_EQ(encode(xdr_T_TypedValT, &v), words({uint32_t(kind), uint32_t(-77)})) << kind;
    }
}

TEST(ValueEncoding, OptionalElementRange)
{
    T_TypedValT absent{};
    absent.kind = 19;
    EXPECT_EQ(encode(xdr_T_TypedValT, &absent), words({19, 0}));
    T_TypedValT back;
    ASSERT_TRUE(decode(xdr_T_TypedValT, words({19, 0}), &back));
    EXPECT_EQ(back.u.elementRange, nullptr);

    T_TypedValT present = sample_val(19);
    Bytes wire = words({19, 1, 1, 2, 3, 4, 5, uint32_t(-6)});
    EXPECT_EQ(encode(xdr_T_TypedValT, &present), wire);
    ASSERT_TRUE(decode(xdr_T_TypedValT, wire, &back));
    ASSERT_NE(back.u.elementRange, nullptr);
    EXPECT_EQ(back.u.elementRange->end.offset, -6);
    release(xdr_T_TypedValT, &back);
    EXPECT_EQ(back.u.elementRange, nullptr);
}

TEST(ValueEncoding, TextItemDataStringOrInt)
{
    TextItemDataT text{1, {alert}};
    EXPECT_EQ(encode(xdr_TextItemDataT, &text), words({1, 5}, std::string_view("Alert\0\0\0", 8)));
    TextItemDataT number{2, {.value = 9}};
    EXPECT_EQ(encode(xdr_TextItemDataT, &number), words({2, 9}));
}

TEST(ValueEncoding, PropValsEntriesFollowTheCount)
{
    T_PropValT items[] = {{{20, nullptr}, sample_val(3)}, {{0, name}, sample_val(1)}};
    T_PropValsT list{2, items};
    Bytes expected = words({2, 20, 3, 5}, std::string_view("Alert\0\0\0", 8)) +
                     words({0, 5}, std::string_view("Width\0\0\0", 8)) + words({1, 999});
    EXPECT_EQ(encode(xdr_T_PropValsT, &list), expected);
}

} // namespace
