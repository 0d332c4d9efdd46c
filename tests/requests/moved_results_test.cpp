// Results are handed over from the stub's reply area, which the next call of
// the same request reuses: a kept result must come through it complete and
// apart, and be released as ever.
#include "call_table.h"

namespace requests_test {
namespace {

const void *storage(StringT s) { return s; }
template <typename List> const void *storage(const List &l) { return l.items; }

template <typename T>
void keptThroughSecondCall(T (*get)(), bool_t (*xdr)(XDR *, T *), void (*release)(T *), const T &expected) {
    T first = get(), second = get();
    EXPECT_EQ(sent(xdr, first), sent(xdr, expected));
    EXPECT_EQ(sent(xdr, second), sent(xdr, expected));
    EXPECT_NE(storage(first), storage(second));
    release(&first), release(&second);
}

TEST(MovedResults, KeptResultSurvivesTheNextCall) {
    const json plain = {{"type", 3}};  // objects 2 and 3 of document 1, whose text is object 1
    ServedHost host(json::array(), {{"documents", json::array({{{"name", "moved.doc"},
                                                                {"text", "Hello world"},
                                                                {"objects", json::array({plain, plain})}}})}});
    ASSERT_TRUE(host.ready()) << host.text();
    static StringT strItems[] = {S("a"), S("bc")};
    static T_StringsT strs = {2, strItems};
    static T_PropValT propItems[] = {{{0, S("n")}, {3, {.string = S("s")}}}, {{210, nullptr}, {6, {.strings = strs}}}};
    static T_PropValsT props = {2, propItems};
    static TextItemT textItems[] = {{0, {1, {S("Hello world")}}}};
    T_ApiSetStrings(1, 2, 204, &strs);
    T_ApiSetString(1, 2, 203, S("Alert"));
    T_ApiSetProps(1, 3, &props);

    keptThroughSecondCall(+[] { return T_ApiGetProps(1, 3); }, xdr_T_PropValsT, T_ApiDeallocatePropVals, props);
    keptThroughSecondCall(+[] { return T_ApiGetStrings(1, 2, 204); }, xdr_T_StringsT, T_ApiDeallocateStrings, strs);
    keptThroughSecondCall(+[] { return T_ApiGetString(1, 2, 203); }, xdr_StringT, T_ApiDeallocateString, S("Alert"));
    keptThroughSecondCall(+[] { return T_ApiGetText(1, 1, 0); }, xdr_TextItemsT, T_ApiDeallocateTextItems,
                          TextItemsT{1, textItems});

    // An empty text list keeps the one-item array it has always come with.
    T_TextRangeT none = {{1, 3}, {1, 3}};
    TextItemsT empty = T_ApiGetTextForRange(1, &none, 0);
    EXPECT_EQ(empty.count, 0u);
    EXPECT_NE(empty.items, nullptr);
    T_ApiDeallocateTextItems(&empty);
}

}  // namespace
}  // namespace requests_test
