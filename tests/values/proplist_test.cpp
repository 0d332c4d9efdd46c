// Strings and property lists: copy and release of strings, lookup by number,
// allocation, and adding or replacing entries.
#include <cstring>

#include <gtest/gtest.h>
#include <tarnel/tnapi_values.h>

#include "alloc_fault.h"
#include "samples.h"

namespace {

size_t capacity_of_last_growth() {
    return alloc_fault::counters().lastReallocSize / sizeof(T_PropValT);
}

}  // namespace

TEST(ApiString, CopyIsNewAndNullBecomesEmpty) {
    EXPECT_EQ(T_ApiStringLen(nullptr), 0);
    EXPECT_EQ(T_ApiStringLen("Alert"), 5);
    char source[] = "Alert";
    StringT copy = T_ApiCopyString(source);
    ASSERT_NE(copy, nullptr);
    EXPECT_NE(copy, source);
    source[0] = 'X';
    EXPECT_STREQ(copy, "Alert");
    StringT empty = T_ApiCopyString(nullptr);
    ASSERT_NE(empty, nullptr);
    EXPECT_STREQ(empty, "");
    T_ApiDeallocateString(&copy);
    T_ApiDeallocateString(&empty);
    EXPECT_EQ(copy, nullptr);
}

TEST(ApiString, ReleaseTwiceAndNullAddressAreHarmless) {
    StringT s = T_ApiCopyString("x");
    T_ApiDeallocateString(&s);
    T_ApiDeallocateString(&s);
    EXPECT_EQ(s, nullptr);
    T_ApiDeallocateString(nullptr);
    char buffer[4] = "abc";
    strCpy(buffer, nullptr);
    EXPECT_EQ(buffer[0], '\0');
}

TEST(ApiString, CopyFailsAsNull) {
    alloc_fault::Scope fail(0);
    EXPECT_EQ(T_ApiCopyString("abc"), nullptr);
}

TEST(PropList, IndexComparesNumbersOnly) {
    T_PropValsT list = T_ApiAllocatePropVals(3);
    ASSERT_EQ(list.count, 3u);
    list.items[1].ident.num = 7;
    list.items[2].ident.num = 7;
    list.items[0].ident.name = T_ApiCopyString("Seven");
    EXPECT_EQ(T_ApiGetPropIndex(&list, 7), 1);
    EXPECT_EQ(T_ApiGetPropIndex(&list, 0), 0);  // found by number 0, name unseen
    EXPECT_EQ(T_ApiGetPropIndex(&list, 8), -4);
    EXPECT_EQ(T_ApiGetPropIndex(nullptr, 7), -4);
    T_PropValsT noArray{5, nullptr};
    EXPECT_EQ(T_ApiGetPropIndex(&noArray, 0), -4);
    T_ApiDeallocatePropVals(&list);
    EXPECT_EQ(T_ApiGetPropIndex(&list, 0), -4);
}

TEST(PropList, AllocateZeroFilledOrEmpty) {
    T_PropValsT list = T_ApiAllocatePropVals(3);
    for (u_int i = 0; i < list.count; ++i) {
        EXPECT_EQ(list.items[i].ident.num, 0);
        EXPECT_EQ(list.items[i].ident.name, nullptr);
        EXPECT_EQ(list.items[i].value.kind, 0);
    }
    T_TypedValT one{};
    one.kind = 1;
    T_PropValT *added = T_ApiAppendVal(&list, 9, &one);
    EXPECT_EQ(list.count, 4u);
    EXPECT_EQ(added, &list.items[3]);
    EXPECT_EQ(T_ApiGetPropIndex(&list, 0), 0);
    T_ApiDeallocatePropVals(&list);
    EXPECT_EQ(list.count, 0u);
    EXPECT_EQ(list.items, nullptr);

    alloc_fault::Scope fail(0);
    T_PropValsT none = T_ApiAllocatePropVals(3);
    EXPECT_EQ(none.count, 0u);
    EXPECT_EQ(none.items, nullptr);
}

