// Copies and releases of the counted lists and of the records inside them.
// Each copy is checked to be equal to its source and independent of it: the
// source is released before the copy is read again (the sanitizer build turns
// any shared memory into a use-after-free or double free).
#include <gtest/gtest.h>
#include <tarnel/tnapi_values.h>

#include "alloc_fault.h"
#include "samples.h"

namespace {

template <typename List, typename Copy, typename Release, typename Same>
void check_round_trip(List (*make)(), Copy copy, Release release, Same same) {
    List source = make();
    List copy1 = copy(&source);
    ASSERT_NE(copy1.items, source.items);
    EXPECT_TRUE(same(copy1, source));
    release(&source);
    List fresh = make();
    EXPECT_TRUE(same(copy1, fresh));
    release(&fresh);
    release(&copy1);
    EXPECT_EQ(copy1.count, 0u);
    EXPECT_EQ(copy1.items, nullptr);
    release(&copy1);  // second release: nothing left to do
    release(static_cast<List *>(nullptr));
}

// The list held by a sample value of the kind, taken over from it.
#define SAMPLE_LIST(name, kind, member)                  \
    decltype(T_TypedValT{}.u.member) name() {            \
        return samples::value(kind).u.member;            \
    }
SAMPLE_LIST(sample_metrics, 5, metrics)
SAMPLE_LIST(sample_points, 7, points)
SAMPLE_LIST(sample_catalog, 12, catalog)
SAMPLE_LIST(sample_ints, 13, ints)
SAMPLE_LIST(sample_uints, 15, uints)
SAMPLE_LIST(sample_ubytes, 14, ubytes)
#undef SAMPLE_LIST

T_StringsT sample_strings() { return samples::strings({"a", "bc", "", "d"}); }

}  // namespace

TEST(ListCopy, FlatListsRoundTrip) {
    check_round_trip(sample_ubytes, T_ApiCopyUBytes, T_ApiDeallocateUBytes, samples::same_flat<T_UBytesT>);
    check_round_trip(sample_metrics, T_ApiCopyMetrics, T_ApiDeallocateMetrics, samples::same_flat<T_MetricsT>);
    check_round_trip(sample_ints, T_ApiCopyInts, T_ApiDeallocateInts, samples::same_flat<T_IntsT>);
    check_round_trip(sample_uints, T_ApiCopyUInts, T_ApiDeallocateUInts, samples::same_flat<T_UIntsT>);
    check_round_trip(sample_points, T_ApiCopyPoints, T_ApiDeallocatePoints, samples::same_flat<T_PointsT>);
    check_round_trip(sample_catalog, T_ApiCopyElementCatalogEntries,
                     T_ApiDeallocateElementCatalogEntries, samples::same_flat<T_ElementCatalogEntriesT>);
    check_round_trip(samples::fonts, T_ApiCopyFonts, T_ApiDeallocateFonts, samples::same_flat<T_FontsT>);
    check_round_trip(samples::combined_fonts, T_ApiCopyCombinedFonts, T_ApiDeallocateCombinedFonts,
                     samples::same_flat<T_CombinedFontsT>);
}

TEST(ListCopy, NestedListsRoundTrip) {
    auto same_strings = [](const T_StringsT &a, const T_StringsT &b) { return samples::same(a, b); };
    auto same_tabs = [](const T_TabsT &a, const T_TabsT &b) { return samples::same(a, b); };
    auto same_defs = [](const T_AttributeDefsT &a, const T_AttributeDefsT &b) { return samples::same(a, b); };
    auto same_attrs = [](const T_AttributesT &a, const T_AttributesT &b) { return samples::same(a, b); };
    check_round_trip(sample_strings, T_ApiCopyStrings, T_ApiDeallocateStrings, same_strings);
    check_round_trip(samples::tabs, T_ApiCopyTabs, T_ApiDeallocateTabs, same_tabs);
    check_round_trip(samples::attribute_defs, T_ApiCopyAttributeDefs, T_ApiDeallocateAttributeDefs, same_defs);
    check_round_trip(samples::attributes, T_ApiCopyAttributes, T_ApiDeallocateAttributes, same_attrs);
}

