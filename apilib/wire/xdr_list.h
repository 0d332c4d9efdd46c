// The one routine behind every counted list (`count` then `items`).
#ifndef TARNEL_WIRE_XDR_LIST_H
#define TARNEL_WIRE_XDR_LIST_H

#include <rpc/rpc.h>

#include <algorithm>
#include <climits>
#include <cstring>

#include <tarnel/tnapi_values.h>

#include "wire/decode_growth.h"

namespace tarnel::wire {

template <class T> using ElemProc = bool_t (*)(XDR *, T *);

// Decodes an unbounded XDR array without trusting its count for the size of
// the allocation: the array grows (doubling, at most kMaxGrowthStepBytes a
// step) as elements actually decode, so a count far beyond the data fails after a
// bounded allocation. New slots are zeroed, as the array primitive does.
// The array comes from the API allocators and ends exactly `count` long, so
// a decoded list is what a caller owns and may be handed over as it is.
// On failure the record keeps every slot that may hold decoded data (the
// failed element included) with `count` set to match, so the free
// operation releases exactly what was decoded.
template <class T, ElemProc<T> Elem> bool_t decode_list(XDR *xdrs, u_int *countp, T **itemsp) {
    *itemsp = nullptr;
    if (!xdr_u_int(xdrs, countp)) return FALSE;
    const u_int count = *countp;
    if (count == 0) return TRUE;
    if (UINT_MAX / sizeof(T) < count) {
        *countp = 0;
        return FALSE;
    }
    const u_int first = std::max<u_int>(1, kFirstGrowthBytes / sizeof(T));
    const u_int max_step = std::max<u_int>(1, kMaxGrowthStepBytes / sizeof(T));
    T *items = nullptr;
    u_int cap = 0;
    for (u_int i = 0; i < count; ++i) {
        if (i == cap) {
            u_int step = std::clamp(cap, first, max_step);
            u_int next = count - cap < step ? count : cap + step;
            T *grown = static_cast<T *>(TapiRealloc(items, size_t{next} * sizeof(T)));
            if (grown == nullptr) {
                *countp = i;
                *itemsp = items;
                return FALSE;
            }
            std::memset(static_cast<void *>(grown + cap), 0, size_t{next - cap} * sizeof(T));
            items = grown;
            cap = next;
        }
        if (!Elem(xdrs, &items[i])) {
            *countp = i + 1;
            *itemsp = items;
            return FALSE;
        }
    }
    *itemsp = items;
    return TRUE;
}

// Encodes, decodes or releases a counted list exactly as the XDR array
// primitive would with no upper bound, except that decoding never reserves
// memory for elements that have not arrived, and a list whose `count` is
// not 0 but whose `items` is null fails to encode instead of being read
// through a null pointer. Releasing frees each element and the array and
// leaves the list empty.
template <class T, ElemProc<T> Elem> bool_t xdr_list(XDR *xdrs, u_int *countp, T **itemsp) {
    switch (xdrs->x_op) {
    case XDR_ENCODE: {
        if (!xdr_u_int(xdrs, countp)) return FALSE;
        const u_int count = *countp;
        if (count == 0) return TRUE;
        if (*itemsp == nullptr || UINT_MAX / sizeof(T) < count) return FALSE;
        for (u_int i = 0; i < count; ++i)
            if (!Elem(xdrs, &(*itemsp)[i])) return FALSE;
        return TRUE;
    }
    case XDR_DECODE: return decode_list<T, Elem>(xdrs, countp, itemsp);
    case XDR_FREE: {
        T *items = *itemsp;
        if (items == nullptr) return TRUE;
        bool_t ok = TRUE;
        for (u_int i = 0; i < *countp; ++i)
            if (!Elem(xdrs, &items[i])) ok = FALSE;
        T_ApiFree(items);
        *itemsp = nullptr;
        *countp = 0;
        return ok;
    }
    }
    return FALSE;
}

}  // namespace tarnel::wire

#endif
