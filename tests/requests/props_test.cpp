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

// Results the caller owns: rendered, then released.
template <typename T, typename Render> std::string released(T v, Render render, void (*release)(T *)) {
    std::string out = render(v);
    release(&v);
    return out;
}
std::string shown(T_MetricsT v) {
    return released(
        v, [](auto &l) { return items(l, number); }, T_ApiDeallocateMetrics);
}
std::string shown(T_IntsT v) {
    return released(
        v, [](auto &l) { return items(l, number); }, T_ApiDeallocateInts);
}
std::string shown(T_PointsT v) {
    return released(
        v, [](auto &l) { return items(l, point); }, T_ApiDeallocatePoints);
}
std::string shown(T_TabsT v) {
    return released(
        v, [](auto &l) { return items(l, tab); }, T_ApiDeallocateTabs);
}
std::string shown(T_UBytesT v) {
    return released(
        v, [](auto &l) { return items(l, [](unsigned char b) { return number(b); }); }, T_ApiDeallocateUBytes);
}
std::string shown(T_TypedValT v) { return released(v, typed, T_ApiDeallocateVal); }
std::string shown(T_PropValT v) { return released(v, prop, T_ApiDeallocatePropVal); }
std::string shown(T_PropValsT v) {
    return released(
        v, [](auto &l) { return items(l, prop); }, T_ApiDeallocatePropVals);
}

const std::string kDone = "done";
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

// A write as a row's call: it returns nothing, so the row shows "done".
#define WRITE(call)                                                                                                    \
    [] {                                                                                                               \
        call;                                                                                                          \
        return kDone;                                                                                                  \
    }

