// Text property calls: properties of a document's text, read at a location
// and written over a range.
#include "call.h"

using namespace tarnel::requests;

extern "C" {

T_TypedValT T_ApiGetTextVal(unsigned int docId, T_TextLocT *loc, int propNum) {
    ApiTnGetTextPropArgT a = {docId, headerOf(loc), byNumber(propNum)};
    return record(api_tn_get_text_val_1, &a, &ApiTnGetValRetT::value);
}

T_PropValT T_ApiGetTextPropVal(unsigned int docId, T_TextLocT *loc, int propNum) {
    ApiTnGetTextPropArgT a = {docId, headerOf(loc), byNumber(propNum)};
    return record(api_tn_get_text_prop_1, &a, &ApiTnGetPropRetT::prop);
}

T_PropValsT T_ApiGetTextProps(unsigned int docId, T_TextLocT *loc) {
    ApiTnGetTextPropsArgT a = {docId, headerOf(loc)};
    return record(api_tn_get_text_props_1, &a, &ApiTnGetPropsRetT::props);
}

void T_ApiSetTextVal(unsigned int docId, T_TextRangeT *range, int propNum, T_TypedValT *v) {
    ApiTnSetTextValArgT a = {docId, headerOf(range), byNumber(propNum), headerOf(v)};
    none(api_tn_set_text_val_1, &a);
}

// The identifier field in front of the property value is always number 0
// without a name (an empty name travels); the property value carries the
// real identifier.
void T_ApiSetTextPropVal(unsigned int docId, T_TextRangeT *range, T_PropValT *prop) {
    ApiTnSetTextPropArgT a = {docId, headerOf(range), byName(nullptr), headerOf(prop)};
    none(api_tn_set_text_prop_1, &a);
}

void T_ApiSetTextProps(unsigned int docId, T_TextRangeT *range, T_PropValsT *props) {
    ApiTnSetTextPropsArgT a = {docId, headerOf(range), headerOf(props)};
    none(api_tn_set_text_props_1, &a);
}
}
