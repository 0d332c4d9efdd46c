// Deep copies and releases of every value type and every typed-value kind.
#include <gtest/gtest.h>
#include <tarnel/tnapi_values.h>

#include "alloc_fault.h"
#include "samples.h"

using samples::round_trip;
using samples::value;

namespace {

template <typename List> void expect_empty(const List &l) {
    EXPECT_EQ(l.count, 0u);
    EXPECT_EQ(l.items, nullptr);
}

}  // namespace

TEST(Copies, EveryListType) {
    expect_empty(round_trip(value(6).u.strings, T_ApiCopyStrings, T_ApiDeallocateStrings, xdr_T_StringsT));
    expect_empty(round_trip(value(14).u.ubytes, T_ApiCopyUBytes, T_ApiDeallocateUBytes, xdr_T_UBytesT));
    expect_empty(round_trip(value(5).u.metrics, T_ApiCopyMetrics, T_ApiDeallocateMetrics, xdr_T_MetricsT));
    expect_empty(round_trip(value(13).u.ints, T_ApiCopyInts, T_ApiDeallocateInts, xdr_T_IntsT));
    expect_empty(round_trip(value(15).u.uints, T_ApiCopyUInts, T_ApiDeallocateUInts, xdr_T_UIntsT));
    expect_empty(round_trip(value(7).u.points, T_ApiCopyPoints, T_ApiDeallocatePoints, xdr_T_PointsT));
    expect_empty(round_trip(value(12).u.catalog, T_ApiCopyElementCatalogEntries,
                            T_ApiDeallocateElementCatalogEntries, xdr_T_ElementCatalogEntriesT));
    expect_empty(round_trip(samples::fonts(), T_ApiCopyFonts, T_ApiDeallocateFonts, xdr_T_FontsT));
    expect_empty(round_trip(samples::combined_fonts(), T_ApiCopyCombinedFonts,
                            T_ApiDeallocateCombinedFonts, xdr_T_CombinedFontsT));
    expect_empty(round_trip(value(8).u.tabs, T_ApiCopyTabs, T_ApiDeallocateTabs, xdr_T_TabsT));
    expect_empty(round_trip(value(17).u.attributeDefs, T_ApiCopyAttributeDefs,
                            T_ApiDeallocateAttributeDefs, xdr_T_AttributeDefsT));
    expect_empty(round_trip(value(18).u.attributes, T_ApiCopyAttributes, T_ApiDeallocateAttributes,
                            xdr_T_AttributesT));
    expect_empty(round_trip(samples::prop_vals(), T_ApiCopyPropVals, T_ApiDeallocatePropVals, xdr_T_PropValsT));
    expect_empty(round_trip(samples::text_items(), T_ApiCopyTextItems, T_ApiDeallocateTextItems, xdr_TextItemsT));
}

TEST(Copies, ElementRecords) {
    const T_TabT tab = round_trip(value(8).u.tabs.items[1], T_ApiCopyTab, T_ApiDeallocateTab, xdr_T_TabT);
    EXPECT_EQ(tab.text, nullptr);
    const T_AttributeDefT def = round_trip(value(17).u.attributeDefs.items[0], T_ApiCopyAttributeDef,
                                           T_ApiDeallocateAttributeDef, xdr_T_AttributeDefT);
    EXPECT_EQ(def.name, nullptr);
    EXPECT_EQ(def.list1.items, nullptr);
    EXPECT_EQ(def.text2, nullptr);
    const T_AttributeT attr = round_trip(value(18).u.attributes.items[0], T_ApiCopyAttribute,
                                         T_ApiDeallocateAttribute, xdr_T_AttributeT);
    EXPECT_EQ(attr.values.count, 0u);
    const T_PropValT entry =
        round_trip(samples::prop_vals().items[0], T_ApiCopyPropVal, T_ApiDeallocatePropVal, xdr_T_PropValT);
    EXPECT_EQ(entry.ident.name, nullptr);
    const TextItemT item = round_trip(samples::text_items().items[0], T_ApiCopyTextItem,
                                      T_ApiDeallocateTextItem, xdr_TextItemT);
    EXPECT_EQ(item.data.u.text, nullptr);
}

