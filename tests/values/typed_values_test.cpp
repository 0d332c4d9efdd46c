// Typed values of every kind, property entries and lists, and text items:
// deep copies that share nothing with their source, and releases that leave
// the empty state.
#include <gtest/gtest.h>
#include <tarnel/tnapi_values.h>

#include "alloc_fault.h"
#include "samples.h"

namespace {

// Whether the kind's value owns memory (so a release must empty it).
bool owns(int kind) { return kind == 3 || kind == 5 || kind == 6 || kind == 7 || kind == 8 ||
                             (kind >= 12 && kind <= 15) || kind == 17 || kind == 18 || kind == 19; }

}  // namespace

TEST(TypedVal, EveryKindCopiesDeeplyAndReleases) {
    for (int kind : samples::all_kinds()) {
        SCOPED_TRACE(kind);
        T_TypedValT source = samples::value(kind);
        T_TypedValT copy = T_ApiCopyVal(&source);
        EXPECT_TRUE(samples::same(copy, source));
        T_ApiDeallocateVal(&source);
        T_TypedValT fresh = samples::value(kind);
        EXPECT_TRUE(samples::same(copy, fresh));  // reads the copy after the source is gone
        T_ApiDeallocateVal(&fresh);

        T_TypedValT before = copy;
        T_ApiDeallocateVal(&copy);
        EXPECT_EQ(copy.kind, kind);
        if (kind == 3) {
            EXPECT_EQ(copy.u.string, nullptr);
        } else if (kind == 19) {
            EXPECT_EQ(copy.u.elementRange, nullptr);
        } else if (owns(kind)) {
            // Every list arm is laid out as count then items.
            EXPECT_EQ(copy.u.ints.count, 0u);
            EXPECT_EQ(copy.u.ints.items, nullptr);
        } else {
            EXPECT_TRUE(samples::same(copy, before));  // scalar kinds: untouched
        }
        T_ApiDeallocateVal(&copy);
    }
    T_ApiDeallocateVal(nullptr);
}

TEST(TypedVal, NullStringAndNullRange) {
    T_TypedValT s{};
    s.kind = 3;
    T_TypedValT sc = T_ApiCopyVal(&s);
    ASSERT_NE(sc.u.string, nullptr);
    EXPECT_STREQ(sc.u.string, "");
    T_ApiDeallocateVal(&sc);

    T_TypedValT r = samples::value(19, true);
    T_TypedValT rc = T_ApiCopyVal(&r);
    EXPECT_EQ(rc.kind, 19);
    EXPECT_EQ(rc.u.elementRange, nullptr);
    T_ApiDeallocateVal(&rc);

    T_TypedValT full = samples::value(19);
    {
        alloc_fault::Scope fail(0);
        T_TypedValT failed = T_ApiCopyVal(&full);
        EXPECT_EQ(failed.kind, 19);
        EXPECT_EQ(failed.u.elementRange, nullptr);
    }
    T_TypedValT copy = T_ApiCopyVal(&full);
    EXPECT_NE(copy.u.elementRange, full.u.elementRange);
    EXPECT_EQ(copy.u.elementRange->end.offset, -6);
    T_ApiDeallocateVal(&full);
    T_ApiDeallocateVal(&copy);
}

TEST(PropVal, NamesAndNullSource) {
    T_PropValT named{{0, T_ApiCopyString("Color")}, samples::value(6)};
    T_PropValT c1 = T_ApiCopyPropVal(&named);
    EXPECT_NE(c1.ident.name, named.ident.name);
    EXPECT_STREQ(c1.ident.name, "Color");
    T_ApiDeallocatePropVal(&named);
    EXPECT_EQ(named.ident.name, nullptr);
    EXPECT_EQ(named.value.u.strings.items, nullptr);
    EXPECT_STREQ(c1.value.u.strings.items[1], "bc");
    T_ApiDeallocatePropVal(&c1);
    T_ApiDeallocatePropVal(&c1);
    T_ApiDeallocatePropVal(nullptr);

    T_PropValT numbered{{12, nullptr}, samples::value(1)};
    T_PropValT c2 = T_ApiCopyPropVal(&numbered);
    EXPECT_EQ(c2.ident.num, 12);
    EXPECT_EQ(c2.ident.name, nullptr);  // a missing name stays missing

    T_PropValT c3 = T_ApiCopyPropVal(nullptr);
    EXPECT_EQ(c3.ident.num, 0);
    EXPECT_EQ(c3.ident.name, nullptr);
    EXPECT_EQ(c3.value.kind, 1);
    EXPECT_EQ(c3.value.u.ival, 0);
}

