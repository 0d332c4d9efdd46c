#include "samples.h"

namespace samples {
namespace {

char a[] = "a", bc[] = "bc", empty[] = "", alert[] = "Alert", named[] = "Named", hello[] = "Hello";
StringT strs[] = {a, bc, empty};
T_MetricT metrics[] = {0x10000, -0x8000, 0x1680000};
T_PointT points[] = {{1, 2}, {-3, 4}};
T_TabT tabs[] = {{10, 1, a, 2}, {20, 3, bc, 4}};
T_ElementCatalogEntryT catalog[] = {{4, -1}, {5, 2}};
int ints[] = {5, -1, 0x7FFFFFFF};
unsigned char ubytes[] = {0, 0x7F, 0xFF};
u_int uints[] = {0xFFFFFFFFu, 1};
T_AttributeDefT defs[] = {{alert, 1, -2, 3, {2, strs}, {1, strs + 1}, a, bc},
                          {bc, 4, 5, 6, {0, nullptr}, {3, strs}, empty, alert}};
T_AttributeT attrs[] = {{a, {3, strs}, 1, 0xFF}, {alert, {0, nullptr}, 0, 2}};
T_ElementRangeT range = {{1, 2, 3}, {4, 5, -6}};
T_FontT fontItems[] = {{1, 2, 3, 4}, {5, 6, 7, 0xFFFFFFFFu}};
T_CombinedFontT combined[] = {{9, 8, 7, 6}};

}  // namespace

std::vector<int> all_kinds() {
    std::vector<int> kinds{-7, 0, 20, 25};
    for (int k = 1; k <= 19; ++k) kinds.push_back(k);
    return kinds;
}

T_TypedValT value(int kind) {
    T_TypedValT v{};
    v.kind = kind;
    auto &u = v.u;
    switch (kind) {
    case 2: u.metric = 0x480000; break;
    case 3: u.string = alert; break;
    case 5: u.metrics = {3, metrics}; break;
    case 6: u.strings = {3, strs}; break;
    case 7: u.points = {2, points}; break;
    case 8: u.tabs = {2, tabs}; break;
    case 9: u.textLoc = {77, 5}; break;
    case 10: u.textRange = {{77, 5}, {78, 9}}; break;
    case 12: u.catalog = {2, catalog}; break;
    case 13: u.ints = {3, ints}; break;
    case 14: u.ubytes = {3, ubytes}; break;
    case 15: u.uints = {2, uints}; break;
    case 17: u.attributeDefs = {2, defs}; break;
    case 18: u.attributes = {2, attrs}; break;
    case 19: u.elementRange = &range; break;
    default: u.ival = 0x12345678 + kind; break;  // 1, 4, 11, 16 and unknown kinds
    }
    return v;
}

T_FontsT fonts() { return {2, fontItems}; }
T_CombinedFontsT combined_fonts() { return {1, combined}; }

T_PropValsT prop_vals() {
    static std::vector<T_PropValT> entries;
    if (entries.empty()) {
        for (int kind : all_kinds()) {
            const bool byName = entries.size() % 3 == 0;
            entries.push_back({{byName ? 0 : 100 + kind, byName ? named : nullptr}, value(kind)});
        }
    }
    return {static_cast<u_int>(entries.size()), entries.data()};
}

TextItemsT text_items() {
    static TextItemT items[] = {{0, {1, {}}}, {5, {2, {}}}, {9, {1, {}}}};
    items[0].data.u.text = hello;
    items[1].data.u.value = 42;
    items[2].data.u.text = empty;
    return {3, items};
}

}  // namespace samples
