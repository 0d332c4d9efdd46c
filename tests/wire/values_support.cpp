#include "values_support.h"

namespace wiretest {

bool eq(const StringT &a, const StringT &b)
{
    return std::string_view(a ? a : "") == std::string_view(b ? b : "");
}
bool eq(const int &a, const int &b) { return a == b; }
bool eq(const u_int &a, const u_int &b) { return a == b; }
bool eq(const unsigned char &a, const unsigned char &b) { return a == b; }

bool eq(const T_PropIdentT &a, const T_PropIdentT &b)
{
    return a.num == b.num && (a.num != 0 || eq(a.name, b.name));
}
bool eq(const T_PointT &a, const T_PointT &b) { return a.x == b.x && a.y == b.y; }
bool eq(const SizeT &a, const SizeT &b) { return a.width == b.width && a.height == b.height; }
bool eq(const RectT &a, const RectT &b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}
bool eq(const T_TabT &a, const T_TabT &b)
{
    return a.position == b.position && a.kind == b.kind && eq(a.text, b.text) && a.mark == b.mark;
}
bool eq(const T_FontT &a, const T_FontT &b)
{
    return a.family == b.family && a.variation == b.variation && a.weight == b.weight &&
           a.angle == b.angle;
}
bool eq(const T_CombinedFontT &a, const T_CombinedFontT &b)
{
    return a.word1 == b.word1 && a.word2 == b.word2 && a.word3 == b.word3 && a.word4 == b.word4;
}
bool eq(const T_ElementCatalogEntryT &a, const T_ElementCatalogEntryT &b)
{
    return a.objId == b.objId && a.value == b.value;
}
bool eq(const TextItemDataT &a, const TextItemDataT &b)
{
    return a.kind == b.kind && (a.kind == 1 ? eq(a.u.text, b.u.text) : a.u.value == b.u.value);
}
bool eq(const TextItemT &a, const TextItemT &b) { return a.offset == b.offset && eq(a.data, b.data); }
bool eq(const T_TextLocT &a, const T_TextLocT &b) { return a.objId == b.objId && a.offset == b.offset; }
bool eq(const T_TextRangeT &a, const T_TextRangeT &b) { return eq(a.begin, b.begin) && eq(a.end, b.end); }
bool eq(const T_ElementLocT &a, const T_ElementLocT &b)
{
    return a.parentId == b.parentId && a.childId == b.childId && a.offset == b.offset;
}
bool eq(const T_ElementRangeT &a, const T_ElementRangeT &b)
{
    return eq(a.begin, b.begin) && eq(a.end, b.end);
}
bool eq(const T_AttributeDefT &a, const T_AttributeDefT &b)
{
    return eq(a.name, b.name) && a.option1 == b.option1 && a.option2 == b.option2 &&
           a.option3 == b.option3 && eq(a.list1, b.list1) && eq(a.list2, b.list2) &&
           eq(a.text1, b.text1) && eq(a.text2, b.text2);
}
bool eq(const T_AttributeT &a, const T_AttributeT &b)
{
    return eq(a.name, b.name) && eq(a.values, b.values) && a.flag1 == b.flag1 && a.flag2 == b.flag2;
}
bool eq(const T_TypedValT &a, const T_TypedValT &b)
{
    if (a.kind != b.kind)
        return false;
    const auto &x = a.u, &y = b.u;
    switch (a.kind) {
    case 3: return eq(x.string, y.string);
    case 5: return eq(x.metrics, y.metrics);
    case 6: return eq(x.strings, y.strings);
    case 7: return eq(x.points, y.points);
    case 8: return eq(x.tabs, y.tabs);
    case 9: return eq(x.textLoc, y.textLoc);
    case 10: return eq(x.textRange, y.textRange);
    case 12: return eq(x.catalog, y.catalog);
    case 13: return eq(x.ints, y.ints);
    case 14: return eq(x.ubytes, y.ubytes);
    case 15: return eq(x.uints, y.uints);
    case 17: return eq(x.attributeDefs, y.attributeDefs);
    case 18: return eq(x.attributes, y.attributes);
    case 19:
        return x.elementRange == nullptr || y.elementRange == nullptr
                   ? x.elementRange == y.elementRange
                   : eq(*x.elementRange, *y.elementRange);
    default: return x.ival == y.ival;
    }
}
bool eq(const T_PropValT &a, const T_PropValT &b) { return eq(a.ident, b.ident) && eq(a.value, b.value); }

namespace {

char s_alert[] = "Alert";
char s_long[] = "a string of thirty-one bytes..";
char s_empty[] = "";
StringT strings[] = {s_alert, nullptr, s_long, s_empty};
T_MetricT metrics[] = {0x10000, -0x8000, 0x1680000};
T_PointT points[] = {{1, -2}, {300, 400}};
T_TabT tabs[] = {{72, 1, s_alert, 2}, {-5, 255, nullptr, 0}};
T_ElementCatalogEntryT catalog[] = {{17, 3}, {0xFFFFFFFFu, -1}};
int ints[] = {7, -7, 0x7FFFFFFF};
unsigned char ubytes[] = {0, 200, 255};
u_int uints[] = {0xFFFFFFFFu, 1};
T_FontT fonts[] = {{1, 2, 3, 4}, {0xFFFFFFFFu, 0, 9, 360}};
T_CombinedFontT combined[] = {{5, 6, 7, 8}};
TextItemT text_items[] = {{0, {1, {s_alert}}}, {12, {2, {.value = 42}}}};
T_AttributeDefT attr_defs[] = {
    {s_alert, 1, 2, 3, {2, strings}, {0, nullptr}, s_long, nullptr},
    {nullptr, -1, 0, 9, {1, strings + 2}, {3, strings}, s_empty, s_alert}};
T_AttributeT attrs[] = {{s_long, {4, strings}, 1, 254}, {s_empty, {0, nullptr}, 0, 0}};
T_ElementRangeT element_range = {{1, 2, 3}, {4, 5, -6}};
T_PropValT prop_vals[3];

} // namespace

T_TypedValT sample_val(int kind)
{
    T_TypedValT v{};
    v.kind = kind;
    auto &u = v.u;
    switch (kind) {
    case 3: u.string = s_alert; break;
    case 5: u.metrics = {3, metrics}; break;
    case 6: u.strings = {4, strings}; break;
    case 7: u.points = {2, points}; break;
    case 8: u.tabs = {2, tabs}; break;
    case 9: u.textLoc = {99, 12}; break;
    case 10: u.textRange = {{99, 12}, {100, -1}}; break;
    case 12: u.catalog = {2, catalog}; break;
    case 13: u.ints = {3, ints}; break;
    case 14: u.ubytes = {3, ubytes}; break;
    case 15: u.uints = {2, uints}; break;
    case 17: u.attributeDefs = {2, attr_defs}; break;
    case 18: u.attributes = {2, attrs}; break;
    case 19: u.elementRange = &element_range; break;
    default: u.ival = kind * 1000 - 1; break;
    }
    return v;
}

void sample(StringT *out) { *out = s_long; }
void sample(T_PropIdentT *out) { *out = {0, s_alert}; }
void sample(T_PointT *out) { *out = points[1]; }
void sample(SizeT *out) { *out = {640, -480}; }
void sample(RectT *out) { *out = {1, 2, 3, 4}; }
void sample(T_TabT *out) { *out = tabs[0]; }
void sample(T_FontT *out) { *out = fonts[1]; }
void sample(T_CombinedFontT *out) { *out = combined[0]; }
void sample(T_ElementCatalogEntryT *out) { *out = catalog[1]; }
void sample(TextItemDataT *out) { *out = text_items[0].data; }
void sample(TextItemT *out) { *out = text_items[1]; }
void sample(T_TextLocT *out) { *out = {5, 6}; }
void sample(T_TextRangeT *out) { *out = sample_val(10).u.textRange; }
void sample(T_ElementLocT *out) { *out = element_range.end; }
void sample(T_ElementRangeT *out) { *out = element_range; }
void sample(T_AttributeDefT *out) { *out = attr_defs[1]; }
void sample(T_AttributeT *out) { *out = attrs[0]; }
void sample(T_TypedValT *out) { *out = sample_val(17); }
void sample(T_PropValT *out) { *out = {{20, nullptr}, sample_val(3)}; }
void sample(T_StringsT *out) { *out = {4, strings}; }
void sample(T_MetricsT *out) { *out = {3, metrics}; }
void sample(T_PointsT *out) { *out = {2, points}; }
void sample(T_TabsT *out) { *out = {2, tabs}; }
void sample(T_UBytesT *out) { *out = {3, ubytes}; }
void sample(T_IntsT *out) { *out = {3, ints}; }
void sample(T_UIntsT *out) { *out = {2, uints}; }
void sample(T_FontsT *out) { *out = {2, fonts}; }
void sample(T_CombinedFontsT *out) { *out = {1, combined}; }
void sample(T_ElementCatalogEntriesT *out) { *out = {2, catalog}; }
void sample(TextItemsT *out) { *out = {2, text_items}; }
void sample(T_AttributeDefsT *out) { *out = {2, attr_defs}; }
void sample(T_AttributesT *out) { *out = {2, attrs}; }
void sample(T_PropValsT *out)
{
    prop_vals[0] = {{0, s_long}, sample_val(18)};
    prop_vals[1] = {{7, s_alert}, sample_val(19)};
    prop_vals[2] = {{-3, nullptr}, sample_val(8)};
    *out = {3, prop_vals};
}

} // namespace wiretest
