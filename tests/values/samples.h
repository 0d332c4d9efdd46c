// Sample values of every type and kind, built on the API allocators, and deep
// comparison, shared by the copy and release tests.
#ifndef TARNEL_TESTS_VALUES_SAMPLES_H
#define TARNEL_TESTS_VALUES_SAMPLES_H

#include <cstring>
#include <initializer_list>
#include <vector>

#include <tarnel/tnapi_values.h>

namespace samples {

// Kinds worth a case: the nineteen of the wire plus some outside the range.
std::vector<int> all_kinds();

T_StringsT strings(std::initializer_list<const char *> items);
T_TabsT tabs();
T_AttributeDefsT attribute_defs();
T_AttributesT attributes();
T_FontsT fonts();
T_CombinedFontsT combined_fonts();
// A value of the kind with content in everything the kind owns; kind 19
// points to a range unless nullRange is set.
T_TypedValT value(int kind, bool nullRange = false);
// One entry per kind of all_kinds(), numbered 100 + position, every third
// one named.
T_PropValsT prop_vals();
TextItemsT text_items();

// Lists of plain elements (no padding in any of them): byte-wise.
template <typename List> bool same_flat(const List &a, const List &b) {
    return a.count == b.count &&
           (a.count == 0 || std::memcmp(a.items, b.items, a.count * sizeof *a.items) == 0);
}
bool same_string(const char *a, const char *b);
bool same(const T_StringsT &a, const T_StringsT &b);
bool same(const T_TabsT &a, const T_TabsT &b);
bool same(const T_AttributeDefsT &a, const T_AttributeDefsT &b);
bool same(const T_AttributesT &a, const T_AttributesT &b);
bool same(const T_TypedValT &a, const T_TypedValT &b);
bool same(const T_PropValsT &a, const T_PropValsT &b);
bool same(const TextItemsT &a, const TextItemsT &b);

}  // namespace samples

#endif