TEST(PropVals, WholeListCopiesEveryKind) {
    T_PropValsT source = samples::prop_vals();
    T_PropValsT copy = T_ApiCopyPropVals(&source);
    EXPECT_NE(copy.items, source.items);
    EXPECT_TRUE(samples::same(copy, source));
    T_ApiDeallocatePropVals(&source);
    T_PropValsT fresh = samples::prop_vals();
    EXPECT_TRUE(samples::same(copy, fresh));
    T_ApiDeallocatePropVals(&fresh);
    T_ApiDeallocatePropVals(&copy);
    T_ApiDeallocatePropVals(&copy);
    T_ApiDeallocatePropVals(nullptr);
    EXPECT_EQ(copy.count, 0u);

    T_PropValsT noArray{4, nullptr};
    T_PropValsT empty = T_ApiCopyPropVals(&noArray);
    EXPECT_EQ(empty.count, 0u);
    EXPECT_EQ(empty.items, nullptr);
    empty = T_ApiCopyPropVals(nullptr);
    EXPECT_EQ(empty.count, 0u);
    T_ApiDeallocatePropVals(&noArray);  // releases nothing, clears the count
    EXPECT_EQ(noArray.count, 0u);
}

TEST(TextItems, CopyReleaseAndEmptyList) {
    TextItemsT source = samples::text_items();
    TextItemsT copy = T_ApiCopyTextItems(&source);
    EXPECT_TRUE(samples::same(copy, source));
    EXPECT_NE(copy.items[0].data.u.text, source.items[0].data.u.text);
    T_ApiDeallocateTextItems(&source);
    EXPECT_EQ(copy.items[1].data.u.value, 42);
    EXPECT_STREQ(copy.items[0].data.u.text, "Hello");
    T_ApiDeallocateTextItems(&copy);
    T_ApiDeallocateTextItems(&copy);
    T_ApiDeallocateTextItems(nullptr);

    TextItemT nullText{3, {1, {}}};
    TextItemT one = T_ApiCopyTextItem(&nullText);
    EXPECT_STREQ(one.data.u.text, "");
    T_ApiDeallocateTextItem(&one);
    EXPECT_EQ(one.data.u.text, nullptr);
    TextItemT none = T_ApiCopyTextItem(nullptr);
    EXPECT_EQ(none.offset, 0);
    EXPECT_EQ(none.data.kind, 1);
    EXPECT_EQ(none.data.u.text, nullptr);

    TextItemsT empty{};
    TextItemsT emptyCopy = T_ApiCopyTextItems(&empty);
    EXPECT_EQ(emptyCopy.count, 0u);
    EXPECT_NE(emptyCopy.items, nullptr);  // the one-item array
    T_ApiDeallocateTextItems(&emptyCopy);
    EXPECT_EQ(emptyCopy.items, nullptr);

    alloc_fault::Scope fail(0);
    TextItemsT failed = T_ApiAllocateTextItems(2);
    EXPECT_EQ(failed.count, 0u);
    EXPECT_EQ(failed.items, nullptr);
}

TEST(AllocationFailure, EveryPointOfADeepCopyLeavesValidValues) {
    // Fails each request of a copy in turn; every partial copy must release
    // cleanly (the sanitizer build checks for leaks and stray accesses).
    T_PropValsT props = samples::prop_vals();
    const unsigned points = alloc_fault::each_failure_point([&] {
        T_PropValsT copy = T_ApiCopyPropVals(&props);
        T_ApiDeallocatePropVals(&copy);
    });
    EXPECT_GT(points, 40u);
    TextItemsT items = samples::text_items();
    alloc_fault::each_failure_point([&] {
        TextItemsT copy = T_ApiCopyTextItems(&items);
        T_ApiDeallocateTextItems(&copy);
    });
    std::vector<T_TypedValT> values;
    for (int kind : samples::all_kinds()) values.push_back(samples::value(kind));
    alloc_fault::each_failure_point([&] {
        T_PropValsT list{};
        for (const T_TypedValT &v : values) T_ApiAppendVal(&list, v.kind, &v);
        T_ApiDeallocatePropVals(&list);
    });
    for (T_TypedValT &v : values) T_ApiDeallocateVal(&v);
    T_ApiDeallocatePropVals(&props);
    T_ApiDeallocateTextItems(&items);
}
