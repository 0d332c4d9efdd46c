// The typed value: `kind`, then the arm it selects.
#include <tarnel/api_values.h>

#include <cstdlib>

namespace {

// An optional element range: a boolean, then the record when present. Same
// bytes as the XDR pointer primitive; a decoded range is a new zeroed
// allocation (kept on a failed decode so the free operation releases it).
bool_t xdr_optional_range(XDR *xdrs, T_ElementRangeT **rangep)
{
    switch (xdrs->x_op) {
    case XDR_ENCODE: {
        bool_t present = *rangep != nullptr;
        if (!xdr_bool(xdrs, &present))
            return FALSE;
        return !present || xdr_T_ElementRangeT(xdrs, *rangep);
    }
    case XDR_DECODE: {
        *rangep = nullptr;
        bool_t present;
        if (!xdr_bool(xdrs, &present))
            return FALSE;
        if (!present)
            return TRUE;
        auto *range = static_cast<T_ElementRangeT *>(std::calloc(1, sizeof(T_ElementRangeT)));
        if (range == nullptr)
            return FALSE;
        *rangep = range;
        return xdr_T_ElementRangeT(xdrs, range);
    }
    case XDR_FREE:
        std::free(*rangep);
        *rangep = nullptr;
        return TRUE;
    }
    return FALSE;
}

} // namespace

extern "C" bool_t xdr_T_TypedValT(XDR *xdrs, T_TypedValT *objp)
{
    if (!xdr_int(xdrs, &objp->kind))
        return FALSE;
    switch (objp->kind) {
    case 3:
        return xdr_StringT(xdrs, &objp->u.string);
    case 5:
        return xdr_T_MetricsT(xdrs, &objp->u.metrics);
    case 6:
        return xdr_T_StringsT(xdrs, &objp->u.strings);
    case 7:
        return xdr_T_PointsT(xdrs, &objp->u.points);
    case 8:
        return xdr_T_TabsT(xdrs, &objp->u.tabs);
    case 9:
        return xdr_T_TextLocT(xdrs, &objp->u.textLoc);
    case 10:
        return xdr_T_TextRangeT(xdrs, &objp->u.textRange);
    case 12:
        return xdr_T_ElementCatalogEntriesT(xdrs, &objp->u.catalog);
    case 13:
        return xdr_T_IntsT(xdrs, &objp->u.ints);
    case 14:
        return xdr_T_UBytesT(xdrs, &objp->u.ubytes);
    case 15:
        return xdr_T_UIntsT(xdrs, &objp->u.uints);
    case 17:
        return xdr_T_AttributeDefsT(xdrs, &objp->u.attributeDefs);
    case 18:
        return xdr_T_AttributesT(xdrs, &objp->u.attributes);
    case 19:
        return xdr_optional_range(xdrs, &objp->u.elementRange);
    default:
        // 1, 2, 4, 11, 16 and every kind outside 1..19: the union's first word.
        return xdr_int(xdrs, &objp->u.ival);
    }
}
