/** @file
 * Property, text property and object requests, and progress reports. */
#ifndef TARNEL_TNAPI_REQ_PROPS_H
#define TARNEL_TNAPI_REQ_PROPS_H

#include <tarnel/api_values.h>
#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/** @defgroup req_props Properties and objects
 * @ingroup requests
 * Read, write and delete one property of an object or of a stretch of
 * text; validate, delete, look up and create objects; report progress.
 *
 * Reads are value results (scalars and strings) or record results (lists
 * and records): on failure they return 0, a null string or the zero record
 * and set #TA_errno (@ref requests). A returned string or list is the
 * caller's, released with the matching T_ApiDeallocate* operation. Writes
 * are no-result calls: they return nothing and set #TA_errno on failure.
 * By-number calls send the number and no name; by-name calls send number 0
 * and the name.
 * @{ */

/* ---- Properties of an object, by number (and by name where given) ------- */

/** Reads an integer property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @return the value; 0 on failure */
int T_ApiGetInt(unsigned int docId, unsigned int objId, int propNum);
/** Writes an integer property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @param value the value */
void T_ApiSetInt(unsigned int docId, unsigned int objId, int propNum, int value);
/** Reads an integer property by name.
 * @param docId the document
 * @param objId the object
 * @param propName the property name
 * @return the value; 0 on failure */
int T_ApiGetIntByName(unsigned int docId, unsigned int objId, StringT propName);
/** Writes an integer property by name.
 * @param docId the document
 * @param objId the object
 * @param propName the property name
 * @param value the value */
void T_ApiSetIntByName(unsigned int docId, unsigned int objId, StringT propName, int value);

/** Reads an object-id property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @return the id; 0 on failure */
unsigned int T_ApiGetId(unsigned int docId, unsigned int objId, int propNum);
/** Writes an object-id property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @param value the id */
void T_ApiSetId(unsigned int docId, unsigned int objId, int propNum, unsigned int value);

/** Reads a measurement property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @return the value; 0 on failure */
T_MetricT T_ApiGetMetric(unsigned int docId, unsigned int objId, int propNum);
/** Writes a measurement property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @param value the value */
void T_ApiSetMetric(unsigned int docId, unsigned int objId, int propNum, T_MetricT value);
/** Reads a measurement property by name.
 * @param docId the document
 * @param objId the object
 * @param propName the property name
 * @return the value; 0 on failure */
T_MetricT T_ApiGetMetricByName(unsigned int docId, unsigned int objId, StringT propName);
/** Writes a measurement property by name.
 * @param docId the document
 * @param objId the object
 * @param propName the property name
 * @param value the value */
void T_ApiSetMetricByName(unsigned int docId, unsigned int objId, StringT propName, T_MetricT value);

/** Reads a string property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @return a new string (release with T_ApiDeallocateString());
 *         null on failure */
StringT T_ApiGetString(unsigned int docId, unsigned int objId, int propNum);
/** Writes a string property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @param value the string */
void T_ApiSetString(unsigned int docId, unsigned int objId, int propNum, StringT value);

/** Reads a string-list property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @return a new list (release with T_ApiDeallocateStrings()); empty on
 *         failure */
T_StringsT T_ApiGetStrings(unsigned int docId, unsigned int objId, int propNum);
/** Writes a string-list property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @param value the list (null: the empty list) */
void T_ApiSetStrings(unsigned int docId, unsigned int objId, int propNum, T_StringsT *value);

/** Reads a measurement-list property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @return a new list (release with T_ApiDeallocateMetrics()); empty on
 *         failure */
T_MetricsT T_ApiGetMetrics(unsigned int docId, unsigned int objId, int propNum);
/** Writes a measurement-list property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @param value the list (null: the empty list) */
void T_ApiSetMetrics(unsigned int docId, unsigned int objId, int propNum, T_MetricsT *value);

/** Reads a point-list property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @return a new list (release with T_ApiDeallocatePoints()); empty on
 *         failure */
T_PointsT T_ApiGetPoints(unsigned int docId, unsigned int objId, int propNum);
/** Writes a point-list property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @param value the list (null: the empty list) */
void T_ApiSetPoints(unsigned int docId, unsigned int objId, int propNum, T_PointsT *value);

/** Reads a tab-list property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @return a new list (release with T_ApiDeallocateTabs()); empty on
 *         failure */
T_TabsT T_ApiGetTabs(unsigned int docId, unsigned int objId, int propNum);
/** Writes a tab-list property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @param value the list (null: the empty list) */
void T_ApiSetTabs(unsigned int docId, unsigned int objId, int propNum, T_TabsT *value);

/** Reads a integer-list property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @return a new list (release with T_ApiDeallocateInts()); empty on
 *         failure */
T_IntsT T_ApiGetInts(unsigned int docId, unsigned int objId, int propNum);
/** Writes a integer-list property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @param value the list (null: the empty list) */
void T_ApiSetInts(unsigned int docId, unsigned int objId, int propNum, T_IntsT *value);

/* Byte lists exist by name only. */
/** Reads a byte-list property.
 * @param docId the document
 * @param objId the object
 * @param propName the property name
 * @return a new list (release with T_ApiDeallocateUBytes()); empty on
 *         failure */
T_UBytesT T_ApiGetUBytesByName(unsigned int docId, unsigned int objId, StringT propName);
/** Writes a byte-list property.
 * @param docId the document
 * @param objId the object
 * @param propName the property name
 * @param value the list (null: the empty list) */
void T_ApiSetUBytesByName(unsigned int docId, unsigned int objId, StringT propName, T_UBytesT *value);

/** Reads a text-location property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @return the location; the zero record on failure */
T_TextLocT T_ApiGetTextLoc(unsigned int docId, unsigned int objId, int propNum);
/** Writes a text-location property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @param value the location (null: the zero record) */
void T_ApiSetTextLoc(unsigned int docId, unsigned int objId, int propNum, T_TextLocT *value);

/** Reads a text-range property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @return the range; the zero record on failure */
T_TextRangeT T_ApiGetTextRange(unsigned int docId, unsigned int objId, int propNum);
/** Writes a text-range property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @param value the range (null: the zero record) */
void T_ApiSetTextRange(unsigned int docId, unsigned int objId, int propNum, T_TextRangeT *value);

/** Reads an element-range property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @return the range; the zero record on failure */
T_ElementRangeT T_ApiGetElementRange(unsigned int docId, unsigned int objId, int propNum);
/** Writes an element-range property.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @param value the range (null: the zero record) */
void T_ApiSetElementRange(unsigned int docId, unsigned int objId, int propNum, T_ElementRangeT *value);

/** Reads a property of any kind.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @return a new typed value (release with T_ApiDeallocateVal());
 *         kind 0 on failure */
T_TypedValT T_ApiGetVal(unsigned int docId, unsigned int objId, int propNum);
/** Writes a property of any kind.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @param value the typed value */
void T_ApiSetVal(unsigned int docId, unsigned int objId, int propNum, T_TypedValT *value);

/** Reads a property with its identifier.
 * @param docId the document
 * @param objId the object
 * @param propNum the property number
 * @return a new entry (release with T_ApiDeallocatePropVal());
 *         the zero record on failure */
T_PropValT T_ApiGetPropVal(unsigned int docId, unsigned int objId, int propNum);
/** Writes a property; the identifier travels inside the entry.
 * @param docId the document
 * @param objId the object
 * @param prop the identifier and value */
void T_ApiSetPropVal(unsigned int docId, unsigned int objId, T_PropValT *prop);

/** Reads all properties of an object.
 * @param docId the document
 * @param objId the object
 * @return a new list (release with T_ApiDeallocatePropVals()); empty on
 *         failure */
T_PropValsT T_ApiGetProps(unsigned int docId, unsigned int objId);
/** Writes the properties of a list.
 * @param docId the document
 * @param objId the object
 * @param props the list (null: the empty list) */
void T_ApiSetProps(unsigned int docId, unsigned int objId, T_PropValsT *props);

/** Removes a named property.
 * @param docId the document
 * @param objId the object
 * @param propName the property name */
void T_ApiDeletePropByName(unsigned int docId, unsigned int objId, StringT propName);

/* ---- Properties of text: read at a location, written over a range ------- */

/** Reads a property of the text at a location.
 * @param docId the document
 * @param loc where to read (null: the zero location)
 * @param propNum the property number
 * @return a new typed value (release with T_ApiDeallocateVal()); kind 0 on
 *         failure */
T_TypedValT T_ApiGetTextVal(unsigned int docId, T_TextLocT *loc, int propNum);
/** Reads a property of the text at a location, with its identifier.
 * @param docId the document
 * @param loc where to read (null: the zero location)
 * @param propNum the property number
 * @return a new entry (release with T_ApiDeallocatePropVal()); the zero
 *         record on failure */
T_PropValT T_ApiGetTextPropVal(unsigned int docId, T_TextLocT *loc, int propNum);
/** Reads all properties of the text at a location.
 * @param docId the document
 * @param loc where to read (null: the zero location)
 * @return a new list (release with T_ApiDeallocatePropVals()); empty on
 *         failure */
T_PropValsT T_ApiGetTextProps(unsigned int docId, T_TextLocT *loc);
/** Writes a property over a range of text.
 * @param docId the document
 * @param range the text to change (null: the zero range)
 * @param propNum the property number
 * @param value the typed value */
void T_ApiSetTextVal(unsigned int docId, T_TextRangeT *range, int propNum, T_TypedValT *value);
/** Writes a property over a range of text; the identifier travels inside
 * the entry (the request's own identifier field is number 0, no name).
 * @param docId the document
 * @param range the text to change (null: the zero range)
 * @param prop the identifier and value */
void T_ApiSetTextPropVal(unsigned int docId, T_TextRangeT *range, T_PropValT *prop);
/** Writes the properties of a list over a range of text.
 * @param docId the document
 * @param range the text to change (null: the zero range)
 * @param props the list (null: the empty list) */
void T_ApiSetTextProps(unsigned int docId, T_TextRangeT *range, T_PropValsT *props);

/* ---- Objects ------------------------------------------------------------ */

/** Asks whether the host knows an object.
 * @param docId the document
 * @param objId the object
 * @return 1 when it does, else 0 (#TA_errno says why: the host's status,
 *         or -1 with no reply; it is untouched on 1) */
int T_ApiObjectValid(unsigned int docId, unsigned int objId);
/** Deletes an object. Status result.
 * @param docId the document
 * @param objId the object
 * @return 0, or the host's status (also in #TA_errno); -1 without a reply */
int T_ApiDelete(unsigned int docId, unsigned int objId);
/** Looks up the named object of a type. Object result.
 * @param docId the document
 * @param objType the object type
 * @param name its name
 * @return the object's id; 0 on failure (#TA_errno set) */
unsigned int T_ApiGetNamedObject(unsigned int docId, int objType, StringT name);
/** Looks up the object of a type by its unique number. Object result.
 * @param docId the document
 * @param objType the object type
 * @param unique its unique number
 * @return the object's id; 0 on failure (#TA_errno set) */
unsigned int T_ApiGetUniqueObject(unsigned int docId, int objType, int unique);
/** Makes a graphic object. Object result.
 * @param docId the document
 * @param objType the object type
 * @param parentId the object to make it in
 * @return the object's id; 0 on failure (#TA_errno set) */
unsigned int T_ApiNewGraphicObject(unsigned int docId, int objType, unsigned int parentId);
/** Makes a named object. Object result.
 * @param docId the document
 * @param objType the object type
 * @param name its name
 * @return the object's id; 0 on failure (#TA_errno set) */
unsigned int T_ApiNewNamedObject(unsigned int docId, int objType, StringT name);
/** Makes an object anchored in text. Object result.
 * @param docId the document
 * @param objType the object type
 * @param loc the anchor (null: the zero location)
 * @return the object's id; 0 on failure (#TA_errno set) */
unsigned int T_ApiNewAnchoredObject(unsigned int docId, int objType, T_TextLocT *loc);
/** Makes an object of a named format anchored in text. Object result.
 * @param docId the document
 * @param objType the object type
 * @param format the format name
 * @param loc the anchor (null: the zero location)
 * @return the object's id; 0 on failure (#TA_errno set) */
unsigned int T_ApiNewAnchoredFormattedObject(unsigned int docId, int objType, StringT format, T_TextLocT *loc);
/** Makes an object that follows another in its series. Object result.
 * @param docId the document
 * @param objType the object type
 * @param previousId the object it follows
 * @return the object's id; 0 on failure (#TA_errno set) */
unsigned int T_ApiNewSeriesObject(unsigned int docId, int objType, unsigned int previousId);
/** Makes a sub-object. Object result. Note the parent comes before the
 * type here, unlike the other creation calls.
 * @param docId the document
 * @param parentId the parent object
 * @param objType the object type
 * @return the object's id; 0 on failure (#TA_errno set) */
unsigned int T_ApiNewSubObject(unsigned int docId, unsigned int parentId, int objType);

/** Reports progress to the host (integer property 104 of document 0,
 * object 0). Never changes #TA_errno.
 * @param value the progress value
 * @return 0 when the host took the value, -1 when not */
int T_Progress(int value);

/** @} */

TARNEL_END_DECLS

#endif
