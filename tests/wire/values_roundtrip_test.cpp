// Every value type, and every kind of typed value, survives encode, decode
// and release, field by field.
#include <gtest/gtest.h>

#include <string>

#include "values_support.h"

using namespace wiretest;

namespace {

template <class T>
void round_trip(Proc<T> proc, const char *type)
{
    SCOPED_TRACE(type);
    T original;
    sample(&original);
    bool ok = false;
    Bytes wire = encode(proc, &original, &ok);
    ASSERT_TRUE(ok);
    T back;
    ASSERT_TRUE(decode(proc, wire, &back));
    EXPECT_TRUE(eq(original, back));
    EXPECT_EQ(encode(proc, &back), wire);
    release(proc, &back);
}

TEST(ValueRoundTrip, EveryType)
{
#define ROUND_TRIP(T) round_trip<T>(xdr_##T, #T);
    TARNEL_WIRE_VALUE_TYPES(ROUND_TRIP)
#undef ROUND_TRIP
}

TEST(ValueRoundTrip, EveryKind)
{
    for (int kind = -1; kind <= 21; ++kind) {
        SCOPED_TRACE(kind);
        T_TypedValT v = sample_val(kind);
        Bytes wire = encode(xdr_T_TypedValT, &v);
        T_TypedValT back;
        ASSERT_TRUE(decode(xdr_T_TypedValT, wire, &back));
        EXPECT_TRUE(eq(v, back));
        release(xdr_T_TypedValT, &back);
    }
}

// The list decoder grows its array as it goes, yet ends with the same layout
// as the array primitive, and either result is released by the list routine.
TEST(ValueRoundTrip, ListMatchesTheArrayPrimitive)
{
    T_PropValsT list;
    sample(&list);
    Bytes wire = encode(xdr_T_PropValsT, &list);
    T_PropValsT ours, theirs{};
    ASSERT_TRUE(decode(xdr_T_PropValsT, wire, &ours));
    XDR xdrs;
    xdrmem_create(&xdrs, reinterpret_cast<char *>(wire.data()), wire.size(), XDR_DECODE);
    ASSERT_TRUE(xdr_array(&xdrs, reinterpret_cast<char **>(&theirs.items), &theirs.count, ~0u,
                          sizeof(T_PropValT), reinterpret_cast<xdrproc_t>(xdr_T_PropValT)));
    xdr_destroy(&xdrs);
    EXPECT_TRUE(eq(ours, theirs));
    release(xdr_T_PropValsT, &ours);
    release(xdr_T_PropValsT, &theirs);
}

TEST(ValueRoundTrip, DecodedNullStringsBecomeAllocatedEmpties)
{
    T_StringsT list;
    sample(&list);
    ASSERT_EQ(list.items[1], nullptr);
    T_StringsT back;
    ASSERT_TRUE(decode(xdr_T_StringsT, encode(xdr_T_StringsT, &list), &back));
    for (u_int i = 0; i < back.count; ++i)
        EXPECT_NE(back.items[i], nullptr);
    release(xdr_T_StringsT, &back);
    EXPECT_EQ(back.items, nullptr);
}

TEST(ValueRoundTrip, LongStringAcrossReadChunks)
{
    for (size_t len : {4095u, 4096u, 4097u, 70001u}) {
        std::string text(len, 'x');
        for (size_t i = 0; i < len; ++i)
            text[i] = static_cast<char>('a' + i % 26);
        StringT s = text.data();
        Bytes wire = encode(xdr_StringT, &s);
        ASSERT_EQ(wire.size(), 4 + (len + 3) / 4 * 4);
        StringT back;
        ASSERT_TRUE(decode(xdr_StringT, wire, &back));
        EXPECT_EQ(std::string(back), text);
        release(xdr_StringT, &back);
    }
}

TEST(ValueRoundTrip, LongListAcrossGrowthSteps)
{
    std::vector<T_PointT> points(300000);
    for (size_t i = 0; i < points.size(); ++i)
        points[i] = {int(i), -int(i)};
    T_PointsT list{u_int(points.size()), points.data()};
    Bytes wire = encode(xdr_T_PointsT, &list);
    ASSERT_EQ(wire.size(), 4 + points.size() * 8);
    T_PointsT back;
    ASSERT_TRUE(decode(xdr_T_PointsT, wire, &back));
    EXPECT_TRUE(eq(list, back));
    release(xdr_T_PointsT, &back);
}

} // namespace