TEST(ListCopy, NullStringsBecomeEmptyStrings) {
    T_StringsT source = samples::strings({"x", nullptr, "z"});
    T_StringsT copy = T_ApiCopyStrings(&source);
    ASSERT_EQ(copy.count, 3u);
    ASSERT_NE(copy.items[1], nullptr);
    EXPECT_STREQ(copy.items[1], "");
    EXPECT_STREQ(copy.items[2], "z");
    T_ApiDeallocateStrings(&source);
    T_ApiDeallocateStrings(&copy);
}

TEST(ListCopy, ElementRecordsCopyAndReleaseAlone) {
    T_TabsT tabs = samples::tabs();
    T_TabT tab = T_ApiCopyTab(&tabs.items[1]);
    EXPECT_EQ(tab.position, 20);
    EXPECT_EQ(tab.kind, 3);
    EXPECT_EQ(tab.mark, 4);
    EXPECT_STREQ(tab.text, "tab two");
    EXPECT_NE(tab.text, tabs.items[1].text);
    T_ApiDeallocateTab(&tab);
    T_ApiDeallocateTab(&tab);
    T_ApiDeallocateTab(nullptr);
    EXPECT_EQ(tab.text, nullptr);
    T_ApiDeallocateTabs(&tabs);

    T_AttributeDefsT defs = samples::attribute_defs();
    T_AttributeDefT def = T_ApiCopyAttributeDef(&defs.items[1]);
    T_ApiDeallocateAttributeDefs(&defs);
    EXPECT_STREQ(def.name, "Role");
    EXPECT_STREQ(def.list1.items[1], "two");
    T_ApiDeallocateAttributeDef(&def);
    EXPECT_EQ(def.name, nullptr);
    EXPECT_EQ(def.list2.items, nullptr);
    EXPECT_EQ(def.text2, nullptr);

    T_AttributesT attrs = samples::attributes();
    T_AttributeT attr = T_ApiCopyAttribute(&attrs.items[1]);
    T_ApiDeallocateAttributes(&attrs);
    EXPECT_STREQ(attr.name, "Lang");
    EXPECT_EQ(attr.values.count, 2u);
    EXPECT_EQ(attr.flag1, 1);
    T_ApiDeallocateAttribute(&attr);
    T_ApiDeallocateAttribute(&attr);
    T_ApiDeallocateAttribute(nullptr);
    EXPECT_EQ(attr.values.count, 0u);
}

TEST(ListCopy, EmptyAndArraylessSources) {
    T_StringsT noArray{5, nullptr};
    T_ApiDeallocateStrings(&noArray);  // nothing to release, count cleared
    EXPECT_EQ(noArray.count, 0u);
    T_IntsT empty{};
    T_IntsT copy = T_ApiCopyInts(&empty);
    EXPECT_EQ(copy.count, 0u);
    T_ApiDeallocateInts(&copy);
    // A count without array copies as that many zero-filled elements.
    T_StringsT three{3, nullptr};
    T_StringsT zeros = T_ApiCopyStrings(&three);
    ASSERT_EQ(zeros.count, 3u);
    EXPECT_EQ(zeros.items[2], nullptr);
    T_ApiDeallocateStrings(&zeros);
}

TEST(ListCopy, ExhaustedMemory) {
    T_IntsT ints = sample_ints();
    T_AttributesT attrs = samples::attributes();
    {
        alloc_fault::Scope fail(0);
        T_IntsT copy = T_ApiCopyInts(&ints);  // array fails: a valid empty list
        EXPECT_EQ(copy.count, 0u);
        EXPECT_EQ(copy.items, nullptr);
    }
    {
        // Array and the last attribute's name succeed; its values' array fails.
        alloc_fault::Scope fail(2);
        T_AttributesT copy = T_ApiCopyAttributes(&attrs);
        ASSERT_EQ(copy.count, 3u);
        EXPECT_STREQ(copy.items[2].name, "Rev");
        EXPECT_EQ(copy.items[2].values.count, 0u);
        EXPECT_EQ(copy.items[1].values.count, 2u);
        T_ApiDeallocateAttributes(&copy);
    }
    T_ApiDeallocateInts(&ints);
    T_ApiDeallocateAttributes(&attrs);
}
