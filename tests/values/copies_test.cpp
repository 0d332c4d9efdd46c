// Deep copies and releases of every value type and every typed-value kind.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "alloc_fault.h"
#include "support/values.h"

using namespace tv;

namespace {

template <typename List> void expect_empty(const List &l) {
    EXPECT_EQ(l.count, 0u);
    EXPECT_EQ(l.items, nullptr);
}

// Copies the sample, copies that copy, releases the first and checks that
// the second still holds the sample (the sanitizer build turns any shared
// memory into a use-after-free), then that releasing both gave back every
// block. Returns the second copy, released twice.
template <typename T, typename Copy, typename Release>
T round_trip(const T &sample, Copy copy, Release release, Proc<T> proc) {
    const long live = alloc_fault::counters().live;
    T first = copy(&sample), second = copy(&first);
    EXPECT_EQ(encode(proc, first), encode(proc, sample));
    release(&first);
    EXPECT_EQ(encode(proc, second), encode(proc, sample));
    release(&second);
    release(&second);
    release(static_cast<T *>(nullptr));
    EXPECT_EQ(alloc_fault::counters().live, live) << "blocks not released";
    return second;
}

}  // namespace

TEST(Copies, EveryListType) {
#define TV_COPIES(L, stem) expect_empty(round_trip(list<L>(), T_ApiCopy##stem, T_ApiDeallocate##stem, xdr_##L))
    TV_COPIES(T_StringsT, Strings);
    TV_COPIES(T_UBytesT, UBytes);
    TV_COPIES(T_MetricsT, Metrics);
    TV_COPIES(T_IntsT, Ints);
    TV_COPIES(T_UIntsT, UInts);
    TV_COPIES(T_PointsT, Points);
    TV_COPIES(T_ElementCatalogEntriesT, ElementCatalogEntries);
    TV_COPIES(T_FontsT, Fonts);
    TV_COPIES(T_CombinedFontsT, CombinedFonts);
    TV_COPIES(T_TabsT, Tabs);
    TV_COPIES(T_AttributeDefsT, AttributeDefs);
    TV_COPIES(T_AttributesT, Attributes);
    TV_COPIES(TextItemsT, TextItems);
#undef TV_COPIES
    expect_empty(round_trip(every_kind_props(), T_ApiCopyPropVals, T_ApiDeallocatePropVals, xdr_T_PropValsT));
}

TEST(Copies, ElementRecords) {
    EXPECT_EQ(round_trip(item<T_TabT>(1), T_ApiCopyTab, T_ApiDeallocateTab, xdr_T_TabT).text, nullptr);
    const T_AttributeDefT def =
        round_trip(item<T_AttributeDefT>(1), T_ApiCopyAttributeDef, T_ApiDeallocateAttributeDef, xdr_T_AttributeDefT);
    EXPECT_TRUE(def.name == nullptr && def.list1.items == nullptr && def.text1 == nullptr);
    const T_AttributeT attr =
        round_trip(item<T_AttributeT>(1), T_ApiCopyAttribute, T_ApiDeallocateAttribute, xdr_T_AttributeT);
    EXPECT_TRUE(attr.name == nullptr && attr.values.count == 0);
    EXPECT_EQ(round_trip(item<T_PropValT>(1), T_ApiCopyPropVal, T_ApiDeallocatePropVal, xdr_T_PropValT).ident.name,
              nullptr);
    EXPECT_EQ(round_trip(item<TextItemT>(1), T_ApiCopyTextItem, T_ApiDeallocateTextItem, xdr_TextItemT).data.u.text,
              nullptr);
}

