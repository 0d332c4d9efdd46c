// Deep copies and releases of typed values, property entries and lists, and
// text items. A typed value owns what its kind selects; scalar kinds own
// nothing.
#include <tarnel/tde_memory.h>
#include <tarnel/tnapi_values.h>

#include "list_ops.h"

extern "C" {

T_TypedValT T_ApiCopyVal(const T_TypedValT *src) {
    T_TypedValT out{};
    if (src == nullptr) {
        out.kind = 1;
        return out;
    }
    out.kind = src->kind;
    const auto &in = src->u;
    switch (src->kind) {
    case 3: out.u.string = T_ApiCopyString(in.string); break;
    case 5: out.u.metrics = T_ApiCopyMetrics(&in.metrics); break;
    case 6: out.u.strings = T_ApiCopyStrings(&in.strings); break;
    case 7: out.u.points = T_ApiCopyPoints(&in.points); break;
    case 8: out.u.tabs = T_ApiCopyTabs(&in.tabs); break;
    case 9: out.u.textLoc = in.textLoc; break;
    case 10: out.u.textRange = in.textRange; break;
    case 12: out.u.catalog = T_ApiCopyElementCatalogEntries(&in.catalog); break;
    case 13: out.u.ints = T_ApiCopyInts(&in.ints); break;
    case 14: out.u.ubytes = T_ApiCopyUBytes(&in.ubytes); break;
    case 15: out.u.uints = T_ApiCopyUInts(&in.uints); break;
    case 17: out.u.attributeDefs = T_ApiCopyAttributeDefs(&in.attributeDefs); break;
    case 18: out.u.attributes = T_ApiCopyAttributes(&in.attributes); break;
    case 19:
        // A range that cannot be allocated leaves a null pointer, a valid value.
        if (in.elementRange != nullptr) {
            auto *range = static_cast<T_ElementRangeT *>(TapiCalloc(1, sizeof(T_ElementRangeT)));
            if (range != nullptr) *range = *in.elementRange;
            out.u.elementRange = range;
        }
        break;
    default:
        // Kinds 1, 2, 4, 11, 16 and every unknown kind: one word, which the
        // wire carries for all of them, so it is kept rather than dropped.
        out.u.ival = in.ival;
        break;
    }
    return out;
}

void T_ApiDeallocateVal(T_TypedValT *value) {
    if (value == nullptr) return;
    auto &u = value->u;
    switch (value->kind) {
    case 3: T_ApiDeallocateString(&u.string); break;
    case 5: T_ApiDeallocateMetrics(&u.metrics); break;
    case 6: T_ApiDeallocateStrings(&u.strings); break;
    case 7: T_ApiDeallocatePoints(&u.points); break;
    case 8: T_ApiDeallocateTabs(&u.tabs); break;
    case 12: T_ApiDeallocateElementCatalogEntries(&u.catalog); break;
    case 13: T_ApiDeallocateInts(&u.ints); break;
    case 14: T_ApiDeallocateUBytes(&u.ubytes); break;
    case 15: T_ApiDeallocateUInts(&u.uints); break;
    case 17: T_ApiDeallocateAttributeDefs(&u.attributeDefs); break;
    case 18: T_ApiDeallocateAttributes(&u.attributes); break;
    case 19: api_free(&u.elementRange); break;
    default: break;
    }
}

T_PropValT T_ApiCopyPropVal(const T_PropValT *src) {
    T_PropValT out{};
    if (src == nullptr) {
        out.value.kind = 1;
        return out;
    }
    out.ident.num = src->ident.num;
    if (src->ident.name != nullptr) out.ident.name = T_ApiCopyString(src->ident.name);
    out.value = T_ApiCopyVal(&src->value);
    return out;
}

void T_ApiDeallocatePropVal(T_PropValT *entry) {
    if (entry == nullptr) return;
    T_ApiDeallocateString(&entry->ident.name);
    T_ApiDeallocateVal(&entry->value);
}

T_PropValsT T_ApiCopyPropVals(const T_PropValsT *src) {
    const u_int n = src == nullptr || src->items == nullptr ? 0 : src->count;
    T_PropValsT out = tnvalues::allocate_list<T_PropValsT>(n);
    for (u_int i = 0; i < out.count; ++i) out.items[i] = T_ApiCopyPropVal(&src->items[i]);
    return out;
}

void T_ApiDeallocatePropVals(T_PropValsT *list) {
    if (list == nullptr) return;
    if (list->items != nullptr) {
        for (u_int i = 0; i < list->count; ++i) T_ApiDeallocatePropVal(&list->items[i]);
    }
    api_free(&list->items);
    list->count = 0;
}

TextItemT T_ApiCopyTextItem(const TextItemT *src) {
    TextItemT out{};
    out.data.kind = 1;
    if (src == nullptr) return out;
    out.offset = src->offset;
    out.data.kind = src->data.kind;
    if (src->data.kind == 1) {
        out.data.u.text = T_ApiCopyString(src->data.u.text);
    } else {
        out.data.u.value = src->data.u.value;
    }
    return out;
}

void T_ApiDeallocateTextItem(TextItemT *item) {
    if (item != nullptr && item->data.kind == 1) T_ApiDeallocateString(&item->data.u.text);
}

TextItemsT T_ApiAllocateTextItems(int n) {
    // Even an empty list gets an array, of one item.
    TextItemsT out{};
    if (n < 0) return out;
    const u_int count = static_cast<u_int>(n);
    out.items = static_cast<TextItemT *>(TapiCalloc(count == 0 ? 1 : count, sizeof(TextItemT)));
    if (out.items != nullptr) out.count = count;
    return out;
}

TextItemsT T_ApiCopyTextItems(const TextItemsT *src) {
    const u_int n = src == nullptr || src->items == nullptr ? 0 : src->count;
    TextItemsT out = T_ApiAllocateTextItems(n > 0x7FFFFFFFu ? -1 : static_cast<int>(n));
    for (u_int i = 0; i < out.count; ++i) out.items[i] = T_ApiCopyTextItem(&src->items[i]);
    return out;
}

void T_ApiDeallocateTextItems(TextItemsT *list) {
    tnvalues::release_nested(list, T_ApiDeallocateTextItem);
}

}  // extern "C"
