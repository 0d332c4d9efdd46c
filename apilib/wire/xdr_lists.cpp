// Counted lists: each is the generic list routine over its element routine.
#include <tarnel/api_values.h>

#include "xdr_list.h"

using tarnel::wire::xdr_list;

#define TARNEL_LIST(List, Elem, proc)                                                                                  \
    extern "C" bool_t xdr_##List(XDR *xdrs, List *objp) {                                                              \
        return xdr_list<Elem, proc>(xdrs, &objp->count, &objp->items);                                                 \
    }

TARNEL_LIST(T_StringsT, StringT, xdr_StringT)
TARNEL_LIST(T_MetricsT, T_MetricT, xdr_int)
TARNEL_LIST(T_PointsT, T_PointT, xdr_T_PointT)
TARNEL_LIST(T_TabsT, T_TabT, xdr_T_TabT)
TARNEL_LIST(T_UBytesT, unsigned char, xdr_u_char)
TARNEL_LIST(T_IntsT, int, xdr_int)
TARNEL_LIST(T_UIntsT, u_int, xdr_u_int)
TARNEL_LIST(T_FontsT, T_FontT, xdr_T_FontT)
TARNEL_LIST(T_CombinedFontsT, T_CombinedFontT, xdr_T_CombinedFontT)
TARNEL_LIST(T_ElementCatalogEntriesT, T_ElementCatalogEntryT, xdr_T_ElementCatalogEntryT)
TARNEL_LIST(TextItemsT, TextItemT, xdr_TextItemT)
TARNEL_LIST(T_AttributeDefsT, T_AttributeDefT, xdr_T_AttributeDefT)
TARNEL_LIST(T_AttributesT, T_AttributeT, xdr_T_AttributeT)
TARNEL_LIST(T_PropValsT, T_PropValT, xdr_T_PropValT)