TEST(PropertyCalls, EveryKindWrittenAndReadBack) {
    const std::string zeroLoc = "(0,0)", zeroRange = "(0,0)-(0,0)";
    const std::string zeroElements = "(0,0,0)-(0,0,0)";
    runCalls(
        {
            {"T_ApiSetInt", 1065, WRITE(T_ApiSetInt(1, 2, 200, 42)), sent(xdr_ApiTnSetIntArgT, {1, 2, num(200), 42}),
             kDone, kDone, true, kDone},
            {"T_ApiGetInt", 1064, [] { return shown(T_ApiGetInt(1, 2, 200)); },
             sent(xdr_ApiTnGetPropArgT, read(num(200))), "42", "0", true, "0"},
            {"T_ApiSetIntByName", 1065, WRITE(T_ApiSetIntByName(1, 2, S("count"), 5)),
             sent(xdr_ApiTnSetIntArgT, {1, 2, name("count"), 5}), kDone, kDone, true, kDone},
            {"T_ApiGetIntByName", 1064, [] { return shown(T_ApiGetIntByName(1, 2, S("count"))); },
             sent(xdr_ApiTnGetPropArgT, read(name("count"))), "5", "0", true, "0"},
            {"T_ApiSetId", 1067, WRITE(T_ApiSetId(1, 2, 201, 3)), sent(xdr_ApiTnSetIdArgT, {1, 2, num(201), 3}), kDone,
             kDone, true, kDone},
            {"T_ApiGetId", 1066, [] { return shown(T_ApiGetId(1, 2, 201)); },
             sent(xdr_ApiTnGetPropArgT, read(num(201))), "3u", "0u", true, "0u"},
            {"T_ApiSetMetric", 1069, WRITE(T_ApiSetMetric(1, 2, 202, 0x18000)),
             sent(xdr_ApiTnSetMetricArgT, {1, 2, num(202), 0x18000}), kDone, kDone, true, kDone},
            {"T_ApiGetMetric", 1068, [] { return shown(T_ApiGetMetric(1, 2, 202)); },
             sent(xdr_ApiTnGetPropArgT, read(num(202))), "98304", "0", true, "0"},
            {"T_ApiSetMetricByName", 1069, WRITE(T_ApiSetMetricByName(1, 2, S("width"), -0x10000)),
             sent(xdr_ApiTnSetMetricArgT, {1, 2, name("width"), -0x10000}), kDone, kDone, true, kDone},
            {"T_ApiGetMetricByName", 1068, [] { return shown(T_ApiGetMetricByName(1, 2, S("width"))); },
             sent(xdr_ApiTnGetPropArgT, read(name("width"))), "-65536", "0", true, "0"},
            {"T_ApiSetString", 1071, WRITE(T_ApiSetString(1, 2, 203, S("Alert"))),
             sent(xdr_ApiTnSetStringArgT, {1, 2, num(203), S("Alert")}), kDone, kDone, true, kDone},
            {"T_ApiGetString", 1070, [] { return shown(T_ApiGetString(1, 2, 203)); },
             sent(xdr_ApiTnGetPropArgT, read(num(203))), "\"Alert\"", kNull, true, kNull},
            {"T_ApiSetStrings", 1073, WRITE(T_ApiSetStrings(1, 2, 204, &strs)),
             sent(xdr_ApiTnSetStringsArgT, {1, 2, num(204), strs}), kDone, kDone, true, kDone},
            {"T_ApiGetStrings", 1072, [] { return shown(T_ApiGetStrings(1, 2, 204)); },
             sent(xdr_ApiTnGetPropArgT, read(num(204))), "[\"a\" \"b\"]", kNull, true, kNull},
            {"T_ApiSetMetrics", 1075, WRITE(T_ApiSetMetrics(1, 2, 205, &metrics)),
             sent(xdr_ApiTnSetMetricsArgT, {1, 2, num(205), metrics}), kDone, kDone, true, kDone},
            {"T_ApiGetMetrics", 1074, [] { return shown(T_ApiGetMetrics(1, 2, 205)); },
             sent(xdr_ApiTnGetPropArgT, read(num(205))), "[65536 -32768]", kNull, true, kNull},
            {"T_ApiSetPoints", 1077, WRITE(T_ApiSetPoints(1, 2, 206, &points)),
             sent(xdr_ApiTnSetPointsArgT, {1, 2, num(206), points}), kDone, kDone, true, kDone},
            {"T_ApiGetPoints", 1076, [] { return shown(T_ApiGetPoints(1, 2, 206)); },
             sent(xdr_ApiTnGetPropArgT, read(num(206))), "[(1,2) (3,-4)]", kNull, true, kNull},
            {"T_ApiSetTabs", 1079, WRITE(T_ApiSetTabs(1, 2, 207, &tabs)),
             sent(xdr_ApiTnSetTabsArgT, {1, 2, num(207), tabs}), kDone, kDone, true, kDone},
            {"T_ApiGetTabs", 1078, [] { return shown(T_ApiGetTabs(1, 2, 207)); },
             sent(xdr_ApiTnGetPropArgT, read(num(207))), "[10/1/\"x\"/46]", kNull, true, kNull},
            {"T_ApiSetInts", 1093, WRITE(T_ApiSetInts(1, 2, 208, &ints)),
             sent(xdr_ApiTnSetIntsArgT, {1, 2, num(208), ints}), kDone, kDone, true, kDone},
            {"T_ApiGetInts", 1092, [] { return shown(T_ApiGetInts(1, 2, 208)); },
             sent(xdr_ApiTnGetPropArgT, read(num(208))), "[-1 5]", kNull, true, kNull},
            {"T_ApiSetUBytesByName", 1084, WRITE(T_ApiSetUBytesByName(1, 2, S("bytes"), &bytes)),
             sent(xdr_ApiTnSetUBytesArgT, {1, 2, name("bytes"), bytes}), kDone, kDone, true, kDone},
            {"T_ApiGetUBytesByName", 1083, [] { return shown(T_ApiGetUBytesByName(1, 2, S("bytes"))); },
             sent(xdr_ApiTnGetPropArgT, read(name("bytes"))), "[0 1 255]", kNull, true, kNull},
            {"T_ApiSetTextLoc", 1269, WRITE(T_ApiSetTextLoc(1, 2, 209, &textLoc)),
             sent(xdr_ApiTnSetTextLocArgT, {1, 2, num(209), textLoc}), kDone, kDone, true, kDone},
            {"T_ApiGetTextLoc", 1268, [] { return shown(T_ApiGetTextLoc(1, 2, 209)); },
             sent(xdr_ApiTnGetPropArgT, read(num(209))), "(1,3)", zeroLoc, true, zeroLoc},
            {"T_ApiSetTextRange", 1267, WRITE(T_ApiSetTextRange(1, 2, 210, &textRange)),
             sent(xdr_ApiTnSetTextRangeArgT, {1, 2, num(210), textRange}), kDone, kDone, true, kDone},
            {"T_ApiGetTextRange", 1266, [] { return shown(T_ApiGetTextRange(1, 2, 210)); },
             sent(xdr_ApiTnGetPropArgT, read(num(210))), "(1,0)-(1,5)", zeroRange, true, zeroRange},
            {"T_ApiSetElementRange", 1405, WRITE(T_ApiSetElementRange(1, 2, 211, &elementRange)),
             sent(xdr_ApiTnSetElementRangeArgT, {1, 2, num(211), elementRange}), kDone, kDone, true, kDone},
            {"T_ApiGetElementRange", 1404, [] { return shown(T_ApiGetElementRange(1, 2, 211)); },
             sent(xdr_ApiTnGetPropArgT, read(num(211))), "(1,2,0)-(1,2,3)", zeroElements, true, zeroElements},
            {"T_ApiSetVal", 1099, WRITE(T_ApiSetVal(1, 2, 212, &stringsVal)),
             sent(xdr_ApiTnSetValArgT, {1, 2, num(212), stringsVal}), kDone, kDone, true, kDone},
            {"T_ApiGetVal", 1098, [] { return shown(T_ApiGetVal(1, 2, 212)); },
             sent(xdr_ApiTnGetPropArgT, read(num(212))), "k6[\"p\" \"q\"]", kZeroTyped, true, kZeroTyped},
            {"T_ApiSetPropVal", 1061, WRITE(T_ApiSetPropVal(1, 2, &labelProp)),
             sent(xdr_ApiTnSetPropArgT, {1, 2, labelProp}), kDone, kDone, true, kDone},
            {"T_ApiGetPropVal", 1060, [] { return shown(T_ApiGetPropVal(1, 2, 212)); },
             sent(xdr_ApiTnGetPropArgT, read(num(212))), "#212 k6[\"p\" \"q\"]", "null k0 0", true, "null k0 0"},
            {"T_ApiDeletePropByName", 1082, WRITE(T_ApiDeletePropByName(1, 2, S("label"))),
             sent(xdr_ApiTnGetPropArgT, read(name("label"))), kDone, kDone, true, kDone},
            {"T_ApiSetProps", 1063, WRITE(T_ApiSetProps(1, 3, &list)), sent(xdr_ApiTnSetPropsArgT, {1, 3, list}), kDone,
             kDone, true, kDone},
            {"T_ApiGetProps", 1062, [] { return shown(T_ApiGetProps(1, 3)); }, sent(xdr_ApiTnGeneralObjArgT, {1, 3}),
             "[#210 k1 7 \"n\" k3\"s\"]", kNull, true, kNull},
        },
        propsFixture());
}