TEST(PropList, AppendReplacesInPlaceAndCopiesDeeply) {
    T_PropValsT list{};
    T_ApiAppendIntProp(&list, 5, 1);
    T_ApiAppendMetricProp(&list, 7, 0x18000);
    char text[] = "mine";
    T_ApiAppendStringProp(&list, 5, text);  // replaces the int: released, same place
    text[0] = 'X';
    ASSERT_EQ(list.count, 2u);
    EXPECT_EQ(list.items[0].ident.num, 5);
    EXPECT_EQ(list.items[0].value.kind, 3);
    EXPECT_STREQ(list.items[0].value.u.string, "mine");
    EXPECT_EQ(list.items[1].value.kind, 2);
    EXPECT_EQ(list.items[1].value.u.metric, 0x18000);

    T_ApiAppendStringProp(&list, 8, nullptr);
    EXPECT_STREQ(list.items[2].value.u.string, "");
    T_StringsT mine = samples::strings({"p", "q"});
    T_ApiAppendStringsProp(&list, 9, &mine);
    EXPECT_EQ(list.items[3].value.kind, 6);
    EXPECT_NE(list.items[3].value.u.strings.items, mine.items);
    EXPECT_TRUE(samples::same(list.items[3].value.u.strings, mine));
    T_ApiDeallocateStrings(&mine);

    // A value taken from the list itself survives both the replacement and
    // the growth that may move the array.
    T_ApiAppendVal(&list, 9, &list.items[3].value);
    T_ApiAppendVal(&list, 10, &list.items[0].value);
    EXPECT_STREQ(list.items[4].value.u.string, "mine");
    EXPECT_STREQ(list.items[3].value.u.strings.items[1], "q");
    T_ApiDeallocatePropVals(&list);
    T_ApiDeallocatePropVals(&list);
    EXPECT_EQ(list.items, nullptr);
}

TEST(PropList, GrowthReallocatesOnEveryAddedEntry) {
    T_PropValsT list{};
    const unsigned start = alloc_fault::counters().reallocs;
    const size_t expected[] = {8, 8, 8, 8, 8, 8, 8, 8, 16, 16, 16, 16, 16, 16, 16, 16, 32};
    for (int i = 0; i < 17; ++i) {
        T_ApiAppendIntProp(&list, 100 + i, i);
        EXPECT_EQ(capacity_of_last_growth(), expected[i]) << "entry " << i;
    }
    EXPECT_EQ(alloc_fault::counters().reallocs - start, 17u);
    T_ApiAppendIntProp(&list, 104, -1);  // replacement: no reallocation
    EXPECT_EQ(alloc_fault::counters().reallocs - start, 17u);
    for (int i = 17; i < 33; ++i) T_ApiAppendIntProp(&list, 100 + i, i);
    EXPECT_EQ(capacity_of_last_growth(), 64u);
    EXPECT_EQ(list.count, 33u);
    EXPECT_EQ(list.items[4].value.u.ival, -1);
    T_ApiDeallocatePropVals(&list);
}

TEST(PropList, FailedGrowthLeavesListUnchanged) {
    T_PropValsT list{};
    T_ApiAppendStringProp(&list, 1, "kept");
    T_PropValT *const before = list.items;
    T_TypedValT v = samples::value(6);
    {
        // The value's copy succeeds (4 requests), the growth fails; the copy
        // must not leak.
        alloc_fault::Scope fail(4);
        EXPECT_EQ(T_ApiAppendVal(&list, 2, &v), nullptr);
    }
    EXPECT_EQ(list.count, 1u);
    EXPECT_EQ(list.items, before);
    EXPECT_STREQ(list.items[0].value.u.string, "kept");
    T_ApiDeallocateVal(&v);
    T_ApiDeallocatePropVals(&list);

    T_PropValsT empty{};
    {
        alloc_fault::Scope fail(0, 100);
        T_ApiAppendIntProp(&empty, 1, 1);
    }
    EXPECT_EQ(empty.count, 0u);
    EXPECT_EQ(empty.items, nullptr);
}

TEST(PropList, CountWithoutArrayIsTakenAsEmpty) {
    T_PropValsT broken{5, nullptr};
    T_ApiAppendIntProp(&broken, 3, 30);
    ASSERT_EQ(broken.count, 1u);
    EXPECT_EQ(broken.items[0].value.u.ival, 30);
    T_ApiDeallocatePropVals(&broken);
}
