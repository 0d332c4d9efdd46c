// Strings and property lists: copy and release of strings, lookup by number,
// allocation, and adding or replacing entries.
#include <gtest/gtest.h>
#include <tarnel/tnapi_values.h>

#include "alloc_fault.h"
#include "support/values.h"

TEST(ApiString, CopyReleaseAndNull) {
    EXPECT_TRUE(T_ApiStringLen(nullptr) == 0 && T_ApiStringLen("Alert") == 5);
    char source[] = "Alert";
    StringT copy = T_ApiCopyString(source);
    source[0] = 'X';
    EXPECT_STREQ(copy, "Alert");
    StringT empty = T_ApiCopyString(nullptr);
    EXPECT_STREQ(empty, "");  // a new empty string, not null
    T_ApiDeallocateString(&copy);
    T_ApiDeallocateString(&copy);  // twice: harmless, as is null
    T_ApiDeallocateString(&empty);
    T_ApiDeallocateString(nullptr);
    EXPECT_EQ(copy, nullptr);

    alloc_fault::Scope fail(0);
    EXPECT_EQ(T_ApiCopyString("abc"), nullptr);
}

TEST(PropList, IndexComparesNumbersOnly) {
    T_PropValsT list = T_ApiAllocatePropVals(3);
    ASSERT_EQ(list.count, 3u);
    for (u_int i = 0; i < 3; ++i)
        EXPECT_TRUE(list.items[i].ident.num == 0 && list.items[i].ident.name == nullptr &&
                    list.items[i].value.kind == 0);
    list.items[1].ident.num = list.items[2].ident.num = 7;
    list.items[0].ident.name = T_ApiCopyString("Seven");
    EXPECT_TRUE(T_ApiGetPropIndex(&list, 7) == 1 && T_ApiGetPropIndex(&list, 0) == 0);
    EXPECT_TRUE(T_ApiGetPropIndex(&list, 8) == -4 && T_ApiGetPropIndex(nullptr, 7) == -4);
    T_ApiAppendIntProp(&list, 9, 1);  // after the three zero-filled entries
    EXPECT_EQ(T_ApiGetPropIndex(&list, 9), 3);
    T_ApiDeallocatePropVals(&list);
    EXPECT_TRUE(T_ApiGetPropIndex(&list, 0) == -4 && list.items == nullptr);

    alloc_fault::Scope fail(0);
    const T_PropValsT none = T_ApiAllocatePropVals(3);
    EXPECT_TRUE(none.count == 0 && none.items == nullptr);
}

TEST(PropList, AppendReplacesInPlaceAndCopiesDeeply) {
    T_PropValsT list{};
    T_ApiAppendIntProp(&list, 5, 1);
    T_ApiAppendMetricProp(&list, 7, 0x18000);
    char text[] = "mine";
    T_ApiAppendStringProp(&list, 5, text);  // the int is released, the place kept
    text[0] = 'X';
    ASSERT_EQ(list.count, 2u);
    EXPECT_TRUE(list.items[0].ident.num == 5 && list.items[0].value.kind == 3);
    EXPECT_STREQ(list.items[0].value.u.string, "mine");
    EXPECT_TRUE(list.items[1].value.kind == 2 && list.items[1].value.u.metric == 0x18000);
    T_ApiAppendStringProp(&list, 8, nullptr);
    EXPECT_STREQ(list.items[2].value.u.string, "");
    const T_StringsT mine = tv::list<T_StringsT>();
    T_ApiAppendStringsProp(&list, 9, &mine);
    EXPECT_TRUE(list.items[3].value.kind == 6 && list.items[3].value.u.strings.items != mine.items);

    // A value taken from the list itself survives both its own replacement
    // and a growth that moves the array.
    T_ApiAppendVal(&list, 9, &list.items[3].value);
    const T_PropValT *added = T_ApiAppendVal(&list, 10, &list.items[0].value);
    EXPECT_EQ(added, &list.items[4]);
    EXPECT_STREQ(list.items[4].value.u.string, "mine");
    EXPECT_STREQ(list.items[3].value.u.strings.items[0], "Alert");
    T_ApiDeallocatePropVals(&list);
    T_ApiDeallocatePropVals(&list);
}

TEST(PropList, GrowthReallocatesOnEveryAddedEntry) {
    T_PropValsT list{};
    const auto &c = alloc_fault::counters();
    const unsigned start = c.reallocs;
    for (int i = 0; i < 33; ++i) {
        T_ApiAppendIntProp(&list, 100 + i, i);
        const size_t expected = i < 8 ? 8 : i < 16 ? 16 : i < 32 ? 32 : 64;
        EXPECT_EQ(c.lastReallocSize, expected * sizeof(T_PropValT)) << "entry " << i;
    }
    T_ApiAppendIntProp(&list, 104, -1);  // a replacement does not grow
    EXPECT_TRUE(c.reallocs - start == 33u && list.items[4].value.u.ival == -1);
    T_ApiDeallocatePropVals(&list);
}

TEST(PropList, FailedGrowthLeavesListUnchanged) {
    T_PropValsT list{};
    T_ApiAppendStringProp(&list, 1, "kept");
    T_PropValT *const before = list.items;
    const T_TypedValT strings = tv::value(TA_KIND_STRINGS);
    {
        alloc_fault::Scope fail(3);  // the value's copy passes (3 requests), the growth fails
        EXPECT_EQ(T_ApiAppendVal(&list, 2, &strings), nullptr);
    }
    EXPECT_TRUE(list.count == 1 && list.items == before);
    EXPECT_STREQ(list.items[0].value.u.string, "kept");
    T_ApiDeallocatePropVals(&list);

    // A count without array is no list; it is taken as empty.
    T_PropValsT broken{5, nullptr};
    T_ApiAppendIntProp(&broken, 3, 30);
    EXPECT_TRUE(broken.count == 1 && broken.items[0].value.u.ival == 30);
    T_ApiDeallocatePropVals(&broken);

    std::vector<T_TypedValT> values;
    for (int kind : tv::all_kinds()) values.push_back(tv::value(kind));
    alloc_fault::each_failure_point([&] {
        T_PropValsT built{};
        for (const T_TypedValT &v : values) T_ApiAppendVal(&built, v.kind, &v);
        T_ApiDeallocatePropVals(&built);
    });
}
