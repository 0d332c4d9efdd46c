// Property calls: read, write and delete one property of an object.
#include "call.h"

using namespace tarnel::requests;

extern "C" {

// ---- Scalars and strings ---------------------------------------------------

int T_ApiGetInt(unsigned int docId, unsigned int objId, int propNum) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(propNum)};
    return value(api_tn_get_int_1, &a, &ApiTnGetIntRetT::value);
}

void T_ApiSetInt(unsigned int docId, unsigned int objId, int propNum, int v) {
    ApiTnSetIntArgT a = {docId, objId, byNumber(propNum), v};
    none(api_tn_set_int_1, &a);
}

int T_ApiGetIntByName(unsigned int docId, unsigned int objId, StringT propName) {
    ApiTnGetPropArgT a = {docId, objId, byName(propName)};
    return value(api_tn_get_int_1, &a, &ApiTnGetIntRetT::value);
}

void T_ApiSetIntByName(unsigned int docId, unsigned int objId, StringT propName, int v) {
    ApiTnSetIntArgT a = {docId, objId, byName(propName), v};
    none(api_tn_set_int_1, &a);
}

unsigned int T_ApiGetId(unsigned int docId, unsigned int objId, int propNum) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(propNum)};
    return value(api_tn_get_id_1, &a, &ApiTnGetIdRetT::value);
}

void T_ApiSetId(unsigned int docId, unsigned int objId, int propNum, unsigned int v) {
    ApiTnSetIdArgT a = {docId, objId, byNumber(propNum), v};
    none(api_tn_set_id_1, &a);
}

T_MetricT T_ApiGetMetric(unsigned int docId, unsigned int objId, int propNum) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(propNum)};
    return value(api_tn_get_metric_1, &a, &ApiTnGetMetricRetT::value);
}

void T_ApiSetMetric(unsigned int docId, unsigned int objId, int propNum, T_MetricT v) {
    ApiTnSetMetricArgT a = {docId, objId, byNumber(propNum), v};
    none(api_tn_set_metric_1, &a);
}

T_MetricT T_ApiGetMetricByName(unsigned int docId, unsigned int objId, StringT propName) {
    ApiTnGetPropArgT a = {docId, objId, byName(propName)};
    return value(api_tn_get_metric_1, &a, &ApiTnGetMetricRetT::value);
}

void T_ApiSetMetricByName(unsigned int docId, unsigned int objId, StringT propName, T_MetricT v) {
    ApiTnSetMetricArgT a = {docId, objId, byName(propName), v};
    none(api_tn_set_metric_1, &a);
}

StringT T_ApiGetString(unsigned int docId, unsigned int objId, int propNum) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(propNum)};
    return value(api_tn_get_string_1, &a, &ApiTnGetStringRetT::value);
}

void T_ApiSetString(unsigned int docId, unsigned int objId, int propNum, StringT v) {
    ApiTnSetStringArgT a = {docId, objId, byNumber(propNum), v};
    none(api_tn_set_string_1, &a);
}

// ---- Lists -----------------------------------------------------------------

T_StringsT T_ApiGetStrings(unsigned int docId, unsigned int objId, int propNum) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(propNum)};
    return record(api_tn_get_strings_1, &a, &ApiTnGetStringsRetT::value);
}

void T_ApiSetStrings(unsigned int docId, unsigned int objId, int propNum, T_StringsT *v) {
    ApiTnSetStringsArgT a = {docId, objId, byNumber(propNum), headerOf(v)};
    none(api_tn_set_strings_1, &a);
}

T_MetricsT T_ApiGetMetrics(unsigned int docId, unsigned int objId, int propNum) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(propNum)};
    return record(api_tn_get_metrics_1, &a, &ApiTnGetMetricsRetT::value);
}

void T_ApiSetMetrics(unsigned int docId, unsigned int objId, int propNum, T_MetricsT *v) {
    ApiTnSetMetricsArgT a = {docId, objId, byNumber(propNum), headerOf(v)};
    none(api_tn_set_metrics_1, &a);
}

T_PointsT T_ApiGetPoints(unsigned int docId, unsigned int objId, int propNum) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(propNum)};
    return record(api_tn_get_points_1, &a, &ApiTnGetPointsRetT::value);
}

void T_ApiSetPoints(unsigned int docId, unsigned int objId, int propNum, T_PointsT *v) {
    ApiTnSetPointsArgT a = {docId, objId, byNumber(propNum), headerOf(v)};
    none(api_tn_set_points_1, &a);
}

T_TabsT T_ApiGetTabs(unsigned int docId, unsigned int objId, int propNum) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(propNum)};
    return record(api_tn_get_tabs_1, &a, &ApiTnGetTabsRetT::value);
}

