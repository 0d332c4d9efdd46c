#include "samples.h"

#include <algorithm>
#include <cstring>
#include <type_traits>

#include <tarnel/tde_memory.h>

namespace samples {
namespace {

template <typename List> using ElemOf = std::remove_pointer_t<decltype(List{}.items)>;

template <typename List> List flat(std::initializer_list<ElemOf<List>> items) {
    using Elem = ElemOf<List>;
    List out{};
    out.count = static_cast<u_int>(items.size());
    out.items = static_cast<Elem *>(TapiCalloc(items.size(), sizeof(Elem)));
    std::copy(items.begin(), items.end(), out.items);
    return out;
}

template <typename List, typename Eq> bool same_each(const List &a, const List &b, Eq eq) {
    if (a.count != b.count) return false;
    for (u_int i = 0; i < a.count; ++i) {
        if (!eq(a.items[i], b.items[i])) return false;
    }
    return true;
}

}  // namespace

std::vector<int> all_kinds() {
    std::vector<int> kinds{-7, 0, 20, 25};
    for (int k = 1; k <= 19; ++k) kinds.push_back(k);
    return kinds;
}

T_StringsT strings(std::initializer_list<const char *> items) {
    T_StringsT out{};
    out.count = static_cast<u_int>(items.size());
    out.items = static_cast<StringT *>(TapiCalloc(items.size(), sizeof(StringT)));
    u_int i = 0;
    for (const char *s : items) out.items[i++] = s == nullptr ? nullptr : T_ApiCopyString(s);
    return out;
}

T_TabsT tabs() {
    T_TabsT out = flat<T_TabsT>({T_TabT{10, 1, nullptr, 2}, T_TabT{20, 3, nullptr, 4}});
    out.items[0].text = T_ApiCopyString(".");
    out.items[1].text = T_ApiCopyString("tab two");
    return out;
}

T_AttributeDefsT attribute_defs() {
    T_AttributeDefsT out = flat<T_AttributeDefsT>({T_AttributeDefT{}, T_AttributeDefT{}});
    for (u_int i = 0; i < out.count; ++i) {
        T_AttributeDefT &d = out.items[i];
        d.name = T_ApiCopyString(i == 0 ? "Id" : "Role");
        d.option1 = 1 + static_cast<int>(i);
        d.option2 = -2;
        d.option3 = 3;
        d.list1 = strings({"one", "two"});
        d.list2 = strings({"three"});
        d.text1 = T_ApiCopyString("t1");
        d.text2 = T_ApiCopyString("t2");
    }
    return out;
}

T_AttributesT attributes() {
    T_AttributesT out = flat<T_AttributesT>({T_AttributeT{}, T_AttributeT{}, T_AttributeT{}});
    for (u_int i = 0; i < out.count; ++i) {
        out.items[i].name = T_ApiCopyString(i == 1 ? "Lang" : "Rev");
        out.items[i].values = strings({"en", "de"});
        out.items[i].flag1 = static_cast<unsigned char>(i);
        out.items[i].flag2 = 0xFF;
    }
    return out;
}

T_FontsT fonts() { return flat<T_FontsT>({T_FontT{1, 2, 3, 4}, T_FontT{5, 6, 7, 0xFFFFFFFFu}}); }

T_CombinedFontsT combined_fonts() {
    return flat<T_CombinedFontsT>({T_CombinedFontT{9, 8, 7, 6}});
}

T_TypedValT value(int kind, bool nullRange) {
    T_TypedValT v{};
    v.kind = kind;
    auto &u = v.u;
    switch (kind) {
    case 2: u.metric = 0x480000; break;
    case 3: u.string = T_ApiCopyString("Alert"); break;
    case 5: u.metrics = flat<T_MetricsT>({0x10000, -0x8000, 0x1680000}); break;
    case 6: u.strings = strings({"a", "bc", ""}); break;
    case 7: u.points = flat<T_PointsT>({T_PointT{1, 2}, T_PointT{-3, 4}}); break;
    case 8: u.tabs = tabs(); break;
    case 9: u.textLoc = T_TextLocT{77, 5}; break;
    case 10: u.textRange = T_TextRangeT{{77, 5}, {78, 9}}; break;
    case 12:
        u.catalog = flat<T_ElementCatalogEntriesT>({T_ElementCatalogEntryT{4, -1}, {5, 2}});
        break;
    case 13: u.ints = flat<T_IntsT>({5, -1, 0x7FFFFFFF}); break;
    case 14: u.ubytes = flat<T_UBytesT>({0, 0x7F, 0xFF}); break;
    case 15: u.uints = flat<T_UIntsT>({0xFFFFFFFFu, 1}); break;
    case 17: u.attributeDefs = attribute_defs(); break;
    case 18: u.attributes = attributes(); break;
    case 19:
        if (!nullRange) {
            u.elementRange = static_cast<T_ElementRangeT *>(TapiMalloc(sizeof(T_ElementRangeT)));
            *u.elementRange = T_ElementRangeT{{1, 2, 3}, {4, 5, -6}};
        }
        break;
    default: u.ival = 0x12345678 + kind; break;  // 1, 4, 11, 16 and unknown kinds
    }
    return v;
}

T_PropValsT prop_vals() {
    const std::vector<int> kinds = all_kinds();
    T_PropValsT out = T_ApiAllocatePropVals(static_cast<int>(kinds.size()));
    for (u_int i = 0; i < out.count; ++i) {
        out.items[i].ident.num = i % 3 == 0 ? 0 : static_cast<int>(100 + i);
        if (i % 3 == 0) out.items[i].ident.name = T_ApiCopyString("Named");
        out.items[i].value = value(kinds[i]);
    }
    return out;
}

TextItemsT text_items() {
    TextItemsT out = T_ApiAllocateTextItems(3);
    out.items[0] = TextItemT{0, {1, {}}};
    out.items[0].data.u.text = T_ApiCopyString("Hello");
    out.items[1] = TextItemT{5, {2, {}}};
    out.items[1].data.u.value = 42;
    out.items[2] = TextItemT{9, {1, {}}};
    out.items[2].data.u.text = T_ApiCopyString("");
    return out;
}

bool same_string(const char *a, const char *b) {
    return a != nullptr && b != nullptr ? std::strcmp(a, b) == 0 : a == b;
}

bool same(const T_StringsT &a, const T_StringsT &b) { return same_each(a, b, same_string); }

bool same(const T_TabsT &a, const T_TabsT &b) {
    return same_each(a, b, [](const T_TabT &x, const T_TabT &y) {
        return x.position == y.position && x.kind == y.kind && x.mark == y.mark &&
               same_string(x.text, y.text);
    });
}

bool same(const T_AttributeDefsT &a, const T_AttributeDefsT &b) {
    return same_each(a, b, [](const T_AttributeDefT &x, const T_AttributeDefT &y) {
        return same_string(x.name, y.name) && x.option1 == y.option1 && x.option2 == y.option2 &&
               x.option3 == y.option3 && same(x.list1, y.list1) && same(x.list2, y.list2) &&
               same_string(x.text1, y.text1) && same_string(x.text2, y.text2);
    });
}

bool same(const T_AttributesT &a, const T_AttributesT &b) {
    return same_each(a, b, [](const T_AttributeT &x, const T_AttributeT &y) {
        return same_string(x.name, y.name) && same(x.values, y.values) && x.flag1 == y.flag1 &&
               x.flag2 == y.flag2;
    });
}

bool same(const T_TypedValT &a, const T_TypedValT &b) {
    if (a.kind != b.kind) return false;
    const auto &x = a.u;
    const auto &y = b.u;
    switch (a.kind) {
    case 3: return same_string(x.string, y.string);
    case 5: return same_flat(x.metrics, y.metrics);
    case 6: return same(x.strings, y.strings);
    case 7: return same_flat(x.points, y.points);
    case 8: return same(x.tabs, y.tabs);
    case 9: return std::memcmp(&x.textLoc, &y.textLoc, sizeof x.textLoc) == 0;
    case 10: return std::memcmp(&x.textRange, &y.textRange, sizeof x.textRange) == 0;
    case 12: return same_flat(x.catalog, y.catalog);
    case 13: return same_flat(x.ints, y.ints);
    case 14: return same_flat(x.ubytes, y.ubytes);
    case 15: return same_flat(x.uints, y.uints);
    case 17: return same(x.attributeDefs, y.attributeDefs);
    case 18: return same(x.attributes, y.attributes);
    case 19:
        return x.elementRange == nullptr || y.elementRange == nullptr
                   ? x.elementRange == y.elementRange
                   : std::memcmp(x.elementRange, y.elementRange, sizeof(T_ElementRangeT)) == 0;
    default: return x.ival == y.ival;
    }
}

bool same(const T_PropValsT &a, const T_PropValsT &b) {
    return same_each(a, b, [](const T_PropValT &x, const T_PropValT &y) {
        return x.ident.num == y.ident.num && same_string(x.ident.name, y.ident.name) &&
               same(x.value, y.value);
    });
}

bool same(const TextItemsT &a, const TextItemsT &b) {
    return same_each(a, b, [](const TextItemT &x, const TextItemT &y) {
        return x.offset == y.offset && x.data.kind == y.data.kind &&
               (x.data.kind == 1 ? same_string(x.data.u.text, y.data.u.text)
                                 : x.data.u.value == y.data.u.value);
    });
}

}  // namespace samples
