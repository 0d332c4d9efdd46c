// Fixed records: each field in order, stopping at the first that fails.
#include <tarnel/api_values.h>

extern "C" {

bool_t xdr_T_PropIdentT(XDR *xdrs, T_PropIdentT *objp) {
    if (!xdr_int(xdrs, &objp->num)) return FALSE;
    // A numbered property carries no name: it is not sent, decoded or released.
    if (objp->num != 0) return TRUE;
    return xdr_StringT(xdrs, &objp->name);
}

bool_t xdr_T_PointT(XDR *xdrs, T_PointT *objp) { return xdr_int(xdrs, &objp->x) && xdr_int(xdrs, &objp->y); }

bool_t xdr_SizeT(XDR *xdrs, SizeT *objp) { return xdr_int(xdrs, &objp->width) && xdr_int(xdrs, &objp->height); }

bool_t xdr_RectT(XDR *xdrs, RectT *objp) {
    return xdr_int(xdrs, &objp->x) && xdr_int(xdrs, &objp->y) && xdr_int(xdrs, &objp->width) &&
           xdr_int(xdrs, &objp->height);
}

bool_t xdr_T_TabT(XDR *xdrs, T_TabT *objp) {
    return xdr_int(xdrs, &objp->position) && xdr_u_char(xdrs, &objp->kind) && xdr_StringT(xdrs, &objp->text) &&
           xdr_u_char(xdrs, &objp->mark);
}

bool_t xdr_T_FontT(XDR *xdrs, T_FontT *objp) {
    return xdr_u_int(xdrs, &objp->family) && xdr_u_int(xdrs, &objp->variation) && xdr_u_int(xdrs, &objp->weight) &&
           xdr_u_int(xdrs, &objp->angle);
}

bool_t xdr_T_CombinedFontT(XDR *xdrs, T_CombinedFontT *objp) {
    return xdr_u_int(xdrs, &objp->word1) && xdr_u_int(xdrs, &objp->word2) && xdr_u_int(xdrs, &objp->word3) &&
           xdr_u_int(xdrs, &objp->word4);
}

bool_t xdr_T_ElementCatalogEntryT(XDR *xdrs, T_ElementCatalogEntryT *objp) {
    return xdr_u_int(xdrs, &objp->objId) && xdr_int(xdrs, &objp->value);
}

bool_t xdr_T_TextLocT(XDR *xdrs, T_TextLocT *objp) {
    return xdr_u_int(xdrs, &objp->objId) && xdr_int(xdrs, &objp->offset);
}

bool_t xdr_T_TextRangeT(XDR *xdrs, T_TextRangeT *objp) {
    return xdr_T_TextLocT(xdrs, &objp->begin) && xdr_T_TextLocT(xdrs, &objp->end);
}

bool_t xdr_T_ElementLocT(XDR *xdrs, T_ElementLocT *objp) {
    return xdr_u_int(xdrs, &objp->parentId) && xdr_u_int(xdrs, &objp->childId) && xdr_int(xdrs, &objp->offset);
}

bool_t xdr_T_ElementRangeT(XDR *xdrs, T_ElementRangeT *objp) {
    return xdr_T_ElementLocT(xdrs, &objp->begin) && xdr_T_ElementLocT(xdrs, &objp->end);
}

bool_t xdr_TextItemDataT(XDR *xdrs, TextItemDataT *objp) {
    if (!xdr_int(xdrs, &objp->kind)) return FALSE;
    if (objp->kind == 1) return xdr_StringT(xdrs, &objp->u.text);
    return xdr_int(xdrs, &objp->u.value);
}

bool_t xdr_TextItemT(XDR *xdrs, TextItemT *objp) {
    return xdr_int(xdrs, &objp->offset) && xdr_TextItemDataT(xdrs, &objp->data);
}

bool_t xdr_T_AttributeDefT(XDR *xdrs, T_AttributeDefT *objp) {
    return xdr_StringT(xdrs, &objp->name) && xdr_int(xdrs, &objp->option1) && xdr_int(xdrs, &objp->option2) &&
           xdr_int(xdrs, &objp->option3) && xdr_T_StringsT(xdrs, &objp->list1) && xdr_T_StringsT(xdrs, &objp->list2) &&
           xdr_StringT(xdrs, &objp->text1) && xdr_StringT(xdrs, &objp->text2);
}

bool_t xdr_T_AttributeT(XDR *xdrs, T_AttributeT *objp) {
    return xdr_StringT(xdrs, &objp->name) && xdr_T_StringsT(xdrs, &objp->values) && xdr_u_char(xdrs, &objp->flag1) &&
           xdr_u_char(xdrs, &objp->flag2);
}

bool_t xdr_T_PropValT(XDR *xdrs, T_PropValT *objp) {
    return xdr_T_PropIdentT(xdrs, &objp->ident) && xdr_T_TypedValT(xdrs, &objp->value);
}

}  // extern "C"
