// Results are handed over from the stub's reply area, which every call of
// the same request reuses: a result kept from one call must come through the
// next call complete and apart from it, and be released as ever.
#include "call_table.h"

namespace requests_test {
namespace {

template <typename T> using Routine = bool_t (*)(XDR *, T *);

const void *storage(StringT s) { return s; }
template <typename List> const void *storage(const List &l) { return l.items; }

// Calls `get` twice, keeping the first result through the second call; both
// must encode as `expected` and share no storage.
template <typename T>
void keptThroughSecondCall(const char *name, T (*get)(), Routine<T> xdr, void (*release)(T *), std::string expected) {
    SCOPED_TRACE(name);
    T first = get();
    T second = get();
    EXPECT_EQ(hexOf(reinterpret_cast<xdrproc_t>(xdr), &first), expected);
    EXPECT_EQ(hexOf(reinterpret_cast<xdrproc_t>(xdr), &second), expected);
    EXPECT_NE(storage(first), storage(second));
    release(&first);
    release(&second);
}

template <typename T> std::string encoded(Routine<T> xdr, T value) { return sent(xdr, value); }

TEST(MovedResults, KeptResultSurvivesTheNextCall) {
    // Document 1: its text (object 1) and plain objects 2 and 3.
    const json plain = {{"type", 3}};
    ServedHost host(json::array(), {{"documents", json::array({{{"name", "moved.doc"},
                                                                {"text", "Hello world"},
                                                                {"objects", json::array({plain, plain})}}})}});
    ASSERT_TRUE(host.ready()) << host.text();
    StringT strItems[] = {S("a"), S("bc")};
    T_StringsT strs = {2, strItems};
    T_ApiSetStrings(1, 2, 204, &strs);
    T_ApiSetString(1, 2, 203, S("Alert"));
    T_PropValT propItems[] = {{{0, S("n")}, {}}, {{210, nullptr}, {}}};
    propItems[0].value.kind = TA_KIND_STRING, propItems[0].value.u.string = S("s");
    propItems[1].value.kind = TA_KIND_STRINGS, propItems[1].value.u.strings = strs;
    T_PropValsT props = {2, propItems};
    T_ApiSetProps(1, 3, &props);

    keptThroughSecondCall(
        "props", +[] { return T_ApiGetProps(1, 3); }, xdr_T_PropValsT, T_ApiDeallocatePropVals,
        encoded(xdr_T_PropValsT, props));
    keptThroughSecondCall(
        "strings", +[] { return T_ApiGetStrings(1, 2, 204); }, xdr_T_StringsT, T_ApiDeallocateStrings,
        encoded(xdr_T_StringsT, strs));
    keptThroughSecondCall(
        "string", +[] { return T_ApiGetString(1, 2, 203); }, xdr_StringT, T_ApiDeallocateString,
        encoded(xdr_StringT, S("Alert")));
    TextItemT textItems[] = {{0, {1, {S("Hello world")}}}};
    keptThroughSecondCall(
        "text", +[] { return T_ApiGetText(1, 1, 0); }, xdr_TextItemsT, T_ApiDeallocateTextItems,
        encoded(xdr_TextItemsT, TextItemsT{1, textItems}));

    // An empty text list keeps the one-item array it has always come with.
    static T_TextRangeT none = {{1, 3}, {1, 3}};
    TextItemsT empty = T_ApiGetTextForRange(1, &none, 0);
    EXPECT_EQ(empty.count, 0u);
    EXPECT_NE(empty.items, nullptr);
    T_ApiDeallocateTextItems(&empty);
}

}  // namespace
}  // namespace requests_test
