// Property lists: lookup by number, allocation, and adding or replacing
// entries. An entry added here is always named by number (null name).
#include <climits>
#include <cstddef>

#include <tarnel/tnapi_values.h>

#include "list_ops.h"

namespace {

// The capacity is not stored; it follows from the count: 8 up to 8 entries,
// then powers of two from 16, always above the count before the append.
size_t capacity_for(u_int count) {
    if (count < 8) return 8;
    size_t cap = 16;
    while (cap <= count) cap *= 2;
    return cap;
}

}  // namespace

extern "C" {

int T_ApiGetPropIndex(const T_PropValsT *list, int num) {
    if (list == nullptr || list->items == nullptr) return -4;
    for (u_int i = 0; i < list->count && i <= static_cast<u_int>(INT_MAX); ++i) {
        if (list->items[i].ident.num == num) return static_cast<int>(i);
    }
    return -4;
}

T_PropValsT T_ApiAllocatePropVals(int n) {
    if (n <= 0) return T_PropValsT{};
    return tarnel::values::allocate_list<T_PropValsT>(static_cast<u_int>(n));
}

T_PropValT *T_ApiAppendVal(T_PropValsT *list, int num, const T_TypedValT *value) {
    if (list == nullptr) return nullptr;
    // Copy before touching the list: the value may be one of its own entries,
    // which the replacement releases and the growth may move.
    T_TypedValT copy = T_ApiCopyVal(value);

    T_PropValT *entry = nullptr;
    const int i = T_ApiGetPropIndex(list, num);
    if (i >= 0) {
        entry = &list->items[i];
        T_ApiDeallocatePropVal(entry);
    } else {
        // A count without array is no list; it is taken as empty.
        const u_int c = list->items == nullptr ? 0 : list->count;
        void *grown = c == UINT_MAX ? nullptr : TapiRealloc(list->items, capacity_for(c) * sizeof(T_PropValT));
        if (grown == nullptr) {
            // The list stays as it was, still valid; the copy is not kept.
            T_ApiDeallocateVal(&copy);
            return nullptr;
        }
        list->items = static_cast<T_PropValT *>(grown);
        list->count = c + 1;
        entry = &list->items[c];
    }
    entry->ident.num = num;
    entry->ident.name = nullptr;
    entry->value = copy;
    return entry;
}

void T_ApiAppendIntProp(T_PropValsT *list, int num, int value) {
    T_TypedValT v{};
    v.kind = TA_KIND_INT;
    v.u.ival = value;
    T_ApiAppendVal(list, num, &v);
}

void T_ApiAppendMetricProp(T_PropValsT *list, int num, T_MetricT value) {
    T_TypedValT v{};
    v.kind = TA_KIND_METRIC;
    v.u.metric = value;
    T_ApiAppendVal(list, num, &v);
}

void T_ApiAppendStringProp(T_PropValsT *list, int num, const char *value) {
    T_TypedValT v{};
    v.kind = TA_KIND_STRING;
    // Only read: T_ApiAppendVal stores its own copy.
    v.u.string = const_cast<char *>(value);
    T_ApiAppendVal(list, num, &v);
}

void T_ApiAppendStringsProp(T_PropValsT *list, int num, const T_StringsT *value) {
    T_TypedValT v{};
    v.kind = TA_KIND_STRINGS;
    if (value != nullptr) v.u.strings = *value;
    T_ApiAppendVal(list, num, &v);
}

}  // extern "C"
