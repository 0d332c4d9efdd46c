// Short, hostile and long input: decoding fails cleanly, allocates no more
// than the data present justifies, grows lists as items arrive, and the free
// operation releases every part decoded (the sanitizer build checks leaks).
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "support/values.h"

using namespace tv;

namespace {

TEST(ValueBadInput, EveryTruncationOfANestedListFails) {
    const Bytes full = encode(xdr_T_PropValsT, every_kind_props());
    for (size_t len = 0; len < full.size(); ++len) {
        T_PropValsT back;
        EXPECT_FALSE(decode(xdr_T_PropValsT, full, &back, len)) << len;
        EXPECT_TRUE(back.count == 0 || back.items != nullptr) << len;
        release(xdr_T_PropValsT, &back);
        EXPECT_EQ(back.items, nullptr);
    }
}

// A count claiming 2^31 - 1 elements with two elements' worth of data.
template <class L> void huge_count_fails_fast(Proc<L> proc, const Bytes &data) {
    const auto start = std::chrono::steady_clock::now();
    L back;
    EXPECT_FALSE(decode(proc, wire({0x7FFFFFFF}) + data, &back));
    release(proc, &back);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(200));
}

TEST(ValueBadInput, HugeCountsAndLengthsFailCleanly) {
    huge_count_fails_fast(xdr_T_IntsT, wire({1, 2}));
    huge_count_fails_fast(xdr_T_UBytesT, wire({1, 2}));
    huge_count_fails_fast(xdr_T_StringsT, wire({3, "abc"}));
    huge_count_fails_fast(xdr_T_PointsT, wire({1, 2}));

    StringT s;
    EXPECT_FALSE(decode(xdr_StringT, wire({0xFFFFFFF0u, 0x41414141, 0x41414141}), &s));
    EXPECT_EQ(s, nullptr);
    EXPECT_FALSE(decode(xdr_StringT, wire({0xFFFFFFFFu}), &s));
    // Inside a record, the fields before the string survive for the release.
    T_TabT tab;
    EXPECT_FALSE(decode(xdr_T_TabT, wire({5, 1, 0xFFFFFFF0u, "xy"}), &tab));
    EXPECT_TRUE(tab.position == 5 && tab.text == nullptr);
    release(xdr_T_TabT, &tab);
}

TEST(ValueDecoding, LongInputAcrossReadChunksAndGrowthSteps) {
    for (unsigned len : {4095u, 4096u, 4097u, 70001u}) {
        std::string text(len, ' ');
        for (size_t i = 0; i < len; ++i) text[i] = static_cast<char>('a' + i % 26);
        StringT back;
        ASSERT_TRUE(decode(xdr_StringT, wire({len, text.c_str()}), &back)) << len;
        EXPECT_EQ(back, text);
        release(xdr_StringT, &back);
    }
    const unsigned count = 300000;
    Bytes points = wire({count});
    for (unsigned i = 0; i < count; ++i)
        for (uint32_t w : {i, 0u - i})
            for (int shift = 24; shift >= 0; shift -= 8) points.push_back(static_cast<uint8_t>(w >> shift));
    T_PointsT back;
    ASSERT_TRUE(decode(xdr_T_PointsT, points, &back));
    ASSERT_EQ(back.count, count);
    for (unsigned i = 0; i < count; ++i)
        if (back.items[i].x != static_cast<int>(i) || back.items[i].y != -static_cast<int>(i)) FAIL() << i;
    release(xdr_T_PointsT, &back);
}

}  // namespace

// The decoders' allocators: a block resized to zero stays a live block that
// the free operation takes, never a null that looks like exhaustion.
TEST(ApiAllocators, ResizeToZeroKeepsALiveBlock) {
    void *a = TapiRealloc(nullptr, 10);
    ASSERT_NE(a, nullptr);
    a = TapiRealloc(a, 0);
    ASSERT_NE(a, nullptr);
    T_ApiFree(a);
    T_ApiFree(nullptr);
}
