/* Value utilities: property lists, strings, deep copies and releases of every
 * value kind, default script parameters, status bits and filter arguments.
 *
 * Ownership: every value returned here is new memory from the API allocators
 * (TapiMalloc, TapiCalloc, TapiRealloc) that the caller owns and releases with
 * the matching T_ApiDeallocate* operation. A copy never shares memory with its
 * source. A release leaves the empty state (null string, count 0 and null
 * array), so releasing twice is harmless. Copies take their source by address
 * and return the copy by value; releases take the value by address and accept
 * a null address. */
#ifndef TARNEL_TNAPI_VALUES_H
#define TARNEL_TNAPI_VALUES_H

#include <tarnel/api_values.h>
#include <tarnel/cdecls.h>
#include <tarnel/tde_types.h>

TARNEL_BEGIN_DECLS

/* ---- API allocators ----------------------------------------------------- */

/* The plain system allocator, so clients may release what they get with the
 * matching free; failure is a null result. No size limit, no fatal mode. */
void *TapiMalloc(size_t size);
void *TapiCalloc(size_t count, size_t size);
/* A null ptr is malloc(size): the new block is not cleared. A zero size
 * keeps a live block, so null always means exhaustion. */
void *TapiRealloc(void *ptr, size_t size);
void T_ApiFree(void *ptr);

/* ---- Strings ------------------------------------------------------------ */

/* Bytes before the NUL; 0 for null. */
int T_ApiStringLen(const char *s);
/* A new copy; null yields a new empty string. Null only when memory is out. */
StringT T_ApiCopyString(const char *s);
/* Releases *s and sets it to null; a null address does nothing. */
void T_ApiDeallocateString(StringT *s);

/* ---- Property lists ----------------------------------------------------- */

/* Index of the first entry whose number is num (names are never compared),
 * or -4 when there is none, the list is null or it has no array. */
int T_ApiGetPropIndex(const T_PropValsT *list, int num);
/* n zero-filled entries (number 0, null name, kind 0); the empty list when
 * n is not positive or memory is out. */
T_PropValsT T_ApiAllocatePropVals(int n);
/* Stores a deep copy of *value under num, replacing the entry that already
 * has that number (it keeps its place) or adding one at the end. Returns the
 * entry, or null when the list could not grow (it is then unchanged). */
T_PropValT *T_ApiAppendVal(T_PropValsT *list, int num, const T_TypedValT *value);
void T_ApiAppendIntProp(T_PropValsT *list, int num, int value);           /* kind 1 */
void T_ApiAppendMetricProp(T_PropValsT *list, int num, T_MetricT value);  /* kind 2 */
void T_ApiAppendStringProp(T_PropValsT *list, int num, const char *value); /* kind 3 */
void T_ApiAppendStringsProp(T_PropValsT *list, int num, const T_StringsT *value); /* kind 6 */

/* ---- Copies and releases ------------------------------------------------ */

T_StringsT T_ApiCopyStrings(const T_StringsT *src);
void T_ApiDeallocateStrings(T_StringsT *list);
T_UBytesT T_ApiCopyUBytes(const T_UBytesT *src);
void T_ApiDeallocateUBytes(T_UBytesT *list);
T_MetricsT T_ApiCopyMetrics(const T_MetricsT *src);
void T_ApiDeallocateMetrics(T_MetricsT *list);
T_IntsT T_ApiCopyInts(const T_IntsT *src);
void T_ApiDeallocateInts(T_IntsT *list);
T_UIntsT T_ApiCopyUInts(const T_UIntsT *src);
void T_ApiDeallocateUInts(T_UIntsT *list);
T_PointsT T_ApiCopyPoints(const T_PointsT *src);
void T_ApiDeallocatePoints(T_PointsT *list);
T_ElementCatalogEntriesT T_ApiCopyElementCatalogEntries(const T_ElementCatalogEntriesT *src);
void T_ApiDeallocateElementCatalogEntries(T_ElementCatalogEntriesT *list);
T_FontsT T_ApiCopyFonts(const T_FontsT *src);
void T_ApiDeallocateFonts(T_FontsT *list);
T_CombinedFontsT T_ApiCopyCombinedFonts(const T_CombinedFontsT *src);
void T_ApiDeallocateCombinedFonts(T_CombinedFontsT *list);

T_TabT T_ApiCopyTab(const T_TabT *src);
void T_ApiDeallocateTab(T_TabT *tab);
T_TabsT T_ApiCopyTabs(const T_TabsT *src);
void T_ApiDeallocateTabs(T_TabsT *list);

