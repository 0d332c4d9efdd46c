// Property calls of every value kind and the text property calls: what
// travels, and the result when the host accepts (written, then read back),
// refuses or is gone.
#include "call_table.h"

namespace requests_test {
namespace {

using requests_test::shown;

std::string tab(const T_TabT &t) {
    return std::to_string(t.position) + "/" + std::to_string(t.kind) + "/" + quoted(t.text) + "/" +
           std::to_string(t.mark);
}
std::string number(int v) { return std::to_string(v); }
std::string point(const T_PointT &p) { return shown(p); }
std::string typed(const T_TypedValT &v) {
    std::string out = "k" + std::to_string(v.kind);
    switch (v.kind) {
    case 3: return out + quoted(v.u.string);
    case 6: return out + items(v.u.strings, quoted);
    default: return out + " " + std::to_string(v.u.ival);
    }
}
std::string prop(const T_PropValT &p) {
    return (p.ident.num != 0 ? "#" + std::to_string(p.ident.num) : quoted(p.ident.name)) + " " + typed(p.value);
}

std::string byte(unsigned char b) { return number(b); }
std::string shown(T_TypedValT v) { return released(v, typed, T_ApiDeallocateVal); }
std::string shown(T_PropValT v) { return released(v, prop, T_ApiDeallocatePropVal); }
SHOWN_LIST(T_MetricsT, number, T_ApiDeallocateMetrics)
SHOWN_LIST(T_IntsT, number, T_ApiDeallocateInts)
SHOWN_LIST(T_PointsT, point, T_ApiDeallocatePoints)
SHOWN_LIST(T_TabsT, tab, T_ApiDeallocateTabs)
SHOWN_LIST(T_UBytesT, byte, T_ApiDeallocateUBytes)
SHOWN_LIST(T_PropValsT, prop, T_ApiDeallocatePropVals)

const std::string kNull = "null";
const std::string kZeroTyped = "k0 0";

// Document 1 with the text "Hello world" (its own text, location object 1)
// and two plain objects, 2 and 3.
json propsFixture() {
    return {{"documents", json::array({{{"name", "props.doc"},
                                        {"text", "Hello world"},
                                        {"objects", json::array({{{"key", "a"}, {"type", 3}, {"name", "A"}},
                                                                 {{"key", "b"}, {"type", 3}, {"name", "B"}}})}}})}};
}

// Arguments, kept alive for the rows that send them.
StringT strItems[] = {S("a"), S("b")};
T_StringsT strs = {2, strItems};
T_MetricT metricItems[] = {0x10000, -0x8000};
T_MetricsT metrics = {2, metricItems};
T_PointT pointItems[] = {{1, 2}, {3, -4}};
T_PointsT points = {2, pointItems};
T_TabT tabItems[] = {{10, 1, S("x"), 46}};
T_TabsT tabs = {1, tabItems};
int intItems[] = {-1, 5};
T_IntsT ints = {2, intItems};
unsigned char byteItems[] = {0, 1, 255};
T_UBytesT bytes = {3, byteItems};
T_TextLocT textLoc = {1, 3};
T_TextRangeT textRange = {{1, 0}, {1, 5}};
T_ElementRangeT elementRange = {{1, 2, 0}, {1, 2, 3}};
StringT valItems[] = {S("p"), S("q")};
T_TypedValT stringsVal = [] {
    T_TypedValT v{};
    v.kind = 6;
    v.u.strings = {2, valItems};
    return v;
}();
T_TypedValT intVal = [] {
    T_TypedValT v{};
    v.kind = 1;
    v.u.ival = 7;
    return v;
}();
T_TypedValT metricVal = [] {
    T_TypedValT v{};
    v.kind = 2;
    v.u.metric = 0x10000;
    return v;
}();
T_TypedValT stringVal(const char *s) {
    T_TypedValT v{};
    v.kind = 3;
    v.u.string = S(s);
    return v;
}
T_PropValT labelProp = {{0, S("label")}, stringVal("L")};
T_PropValT listItems[] = {{{210, nullptr}, intVal}, {{0, S("n")}, stringVal("s")}};
T_PropValsT list = {2, listItems};
T_PropValT styleProp = {{0, S("style")}, stringVal("bold")};
T_PropValT wideItems[] = {{{301, nullptr}, metricVal}};
T_PropValsT wide = {1, wideItems};
T_TextLocT at2 = {1, 2}, at7 = {1, 7};
T_TextRangeT first5 = {{1, 0}, {1, 5}}, last5 = {{1, 6}, {1, 11}}, all = {{1, 0}, {1, 11}};

T_PropIdentT num(int n) { return {n, nullptr}; }
T_PropIdentT name(const char *n) { return {0, S(n)}; }
ApiTnGetPropArgT read(T_PropIdentT id) { return {1, 2, id}; }

#define GETP(fn, proc, args, accepted, failed, ...)                                                                    \
    GET(fn, proc, args, accepted, failed, xdr_ApiTnGetPropArgT, __VA_ARGS__)

TEST(PropertyCalls, EveryKindWrittenAndReadBack) {
    const std::string zeroLoc = "(0,0)", zeroRange = "(0,0)-(0,0)", zeroElements = "(0,0,0)-(0,0,0)";
    runCalls(
        {
            SET(T_ApiSetInt, 1065, (1, 2, 200, 42), xdr_ApiTnSetIntArgT, 1, 2, num(200), 42),
            GETP(T_ApiGetInt, 1064, (1, 2, 200), "42", "0", read(num(200))),
            SET(T_ApiSetIntByName, 1065, (1, 2, S("count"), 5), xdr_ApiTnSetIntArgT, 1, 2, name("count"), 5),
            GETP(T_ApiGetIntByName, 1064, (1, 2, S("count")), "5", "0", read(name("count"))),
            SET(T_ApiSetId, 1067, (1, 2, 201, 3), xdr_ApiTnSetIdArgT, 1, 2, num(201), 3),
            GETP(T_ApiGetId, 1066, (1, 2, 201), "3u", "0u", read(num(201))),
            SET(T_ApiSetMetric, 1069, (1, 2, 202, 0x18000), xdr_ApiTnSetMetricArgT, 1, 2, num(202), 0x18000),
            GETP(T_ApiGetMetric, 1068, (1, 2, 202), "98304", "0", read(num(202))),
            SET(T_ApiSetMetricByName, 1069, (1, 2, S("width"), -0x10000), xdr_ApiTnSetMetricArgT, 1, 2, name("width"),
                -0x10000),
            GETP(T_ApiGetMetricByName, 1068, (1, 2, S("width")), "-65536", "0", read(name("width"))),
            SET(T_ApiSetString, 1071, (1, 2, 203, S("Alert")), xdr_ApiTnSetStringArgT, 1, 2, num(203), S("Alert")),
            GETP(T_ApiGetString, 1070, (1, 2, 203), "\"Alert\"", kNull, read(num(203))),
            SET(T_ApiSetStrings, 1073, (1, 2, 204, &strs), xdr_ApiTnSetStringsArgT, 1, 2, num(204), strs),
            GETP(T_ApiGetStrings, 1072, (1, 2, 204), "[\"a\" \"b\"]", kNull, read(num(204))),
            SET(T_ApiSetMetrics, 1075, (1, 2, 205, &metrics), xdr_ApiTnSetMetricsArgT, 1, 2, num(205), metrics),
            GETP(T_ApiGetMetrics, 1074, (1, 2, 205), "[65536 -32768]", kNull, read(num(205))),
            SET(T_ApiSetPoints, 1077, (1, 2, 206, &points), xdr_ApiTnSetPointsArgT, 1, 2, num(206), points),
            GETP(T_ApiGetPoints, 1076, (1, 2, 206), "[(1,2) (3,-4)]", kNull, read(num(206))),
            SET(T_ApiSetTabs, 1079, (1, 2, 207, &tabs), xdr_ApiTnSetTabsArgT, 1, 2, num(207), tabs),
            GETP(T_ApiGetTabs, 1078, (1, 2, 207), "[10/1/\"x\"/46]", kNull, read(num(207))),
            SET(T_ApiSetInts, 1093, (1, 2, 208, &ints), xdr_ApiTnSetIntsArgT, 1, 2, num(208), ints),
            GETP(T_ApiGetInts, 1092, (1, 2, 208), "[-1 5]", kNull, read(num(208))),
            SET(T_ApiSetUBytesByName, 1084, (1, 2, S("bytes"), &bytes), xdr_ApiTnSetUBytesArgT, 1, 2, name("bytes"),
                bytes),
            GETP(T_ApiGetUBytesByName, 1083, (1, 2, S("bytes")), "[0 1 255]", kNull, read(name("bytes"))),
            SET(T_ApiSetTextLoc, 1269, (1, 2, 209, &textLoc), xdr_ApiTnSetTextLocArgT, 1, 2, num(209), textLoc),
            GETP(T_ApiGetTextLoc, 1268, (1, 2, 209), "(1,3)", zeroLoc, read(num(209))),
            SET(T_ApiSetTextRange, 1267, (1, 2, 210, &textRange), xdr_ApiTnSetTextRangeArgT, 1, 2, num(210), textRange),
            GETP(T_ApiGetTextRange, 1266, (1, 2, 210), "(1,0)-(1,5)", zeroRange, read(num(210))),
            SET(T_ApiSetElementRange, 1405, (1, 2, 211, &elementRange), xdr_ApiTnSetElementRangeArgT, 1, 2, num(211),
                elementRange),
            GETP(T_ApiGetElementRange, 1404, (1, 2, 211), "(1,2,0)-(1,2,3)", zeroElements, read(num(211))),
            SET(T_ApiSetVal, 1099, (1, 2, 212, &stringsVal), xdr_ApiTnSetValArgT, 1, 2, num(212), stringsVal),
            GETP(T_ApiGetVal, 1098, (1, 2, 212), "k6[\"p\" \"q\"]", kZeroTyped, read(num(212))),
            SET(T_ApiSetPropVal, 1061, (1, 2, &labelProp), xdr_ApiTnSetPropArgT, 1, 2, labelProp),
            GETP(T_ApiGetPropVal, 1060, (1, 2, 212), "#212 k6[\"p\" \"q\"]", "null k0 0", read(num(212))),
            SET(T_ApiDeletePropByName, 1082, (1, 2, S("label")), xdr_ApiTnGetPropArgT, read(name("label"))),
            SET(T_ApiSetProps, 1063, (1, 3, &list), xdr_ApiTnSetPropsArgT, 1, 3, list),
            GET(T_ApiGetProps, 1062, (1, 3), "[#210 k1 7 \"n\" k3\"s\"]", kNull, xdr_ApiTnGeneralObjArgT, 1, 3),
        },
        propsFixture());
}

TEST(PropertyCalls, TextPropertiesWrittenOverRangesAndReadAtLocations) {
    runCalls(
        {
            SET(T_ApiSetTextVal, 1299, (1, &first5, 300, &intVal), xdr_ApiTnSetTextValArgT, 1, first5, num(300),
                intVal),
            GET(T_ApiGetTextVal, 1298, (1, &at2, 300), "k1 7", kZeroTyped, xdr_ApiTnGetTextPropArgT, 1, at2, num(300)),
            // The identifier in front is empty; the property value names it.
            SET(T_ApiSetTextPropVal, 1301, (1, &last5, &styleProp), xdr_ApiTnSetTextPropArgT, 1, last5, name(""),
                styleProp),
            GET(T_ApiGetTextPropVal, 1300, (1, &at2, 300), "#300 k1 7", "null k0 0", xdr_ApiTnGetTextPropArgT, 1, at2,
                num(300)),
            SET(T_ApiSetTextProps, 1303, (1, &all, &wide), xdr_ApiTnSetTextPropsArgT, 1, all, wide),
            GET(T_ApiGetTextProps, 1302, (1, &at7), "[\"style\" k3\"bold\" #301 k2 65536]", kNull,
                xdr_ApiTnGetTextPropsArgT, 1, at7),
        },
        propsFixture());
}

// What a read leaves when the property is missing or was removed, and that
// a successful read of 0 is no failure.
TEST(PropertyCalls, MissingPropertiesReportTheHostStatus) {
    ServedHost host(json::array(), propsFixture());
    ASSERT_TRUE(host.ready()) << host.text();
    TA_errno = kUntouched;
    T_ApiSetInt(1, 2, 220, 0);
    EXPECT_EQ(T_ApiGetInt(1, 2, 220), 0);
    EXPECT_EQ(TA_errno, kUntouched);

    EXPECT_EQ(T_ApiGetInt(1, 2, 221), 0);
    EXPECT_NE(TA_errno, kUntouched);
    EXPECT_NE(TA_errno, 0);
    const int missing = TA_errno;

    TA_errno = kUntouched;
    T_ApiSetUBytesByName(1, 2, S("gone"), &bytes);
    T_ApiDeletePropByName(1, 2, S("gone"));
    EXPECT_EQ(TA_errno, kUntouched);
    EXPECT_EQ(shown(T_ApiGetUBytesByName(1, 2, S("gone"))), kNull);
    EXPECT_EQ(TA_errno, missing);
    // The caller's list went out as it was and is still the caller's.
    EXPECT_EQ(bytes.count, 3u);
    EXPECT_EQ(bytes.items, byteItems);
}

// A null record or list pointer travels as the empty value; it must not
// crash the client.
TEST(PropertyCalls, NullArgumentsTravelAsEmptyValues) {
    ServedHost host(json::array(), propsFixture());
    ASSERT_TRUE(host.ready()) << host.text();
    T_ApiSetStrings(1, 2, 230, nullptr);
    EXPECT_EQ(host.argsOf(1073), sent(xdr_ApiTnSetStringsArgT, {1, 2, num(230), T_StringsT{}}));
    EXPECT_EQ(shown(T_ApiGetStrings(1, 2, 230)), kNull);
    T_ApiSetProps(1, 2, nullptr);
    EXPECT_EQ(host.argsOf(1063), sent(xdr_ApiTnSetPropsArgT, {1, 2, T_PropValsT{}}));
    EXPECT_EQ(shown(T_ApiGetTextVal(1, nullptr, 300)), kZeroTyped);
    EXPECT_EQ(host.argsOf(1298), sent(xdr_ApiTnGetTextPropArgT, {1, T_TextLocT{}, num(300)}));
}

}  // namespace
}  // namespace requests_test