TEST(Copies, EveryKindOfTypedValue) {
#define TV_SHAPE(num, name, member, shape, stem) {num, #shape},
    const std::map<int, std::string> shapes{TA_VALUE_KINDS(TV_SHAPE)};
#undef TV_SHAPE
    for (int kind : all_kinds()) {
        SCOPED_TRACE(kind);
        const std::string shape = shapes.count(kind) ? shapes.at(kind) : "WORD";
        const T_TypedValT released = round_trip(value(kind), T_ApiCopyVal, T_ApiDeallocateVal, xdr_T_TypedValT);
        EXPECT_EQ(released.kind, kind);
        if (shape == "STRING" || shape == "OPTIONAL")
            EXPECT_EQ(released.u.elementRange, nullptr);  // the pointer is the union's first word either way
        else if (shape == "LIST")
            expect_empty(released.u.ints);  // every list arm is count, then items
        else
            EXPECT_EQ(encode(xdr_T_TypedValT, released), encode(xdr_T_TypedValT, value(kind)));
    }
}

TEST(Copies, NullsAndEmptySources) {
    const T_StringsT nulls = {1, list<T_StringsT>().items + 1};
    T_StringsT strings = T_ApiCopyStrings(&nulls);
    EXPECT_STREQ(strings.items[0], "");  // a null string is copied as an empty one
    T_ApiDeallocateStrings(&strings);

    const T_TypedValT range{TA_KIND_ELEMENT_RANGE, {}};  // a null range stays null
    EXPECT_EQ(T_ApiCopyVal(&range).u.elementRange, nullptr);
    const T_PropValT byNumber{{12, nullptr}, value(TA_KIND_INT)};
    EXPECT_EQ(T_ApiCopyPropVal(&byNumber).ident.name, nullptr);  // a missing name stays missing
    const T_PropValT none = T_ApiCopyPropVal(nullptr);
    EXPECT_TRUE(none.ident.num == 0 && none.ident.name == nullptr && none.value.kind == 1 && none.value.u.ival == 0);
    const TextItemT noItem = T_ApiCopyTextItem(nullptr);
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
    EXPECT_TRUE(zeros.count == 3u && zeros.items[2] == nullptr);
    T_ApiDeallocateStrings(&zeros);
    T_ApiDeallocateStrings(&strs);
    expect_empty(strs);
    const TextItemsT noItems{};
    TextItemsT copy = T_ApiCopyTextItems(&noItems);
    EXPECT_TRUE(copy.count == 0u && copy.items != nullptr);  // an empty text-item list still has an array
    T_ApiDeallocateTextItems(&copy);
    expect_empty(copy);
}

TEST(Copies, ExhaustedMemory) {
    const T_TypedValT ints = value(TA_KIND_INTS), range = value(TA_KIND_ELEMENT_RANGE);
    const T_PropValsT props = every_kind_props();
    {
        alloc_fault::Scope fail(0, 100);
        expect_empty(T_ApiCopyInts(&ints.u.ints));
        expect_empty(T_ApiCopyPropVals(&props));
        expect_empty(T_ApiAllocateTextItems(2));
        EXPECT_EQ(T_ApiCopyVal(&range).u.elementRange, nullptr);
    }
    {
        // Items are copied last first: the array and the whole second
        // attribute pass, the first one's name fails; the rest proceeds.
        alloc_fault::Scope fail(5);
        const T_AttributesT attrs = list<T_AttributesT>();
        T_AttributesT copy = T_ApiCopyAttributes(&attrs);
        ASSERT_EQ(copy.count, 2u);
        EXPECT_STREQ(copy.items[1].name, "");
        EXPECT_TRUE(copy.items[0].name == nullptr && copy.items[0].values.count == 2u);
        T_ApiDeallocateAttributes(&copy);
    }
    // Each request of a deep copy failing in turn: every partial copy must
    // release cleanly (the sanitizer build checks leaks and stray accesses).
    EXPECT_GT(alloc_fault::each_failure_point([&] {
                  T_PropValsT copy = T_ApiCopyPropVals(&props);
                  T_ApiDeallocatePropVals(&copy);
              }),
              40u);
    alloc_fault::each_failure_point([&] {
        const TextItemsT items = list<TextItemsT>();
        TextItemsT copy = T_ApiCopyTextItems(&items);
        T_ApiDeallocateTextItems(&copy);
    });
}