T_AttributeDefT T_ApiCopyAttributeDef(const T_AttributeDefT *src);
void T_ApiDeallocateAttributeDef(T_AttributeDefT *def);
T_AttributeDefsT T_ApiCopyAttributeDefs(const T_AttributeDefsT *src);
void T_ApiDeallocateAttributeDefs(T_AttributeDefsT *list);
T_AttributeT T_ApiCopyAttribute(const T_AttributeT *src);
void T_ApiDeallocateAttribute(T_AttributeT *attribute);
T_AttributesT T_ApiCopyAttributes(const T_AttributesT *src);
void T_ApiDeallocateAttributes(T_AttributesT *list);

/* Copies what the kind owns; kinds 11, 16 and kinds outside 1..19 carry the
 * first word only. The kind survives a release. */
T_TypedValT T_ApiCopyVal(const T_TypedValT *src);
void T_ApiDeallocateVal(T_TypedValT *value);
/* A null source gives number 0, null name and the integer 0. A null name
 * stays null in the copy. */
T_PropValT T_ApiCopyPropVal(const T_PropValT *src);
void T_ApiDeallocatePropVal(T_PropValT *entry);
/* A null source or a source without array gives the empty list. */
T_PropValsT T_ApiCopyPropVals(const T_PropValsT *src);
void T_ApiDeallocatePropVals(T_PropValsT *list);

/* A null source gives offset 0, data kind 1 and a null text. */
TextItemT T_ApiCopyTextItem(const TextItemT *src);
void T_ApiDeallocateTextItem(TextItemT *item);
/* n zero-filled items; always an array (one item for n == 0) unless memory
 * is out, when the result is count 0 and a null array. */
TextItemsT T_ApiAllocateTextItems(int n);
TextItemsT T_ApiCopyTextItems(const TextItemsT *src);
void T_ApiDeallocateTextItems(TextItemsT *list);

/* ---- Default scripts (release with T_ApiDeallocatePropVals) ------------- */

T_PropValsT T_ApiGetOpenDefaultParams(void);
T_PropValsT T_ApiGetSaveDefaultParams(void);
T_PropValsT T_ApiGetImportDefaultParams(void);
T_PropValsT T_ApiGetExportDefaultParams(void);
T_PropValsT T_ApiGetUpdateBookDefaultParams(void);
T_PropValsT T_ApiGetSpellDefaultParams(void);

/* ---- Status bits -------------------------------------------------------- */

/* 1 when bit `bit` of the status entry (number 3, else number 1) is set,
 * else 0. Errors return 0 and set TA_errno: -5 without a status entry, -4
 * when the entry holds no such bit (every negative bit included). */
int T_ApiCheckStatus(const T_PropValsT *list, int bit);

/* ---- Filter arguments (notification 75) --------------------------------- */

/* The byte that separates the pieces of a filter notification's text. */
#define TDE_FILTER_ARG_SEPARATOR 30

/* Pieces 1 to 6 in arg1..arg6 (null where there is no piece); the seventh
 * and later pieces in `extra`, in order. */
typedef struct TdeApiFilterArgsT {
    StringT arg1;
    StringT arg2;
    StringT arg3;
    StringT arg4;
    StringT arg5;
    StringT arg6;
    T_StringsT extra;
} TdeApiFilterArgsT;

/* Splits text at every separator (k separators give k + 1 pieces; an empty
 * piece is an empty string). Null only when the record cannot be allocated.
 * Release the contents with TdeApiDeallocateFilterArgs, the record with
 * T_Free. */
TdeApiFilterArgsT *TdeApiExpandFilterArgs(const char *text);
void TdeApiDeallocateFilterArgs(TdeApiFilterArgsT *args);
/* Delivers notification 75: T_ApiNotify(75, objId, record, number), where
 * the third argument is the split record, valid during the call only. */
void translateFileToFile(unsigned int objId, StringT text, int number);

/* ---- Internal helpers shared by the library's units --------------------- */

/* Copies src and its NUL into dst; a null source writes just the NUL. */
void strCpy(char *dst, const char *src);
/* Releases *pptr (a pointer variable's address) and sets it to null. */
void api_free(void *pptr);
/* Appends piece to list, which takes it over; the array grows by 16 entries
 * when full. When it cannot grow, the piece is released and -1 returned. */
int addfstr(T_StringsT *list, StringT piece);

TARNEL_END_DECLS

#endif
