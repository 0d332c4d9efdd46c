// Deep copies and releases of typed values, property entries and lists, and
// text items. A typed value owns what its kind selects; scalar kinds own
// nothing.
#include <tarnel/tnapi_values.h>

#include "list_ops.h"

namespace {

// An optional record: a copy of its own, or null for null. A record that
// cannot be allocated also leaves null, which is a valid value.
template <typename T> T *copy_optional(const T *src) {
    if (src == nullptr) return nullptr;
    auto *copy = static_cast<T *>(TapiCalloc(1, sizeof(T)));
    if (copy != nullptr) *copy = *src;
    return copy;
}

}  // namespace

// Per shape (TA_VALUE_KINDS): how an arm is copied and released. WORD arms
// and RECORD releases have no case; the default arm covers them.
#define TA_COPY_WORD(num, member, stem)
#define TA_COPY_STRING(num, member, stem)                                                                              \
    case num:                                                                                                          \
        out.u.member = T_ApiCopyString(in.member);                                                                     \
        break;
#define TA_COPY_RECORD(num, member, stem)                                                                              \
    case num:                                                                                                          \
        out.u.member = in.member;                                                                                      \
        break;
#define TA_COPY_LIST(num, member, stem)                                                                                \
    case num:                                                                                                          \
        out.u.member = T_ApiCopy##stem(&in.member);                                                                    \
        break;
#define TA_COPY_OPTIONAL(num, member, stem)                                                                            \
    case num:                                                                                                          \
        out.u.member = copy_optional(in.member);                                                                       \
        break;
#define TA_COPY_KIND(num, name, member, shape, stem) TA_COPY_##shape(num, member, stem)

#define TA_RELEASE_WORD(num, member, stem)
#define TA_RELEASE_STRING(num, member, stem)                                                                           \
    case num:                                                                                                          \
        T_ApiDeallocateString(&u.member);                                                                              \
        break;
#define TA_RELEASE_RECORD(num, member, stem)
#define TA_RELEASE_LIST(num, member, stem)                                                                             \
    case num:                                                                                                          \
        T_ApiDeallocate##stem(&u.member);                                                                              \
        break;
#define TA_RELEASE_OPTIONAL(num, member, stem)                                                                         \
    case num:                                                                                                          \
        api_free(&u.member);                                                                                           \
        break;
#define TA_RELEASE_KIND(num, name, member, shape, stem) TA_RELEASE_##shape(num, member, stem)

extern "C" {

T_TypedValT T_ApiCopyVal(const T_TypedValT *src) {
    T_TypedValT out{};
    if (src == nullptr) {
        out.kind = TA_KIND_INT;
        return out;
    }
    out.kind = src->kind;
    const auto &in = src->u;
    switch (src->kind) {
        TA_VALUE_KINDS(TA_COPY_KIND)
    default:
        // The WORD kinds and every unknown kind: one word, which the wire
        // carries for all of them, so it is kept rather than dropped.
        out.u.ival = in.ival;
        break;
    }
    return out;
}

void T_ApiDeallocateVal(T_TypedValT *value) {
    if (value == nullptr) return;
    auto &u = value->u;
    switch (value->kind) {
        TA_VALUE_KINDS(TA_RELEASE_KIND)
    default: break;
    }
}

T_PropValT T_ApiCopyPropVal(const T_PropValT *src) {
    T_PropValT out{};
    if (src == nullptr) {
        out.value.kind = TA_KIND_INT;
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
    T_PropValsT out = tarnel::values::allocate_list<T_PropValsT>(n);
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

void T_ApiDeallocateTextItems(TextItemsT *list) { tarnel::values::release_nested(list, T_ApiDeallocateTextItem); }

}  // extern "C"