void T_ApiSetTabs(unsigned int docId, unsigned int objId, int propNum, T_TabsT *v) {
    ApiTnSetTabsArgT a = {docId, objId, byNumber(propNum), headerOf(v)};
    none(api_tn_set_tabs_1, &a);
}

T_IntsT T_ApiGetInts(unsigned int docId, unsigned int objId, int propNum) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(propNum)};
    return record(api_tn_get_ints_1, &a, &ApiTnGetIntsRetT::value);
}

void T_ApiSetInts(unsigned int docId, unsigned int objId, int propNum, T_IntsT *v) {
    ApiTnSetIntsArgT a = {docId, objId, byNumber(propNum), headerOf(v)};
    none(api_tn_set_ints_1, &a);
}

T_UBytesT T_ApiGetUBytesByName(unsigned int docId, unsigned int objId, StringT propName) {
    ApiTnGetPropArgT a = {docId, objId, byName(propName)};
    return record(api_tn_get_ubytes_1, &a, &ApiTnGetUBytesRetT::value);
}

void T_ApiSetUBytesByName(unsigned int docId, unsigned int objId, StringT propName, T_UBytesT *v) {
    ApiTnSetUBytesArgT a = {docId, objId, byName(propName), headerOf(v)};
    none(api_tn_set_ubytes_1, &a);
}

// ---- Location records (no owned memory: copied as they are) ---------------

T_TextLocT T_ApiGetTextLoc(unsigned int docId, unsigned int objId, int propNum) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(propNum)};
    return value(api_tn_get_textloc_1, &a, &ApiTnGetTextLocRetT::value);
}

void T_ApiSetTextLoc(unsigned int docId, unsigned int objId, int propNum, T_TextLocT *v) {
    ApiTnSetTextLocArgT a = {docId, objId, byNumber(propNum), headerOf(v)};
    none(api_tn_set_textloc_1, &a);
}

T_TextRangeT T_ApiGetTextRange(unsigned int docId, unsigned int objId, int propNum) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(propNum)};
    return value(api_tn_get_textrange_1, &a, &ApiTnGetTextRangeRetT::value);
}

void T_ApiSetTextRange(unsigned int docId, unsigned int objId, int propNum, T_TextRangeT *v) {
    ApiTnSetTextRangeArgT a = {docId, objId, byNumber(propNum), headerOf(v)};
    none(api_tn_set_textrange_1, &a);
}

T_ElementRangeT T_ApiGetElementRange(unsigned int docId, unsigned int objId, int propNum) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(propNum)};
    return value(api_tn_get_element_range_1, &a, &ApiTnGetElementRangeRetT::value);
}

void T_ApiSetElementRange(unsigned int docId, unsigned int objId, int propNum, T_ElementRangeT *v) {
    ApiTnSetElementRangeArgT a = {docId, objId, byNumber(propNum), headerOf(v)};
    none(api_tn_set_element_range_1, &a);
}

// ---- Typed values and property lists ---------------------------------------

T_TypedValT T_ApiGetVal(unsigned int docId, unsigned int objId, int propNum) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(propNum)};
    return record(api_tn_get_val_1, &a, &ApiTnGetValRetT::value);
}

void T_ApiSetVal(unsigned int docId, unsigned int objId, int propNum, T_TypedValT *v) {
    ApiTnSetValArgT a = {docId, objId, byNumber(propNum), headerOf(v)};
    none(api_tn_set_val_1, &a);
}

T_PropValT T_ApiGetPropVal(unsigned int docId, unsigned int objId, int propNum) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(propNum)};
    return record(api_tn_get_prop_1, &a, &ApiTnGetPropRetT::prop);
}

void T_ApiSetPropVal(unsigned int docId, unsigned int objId, T_PropValT *prop) {
    ApiTnSetPropArgT a = {docId, objId, headerOf(prop)};
    none(api_tn_set_prop_1, &a);
}

T_PropValsT T_ApiGetProps(unsigned int docId, unsigned int objId) {
    ApiTnGeneralObjArgT a = {docId, objId};
    return record(api_tn_get_props_1, &a, &ApiTnGetPropsRetT::props);
}

void T_ApiSetProps(unsigned int docId, unsigned int objId, T_PropValsT *props) {
    ApiTnSetPropsArgT a = {docId, objId, headerOf(props)};
    none(api_tn_set_props_1, &a);
}

void T_ApiDeletePropByName(unsigned int docId, unsigned int objId, StringT propName) {
    ApiTnGetPropArgT a = {docId, objId, byName(propName)};
    none(api_tn_delete_prop_1, &a);
}
}
