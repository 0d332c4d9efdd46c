// Shared shape of every counted-list copy and release. Lists are `count`
// then `items`; elements that own memory are copied and released through
// their own element operation.
#ifndef TARNEL_VALUES_LIST_OPS_H
#define TARNEL_VALUES_LIST_OPS_H

#include <type_traits>

#include <tarnel/tnapi_values.h>

namespace tarnel::values {

// A list of n zero-filled elements, or the empty list for n == 0 and when
// memory is out (a count without its array would not be a valid list).
template <typename List> List allocate_list(u_int n) {
    List out{};
    if (n == 0) return out;
    using Elem = std::remove_pointer_t<decltype(out.items)>;
    out.items = static_cast<Elem *>(TapiCalloc(n, sizeof(Elem)));
    if (out.items != nullptr) out.count = n;
    return out;
}

// Plain elements: copied as they are. A source without array gives count
// zero-filled elements.
template <typename List> List copy_flat(const List *src) {
    if (src == nullptr) return List{};
    List out = allocate_list<List>(src->count);
    if (out.items != nullptr && src->items != nullptr) {
        for (u_int i = out.count; i-- > 0;) out.items[i] = src->items[i];
    }
    return out;
}

// Elements that own memory: each one by its element copy.
template <typename List, typename Elem> List copy_nested(const List *src, Elem (*copy)(const Elem *)) {
    if (src == nullptr) return List{};
    List out = allocate_list<List>(src->count);
    if (out.items != nullptr && src->items != nullptr) {
        for (u_int i = out.count; i-- > 0;) out.items[i] = copy(&src->items[i]);
    }
    return out;
}

template <typename List> void release_flat(List *list) {
    if (list == nullptr) return;
    api_free(&list->items);
    list->count = 0;
}

template <typename List, typename Elem> void release_nested(List *list, void (*release)(Elem *)) {
    if (list == nullptr) return;
    if (list->items == nullptr) list->count = 0;
    for (u_int i = list->count; i-- > 0;) release(&list->items[i]);
    api_free(&list->items);
    list->count = 0;
}

}  // namespace tarnel::values

#endif