TEST(Copies, EveryKindOfTypedValue) {
    for (int kind : samples::all_kinds()) {
        SCOPED_TRACE(kind);
        const T_TypedValT sample = value(kind);
        const T_TypedValT released = round_trip(sample, T_ApiCopyVal, T_ApiDeallocateVal, xdr_T_TypedValT);
        EXPECT_EQ(released.kind, kind);
        if (kind == 3 || kind == 19) {
            EXPECT_EQ(kind == 3 ? static_cast<void *>(released.u.string) : released.u.elementRange, nullptr);
        } else if ((kind >= 5 && kind <= 8) || (kind >= 12 && kind <= 15) || kind == 17 || kind == 18) {
            expect_empty(released.u.ints);  // every list arm is count, then items
        } else {
            EXPECT_EQ(samples::wire(xdr_T_TypedValT, released), samples::wire(xdr_T_TypedValT, sample));
        }
    }
}

TEST(Copies, NullsAndEmptySources) {
    StringT withNull[] = {nullptr};
    const T_StringsT nulls{1, withNull};
    T_StringsT strings = T_ApiCopyStrings(&nulls);
    EXPECT_STREQ(strings.items[0], "");  // a null string is copied as an empty one
    T_ApiDeallocateStrings(&strings);

    T_TypedValT range{};
    range.kind = 19;  // null range stays null
    EXPECT_EQ(T_ApiCopyVal(&range).u.elementRange, nullptr);

    const T_PropValT byNumber{{12, nullptr}, value(1)};
    EXPECT_EQ(T_ApiCopyPropVal(&byNumber).ident.name, nullptr);  // a missing name stays missing
    const T_PropValT none = T_ApiCopyPropVal(nullptr);
    EXPECT_TRUE(none.ident.num == 0 && none.ident.name == nullptr && none.value.kind == 1 &&
                none.value.u.ival == 0);
    TextItemT noItem = T_ApiCopyTextItem(nullptr);
    EXPECT_TRUE(noItem.offset == 0 && noItem.data.kind == 1 && noItem.data.u.text == nullptr);
    const TextItemT nullText{3, {1, {}}};
    TextItemT item = T_ApiCopyTextItem(&nullText);
    EXPECT_STREQ(item.data.u.text, "");
    T_ApiDeallocateTextItem(&item);

    // A count without array: released as empty, copied as empty (property
    // and text-item lists) or as zero-filled elements (other lists).
    T_PropValsT noProps{4, nullptr};
    expect_empty(T_ApiCopyPropVals(&noProps));
    T_ApiDeallocatePropVals(&noProps);
    expect_empty(noProps);
    T_StringsT strs{3, nullptr};
    T_StringsT zeros = T_ApiCopyStrings(&strs);
    EXPECT_EQ(zeros.count, 3u);
    EXPECT_EQ(zeros.items[2], nullptr);
    T_ApiDeallocateStrings(&zeros);
    T_ApiDeallocateStrings(&strs);
    expect_empty(strs);

    const TextItemsT noItems{};
    TextItemsT copy = T_ApiCopyTextItems(&noItems);
    EXPECT_EQ(copy.count, 0u);
    EXPECT_NE(copy.items, nullptr);  // an empty text-item list still has an array
    T_ApiDeallocateTextItems(&copy);
    expect_empty(copy);
}

TEST(Copies, ExhaustedMemory) {
    const T_TypedValT ints = value(13), range = value(19), attrs = value(18);
    const T_PropValsT props = samples::prop_vals();
    const TextItemsT items = samples::text_items();
    {
        alloc_fault::Scope fail(0, 100);
        expect_empty(T_ApiCopyInts(&ints.u.ints));
        expect_empty(T_ApiCopyPropVals(&props));
        expect_empty(T_ApiAllocateTextItems(2));
        EXPECT_EQ(T_ApiCopyVal(&range).u.elementRange, nullptr);
    }
    {
        // The array and the last attribute's name pass, the first name fails;
        // the rest of the copy proceeds.
        alloc_fault::Scope fail(2);
        T_AttributesT copy = T_ApiCopyAttributes(&attrs.u.attributes);
        ASSERT_EQ(copy.count, 2u);
        EXPECT_STREQ(copy.items[1].name, "Alert");
        EXPECT_EQ(copy.items[0].name, nullptr);
        EXPECT_EQ(copy.items[0].values.count, 3u);
        T_ApiDeallocateAttributes(&copy);
    }
    // Each request of a deep copy failing in turn: every partial copy must
    // release cleanly (the sanitizer build checks leaks and stray accesses).
    EXPECT_GT(alloc_fault::each_failure_point([&] {
        T_PropValsT copy = T_ApiCopyPropVals(&props);
        T_ApiDeallocatePropVals(&copy);
    }), 40u);
    alloc_fault::each_failure_point([&] {
        TextItemsT copy = T_ApiCopyTextItems(&items);
        T_ApiDeallocateTextItems(&copy);
    });
}
