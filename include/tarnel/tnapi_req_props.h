/* Property, text property and object requests, and progress reports.
 *
 * Reads return the value (strings and lists as new memory the caller owns and
 * releases with the matching T_ApiDeallocate* operation); on failure they set
 * TA_errno and return 0, a null string or the all-zero record. Writes return
 * nothing and set TA_errno on failure. Arguments passed by pointer are read
 * only; a null record or list pointer is sent as the empty value. */
#ifndef TARNEL_TNAPI_REQ_PROPS_H
#define TARNEL_TNAPI_REQ_PROPS_H

#include <tarnel/api_values.h>
#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/* ---- Properties of an object, by number (and by name where given) ------- */

int T_ApiGetInt(unsigned int docId, unsigned int objId, int propNum);
void T_ApiSetInt(unsigned int docId, unsigned int objId, int propNum, int value);
int T_ApiGetIntByName(unsigned int docId, unsigned int objId, StringT propName);
void T_ApiSetIntByName(unsigned int docId, unsigned int objId, StringT propName, int value);

unsigned int T_ApiGetId(unsigned int docId, unsigned int objId, int propNum);
void T_ApiSetId(unsigned int docId, unsigned int objId, int propNum, unsigned int value);

T_MetricT T_ApiGetMetric(unsigned int docId, unsigned int objId, int propNum);
void T_ApiSetMetric(unsigned int docId, unsigned int objId, int propNum, T_MetricT value);
T_MetricT T_ApiGetMetricByName(unsigned int docId, unsigned int objId, StringT propName);
void T_ApiSetMetricByName(unsigned int docId, unsigned int objId, StringT propName,
                          T_MetricT value);

StringT T_ApiGetString(unsigned int docId, unsigned int objId, int propNum);
void T_ApiSetString(unsigned int docId, unsigned int objId, int propNum, StringT value);

T_StringsT T_ApiGetStrings(unsigned int docId, unsigned int objId, int propNum);
void T_ApiSetStrings(unsigned int docId, unsigned int objId, int propNum, T_StringsT *value);

T_MetricsT T_ApiGetMetrics(unsigned int docId, unsigned int objId, int propNum);
void T_ApiSetMetrics(unsigned int docId, unsigned int objId, int propNum, T_MetricsT *value);

T_PointsT T_ApiGetPoints(unsigned int docId, unsigned int objId, int propNum);
void T_ApiSetPoints(unsigned int docId, unsigned int objId, int propNum, T_PointsT *value);

T_TabsT T_ApiGetTabs(unsigned int docId, unsigned int objId, int propNum);
void T_ApiSetTabs(unsigned int docId, unsigned int objId, int propNum, T_TabsT *value);

T_IntsT T_ApiGetInts(unsigned int docId, unsigned int objId, int propNum);
void T_ApiSetInts(unsigned int docId, unsigned int objId, int propNum, T_IntsT *value);

/* Byte lists exist by name only. */
T_UBytesT T_ApiGetUBytesByName(unsigned int docId, unsigned int objId, StringT propName);
void T_ApiSetUBytesByName(unsigned int docId, unsigned int objId, StringT propName,
                          T_UBytesT *value);

T_TextLocT T_ApiGetTextLoc(unsigned int docId, unsigned int objId, int propNum);
void T_ApiSetTextLoc(unsigned int docId, unsigned int objId, int propNum, T_TextLocT *value);

T_TextRangeT T_ApiGetTextRange(unsigned int docId, unsigned int objId, int propNum);
void T_ApiSetTextRange(unsigned int docId, unsigned int objId, int propNum,
                       T_TextRangeT *value);

T_ElementRangeT T_ApiGetElementRange(unsigned int docId, unsigned int objId, int propNum);
void T_ApiSetElementRange(unsigned int docId, unsigned int objId, int propNum,
                          T_ElementRangeT *value);

T_TypedValT T_ApiGetVal(unsigned int docId, unsigned int objId, int propNum);
void T_ApiSetVal(unsigned int docId, unsigned int objId, int propNum, T_TypedValT *value);

/* The identifier travels inside the property value. */
T_PropValT T_ApiGetPropVal(unsigned int docId, unsigned int objId, int propNum);
void T_ApiSetPropVal(unsigned int docId, unsigned int objId, T_PropValT *prop);

T_PropValsT T_ApiGetProps(unsigned int docId, unsigned int objId);
void T_ApiSetProps(unsigned int docId, unsigned int objId, T_PropValsT *props);

void T_ApiDeletePropByName(unsigned int docId, unsigned int objId, StringT propName);

/* ---- Properties of text: read at a location, written over a range ------- */

T_TypedValT T_ApiGetTextVal(unsigned int docId, T_TextLocT *loc, int propNum);
T_PropValT T_ApiGetTextPropVal(unsigned int docId, T_TextLocT *loc, int propNum);
T_PropValsT T_ApiGetTextProps(unsigned int docId, T_TextLocT *loc);
void T_ApiSetTextVal(unsigned int docId, T_TextRangeT *range, int propNum, T_TypedValT *value);
void T_ApiSetTextPropVal(unsigned int docId, T_TextRangeT *range, T_PropValT *prop);
void T_ApiSetTextProps(unsigned int docId, T_TextRangeT *range, T_PropValsT *props);

/* ---- Objects ------------------------------------------------------------ */

/* 1 when the host knows the object, else 0 (TA_errno says why). */
int T_ApiObjectValid(unsigned int docId, unsigned int objId);
/* 0, or the host's status (also in TA_errno); -1 without a reply. */
int T_ApiDelete(unsigned int docId, unsigned int objId);
/* The found or new object's id; 0 on failure. */
unsigned int T_ApiGetNamedObject(unsigned int docId, int objType, StringT name);
unsigned int T_ApiGetUniqueObject(unsigned int docId, int objType, int unique);
unsigned int T_ApiNewGraphicObject(unsigned int docId, int objType, unsigned int parentId);
unsigned int T_ApiNewNamedObject(unsigned int docId, int objType, StringT name);
unsigned int T_ApiNewAnchoredObject(unsigned int docId, int objType, T_TextLocT *loc);
unsigned int T_ApiNewAnchoredFormattedObject(unsigned int docId, int objType, StringT format,
                                             T_TextLocT *loc);
unsigned int T_ApiNewSeriesObject(unsigned int docId, int objType, unsigned int previousId);
unsigned int T_ApiNewSubObject(unsigned int docId, unsigned int parentId, int objType);

/* Reports progress to the host: 0 when it took the value, -1 when not.
 * Never changes TA_errno. */
int T_Progress(int value);

TARNEL_END_DECLS

#endif