TEST(PropertyCalls, TextPropertiesWrittenOverRangesAndReadAtLocations) {
    runCalls(
        {
            {"T_ApiSetTextVal", 1299, WRITE(T_ApiSetTextVal(1, &first5, 300, &intVal)),
             sent(xdr_ApiTnSetTextValArgT, {1, first5, num(300), intVal}), kDone, kDone, true, kDone},
            {"T_ApiGetTextVal", 1298, [] { return shown(T_ApiGetTextVal(1, &at2, 300)); },
             sent(xdr_ApiTnGetTextPropArgT, {1, at2, num(300)}), "k1 7", kZeroTyped, true, kZeroTyped},
            // The identifier in front is empty; the property value names it.
            {"T_ApiSetTextPropVal", 1301, WRITE(T_ApiSetTextPropVal(1, &last5, &styleProp)),
             sent(xdr_ApiTnSetTextPropArgT, {1, last5, name(""), styleProp}), kDone, kDone, true, kDone},
            {"T_ApiGetTextPropVal", 1300, [] { return shown(T_ApiGetTextPropVal(1, &at2, 300)); },
             sent(xdr_ApiTnGetTextPropArgT, {1, at2, num(300)}), "#300 k1 7", "null k0 0", true, "null k0 0"},
            {"T_ApiSetTextProps", 1303, WRITE(T_ApiSetTextProps(1, &all, &wide)),
             sent(xdr_ApiTnSetTextPropsArgT, {1, all, wide}), kDone, kDone, true, kDone},
            {"T_ApiGetTextProps", 1302, [] { return shown(T_ApiGetTextProps(1, &at7)); },
             sent(xdr_ApiTnGetTextPropsArgT, {1, at7}), "[\"style\" k3\"bold\" #301 k2 65536]", kNull, true, kNull},
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
