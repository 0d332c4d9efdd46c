// Short and hostile input: decoding fails cleanly, allocates no more than
// the data present justifies, and the free operation releases every part
// that was decoded (the sanitizer build checks for leaks).
#include <gtest/gtest.h>

#include <chrono>

#include "values_support.h"

using namespace wiretest;

namespace {

TEST(ValueBadInput, EveryTruncationOfANestedListFails)
{
    T_PropValT items[] = {{{0, nullptr}, sample_val(17)}, {{8, nullptr}, sample_val(8)},
                          {{9, nullptr}, sample_val(6)},  {{10, nullptr}, sample_val(19)},
                          {{11, nullptr}, sample_val(18)}};
    T_PropValsT list{5, items};
    Bytes wire = encode(xdr_T_PropValsT, &list);
    for (size_t len = 0; len < wire.size(); ++len) {
        T_PropValsT back;
        EXPECT_FALSE(decode(xdr_T_PropValsT, wire, &back, len)) << len;
        EXPECT_TRUE(back.count == 0 || back.items != nullptr) << len;
        release(xdr_T_PropValsT, &back);
        EXPECT_EQ(back.items, nullptr);
    }
    T_PropValsT back;
    ASSERT_TRUE(decode(xdr_T_PropValsT, wire, &back));
    EXPECT_TRUE(eq(list, back));
    release(xdr_T_PropValsT, &back);
}

// A count claiming 2^31 - 1 elements with two elements' worth of data.
template <class L>
void huge_count_fails_fast(Proc<L> proc, const Bytes &data)
{
    auto start = std::chrono::steady_clock::now();
    L back;
    EXPECT_FALSE(decode(proc, words({0x7FFFFFFF}) + data, &back));
    release(proc, &back);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
}

TEST(ValueBadInput, HugeListCountFailsFast)
{
    huge_count_fails_fast<T_IntsT>(xdr_T_IntsT, words({1, 2}));
    huge_count_fails_fast<T_UBytesT>(xdr_T_UBytesT, words({1, 2}));
    huge_count_fails_fast<T_StringsT>(xdr_T_StringsT, words({1}, "abc\0"));
    huge_count_fails_fast<T_PointsT>(xdr_T_PointsT, words({1, 2}));
}

TEST(ValueBadInput, HugeStringLengthFailsCleanly)
{
    StringT back;
    EXPECT_FALSE(decode(xdr_StringT, words({0xFFFFFFF0, 0x41414141, 0x41414141}), &back));
    EXPECT_EQ(back, nullptr);
    EXPECT_FALSE(decode(xdr_StringT, words({0xFFFFFFFF}), &back));

    // Inside a record, the fields before the string survive for the release.
    T_TabT tab;
    EXPECT_FALSE(decode(xdr_T_TabT, words({5, 1, 0xFFFFFFF0}, "xy"), &tab));
    EXPECT_EQ(tab.position, 5);
    EXPECT_EQ(tab.text, nullptr);
    release(xdr_T_TabT, &tab);
}

} // namespace
