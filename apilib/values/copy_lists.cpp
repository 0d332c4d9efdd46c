// Deep copies and releases of the counted lists and of the records that own
// strings or lists (tabs, attribute definitions, attributes). Copies fill
// from the last element down; a list whose array cannot be allocated comes
// back empty.
#include <tarnel/tnapi_values.h>

#include "list_ops.h"

using tarnel::values::copy_flat;
using tarnel::values::copy_nested;
using tarnel::values::release_flat;
using tarnel::values::release_nested;

extern "C" {

T_StringsT T_ApiCopyStrings(const T_StringsT *src) {
    if (src == nullptr) return T_StringsT{};
    T_StringsT out = tarnel::values::allocate_list<T_StringsT>(src->count);
    if (out.items != nullptr && src->items != nullptr) {
        for (u_int i = out.count; i-- > 0;) out.items[i] = T_ApiCopyString(src->items[i]);
    }
    return out;
}

void T_ApiDeallocateStrings(T_StringsT *list) { release_nested(list, T_ApiDeallocateString); }

T_UBytesT T_ApiCopyUBytes(const T_UBytesT *src) { return copy_flat(src); }
void T_ApiDeallocateUBytes(T_UBytesT *list) { release_flat(list); }

T_MetricsT T_ApiCopyMetrics(const T_MetricsT *src) { return copy_flat(src); }
void T_ApiDeallocateMetrics(T_MetricsT *list) { release_flat(list); }

T_IntsT T_ApiCopyInts(const T_IntsT *src) { return copy_flat(src); }
void T_ApiDeallocateInts(T_IntsT *list) { release_flat(list); }

T_UIntsT T_ApiCopyUInts(const T_UIntsT *src) { return copy_flat(src); }
void T_ApiDeallocateUInts(T_UIntsT *list) { release_flat(list); }

T_PointsT T_ApiCopyPoints(const T_PointsT *src) { return copy_flat(src); }
void T_ApiDeallocatePoints(T_PointsT *list) { release_flat(list); }

T_ElementCatalogEntriesT T_ApiCopyElementCatalogEntries(const T_ElementCatalogEntriesT *src) { return copy_flat(src); }
void T_ApiDeallocateElementCatalogEntries(T_ElementCatalogEntriesT *list) { release_flat(list); }

T_FontsT T_ApiCopyFonts(const T_FontsT *src) { return copy_flat(src); }
void T_ApiDeallocateFonts(T_FontsT *list) { release_flat(list); }

T_CombinedFontsT T_ApiCopyCombinedFonts(const T_CombinedFontsT *src) { return copy_flat(src); }
void T_ApiDeallocateCombinedFonts(T_CombinedFontsT *list) { release_flat(list); }

T_TabT T_ApiCopyTab(const T_TabT *src) {
    T_TabT out{};
    if (src == nullptr) return out;
    out.position = src->position;
    out.kind = src->kind;
    out.mark = src->mark;
    out.text = T_ApiCopyString(src->text);
    return out;
}

void T_ApiDeallocateTab(T_TabT *tab) {
    if (tab != nullptr) T_ApiDeallocateString(&tab->text);
}

T_TabsT T_ApiCopyTabs(const T_TabsT *src) { return copy_nested(src, T_ApiCopyTab); }
void T_ApiDeallocateTabs(T_TabsT *list) { release_nested(list, T_ApiDeallocateTab); }

T_AttributeDefT T_ApiCopyAttributeDef(const T_AttributeDefT *src) {
    T_AttributeDefT out{};
    if (src == nullptr) return out;
    out.name = T_ApiCopyString(src->name);
    out.option1 = src->option1;
    out.option2 = src->option2;
    out.option3 = src->option3;
    out.list1 = T_ApiCopyStrings(&src->list1);
    out.list2 = T_ApiCopyStrings(&src->list2);
    out.text1 = T_ApiCopyString(src->text1);
    out.text2 = T_ApiCopyString(src->text2);
    return out;
}

void T_ApiDeallocateAttributeDef(T_AttributeDefT *def) {
    if (def == nullptr) return;
    T_ApiDeallocateString(&def->name);
    T_ApiDeallocateStrings(&def->list1);
    T_ApiDeallocateStrings(&def->list2);
    T_ApiDeallocateString(&def->text1);
    T_ApiDeallocateString(&def->text2);
}

T_AttributeDefsT T_ApiCopyAttributeDefs(const T_AttributeDefsT *src) { return copy_nested(src, T_ApiCopyAttributeDef); }
void T_ApiDeallocateAttributeDefs(T_AttributeDefsT *list) { release_nested(list, T_ApiDeallocateAttributeDef); }

T_AttributeT T_ApiCopyAttribute(const T_AttributeT *src) {
    T_AttributeT out{};
    if (src == nullptr) return out;
    out.name = T_ApiCopyString(src->name);
    out.values = T_ApiCopyStrings(&src->values);
    out.flag1 = src->flag1;
    out.flag2 = src->flag2;
    return out;
}

void T_ApiDeallocateAttribute(T_AttributeT *attribute) {
    if (attribute == nullptr) return;
    T_ApiDeallocateString(&attribute->name);
    T_ApiDeallocateStrings(&attribute->values);
}

T_AttributesT T_ApiCopyAttributes(const T_AttributesT *src) { return copy_nested(src, T_ApiCopyAttribute); }
void T_ApiDeallocateAttributes(T_AttributesT *list) { release_nested(list, T_ApiDeallocateAttribute); }

}  // extern "C"
