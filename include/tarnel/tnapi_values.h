/** @file
 * Value utilities: property lists, strings, deep copies and releases of every
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

/** @defgroup values Value utilities
 * Property lists, strings, deep copies and releases, default script
 * parameters, status bits and filter arguments.
 *
 * Every value returned here is new memory from the API allocators that the
 * caller owns and releases with the matching T_ApiDeallocate* operation;
 * the same holds for the strings and lists the request functions return.
 * A copy never shares memory with its source; a null source gives the empty
 * value. A copy that runs out of memory comes back empty (a list whose array
 * cannot be allocated) or with null strings where a string could not be
 * copied; nothing here is fatal and nothing sets #TA_errno except
 * T_ApiCheckStatus(). A release frees what the value owns and leaves the
 * empty state (null string, count 0 and null array), so releasing twice is
 * harmless; it accepts a null address. None of these touches the host.
 * @{ */

/** @name API allocators
 * The plain system allocator: what they return may be released with the
 * matching free, and everything the library hands a client comes from them.
 * Failure is a null result; there is no size limit and no fatal mode.
 * @{ */
/** Allocates size bytes, not cleared.
 * @param size the byte count
 * @return the block (release with T_ApiFree()), or null when memory is out */
void *TapiMalloc(size_t size);
/** Allocates count * size bytes, cleared to zero.
 * @param count,size the element count and size
 * @return the block (release with T_ApiFree()), or null when memory is out or
 *         the product overflows */
void *TapiCalloc(size_t count, size_t size);
/** Resizes a block; a null ptr is TapiMalloc(size), and the new bytes are not
 * cleared. A zero size keeps a live block, so null always means exhaustion.
 * @param ptr the block, or null
 * @param size the new byte count
 * @return the resized block, or null when memory is out (ptr stays valid) */
void *TapiRealloc(void *ptr, size_t size);
/** Releases a block of the API allocators; null is ignored.
 * @param ptr the block */
void T_ApiFree(void *ptr);
/** @} */

/* ---- Strings ------------------------------------------------------------ */

/** @param s the string
 * @return bytes before the NUL; 0 for null */
int T_ApiStringLen(const char *s);
/** @param s the string; null yields a new empty string
 * @return a new copy (release with T_ApiDeallocateString()); null only when
 *         memory is out */
StringT T_ApiCopyString(const char *s);
/** Releases *s and sets it to null.
 * @param s the address of the string variable; null does nothing */
void T_ApiDeallocateString(StringT *s);

/* ---- Property lists ----------------------------------------------------- */

/** Finds an entry by number (names are never compared).
 * @param list the list
 * @param num the property number
 * @return the index of the first entry whose number is num, or -4 when there
 *         is none, the list is null or it has no array (#TA_errno untouched) */
int T_ApiGetPropIndex(const T_PropValsT *list, int num);
/** @param n the number of entries
 * @return n zero-filled entries (number 0, null name, kind 0); the empty
 *         list when n is not positive or memory is out. Release with
 *         T_ApiDeallocatePropVals(). */
T_PropValsT T_ApiAllocatePropVals(int n);
/** Stores a deep copy of *value under num, replacing the entry that already
 * has that number (it keeps its place) or adding one at the end.
 * @param list the list, changed in place
 * @param num the property number
 * @param value the value to copy
 * @return the entry, or null when the list could not grow (it is then
 *         unchanged) */
T_PropValT *T_ApiAppendVal(T_PropValsT *list, int num, const T_TypedValT *value);
/** T_ApiAppendVal() of an integer (kind 1); a failure goes unreported.
 * @param list the list
 * @param num the property number
 * @param value the integer */
void T_ApiAppendIntProp(T_PropValsT *list, int num, int value); /* kind 1 */
/** T_ApiAppendVal() of a measurement (kind 2).
 * @param list the list
 * @param num the property number
 * @param value the measurement */
void T_ApiAppendMetricProp(T_PropValsT *list, int num, T_MetricT value); /* kind 2 */
/** T_ApiAppendVal() of a copy of a string (kind 3).
 * @param list the list
 * @param num the property number
 * @param value the string */
void T_ApiAppendStringProp(T_PropValsT *list, int num, const char *value); /* kind 3 */
/** T_ApiAppendVal() of a copy of a string list (kind 6).
 * @param list the list
 * @param num the property number
 * @param value the string list */
void T_ApiAppendStringsProp(T_PropValsT *list, int num, const T_StringsT *value); /* kind 6 */

/* ---- Copies and releases ------------------------------------------------ */

/** @param src the list; null gives the empty list
 * @return a deep copy; release with T_ApiDeallocateStrings() */
T_StringsT T_ApiCopyStrings(const T_StringsT *src);
/** Releases the strings and the array.
 * @param list the list */
void T_ApiDeallocateStrings(T_StringsT *list);
/** @param src the list; null gives the empty list
 * @return a copy; release with T_ApiDeallocateUBytes() */
T_UBytesT T_ApiCopyUBytes(const T_UBytesT *src);
/** Releases the array.
 * @param list the list */
void T_ApiDeallocateUBytes(T_UBytesT *list);
/** @param src the list; null gives the empty list
 * @return a copy; release with T_ApiDeallocateMetrics() */
T_MetricsT T_ApiCopyMetrics(const T_MetricsT *src);
/** Releases the array.
 * @param list the list */
void T_ApiDeallocateMetrics(T_MetricsT *list);
/** @param src the list; null gives the empty list
 * @return a copy; release with T_ApiDeallocateInts() */
T_IntsT T_ApiCopyInts(const T_IntsT *src);
/** Releases the array.
 * @param list the list */
void T_ApiDeallocateInts(T_IntsT *list);
/** @param src the list; null gives the empty list
 * @return a copy; release with T_ApiDeallocateUInts() */
T_UIntsT T_ApiCopyUInts(const T_UIntsT *src);
/** Releases the array.
 * @param list the list */
void T_ApiDeallocateUInts(T_UIntsT *list);
/** @param src the list; null gives the empty list
 * @return a copy; release with T_ApiDeallocatePoints() */
T_PointsT T_ApiCopyPoints(const T_PointsT *src);
/** Releases the array.
 * @param list the list */
void T_ApiDeallocatePoints(T_PointsT *list);
/** @param src the list; null gives the empty list
 * @return a copy; release with T_ApiDeallocateElementCatalogEntries() */
T_ElementCatalogEntriesT T_ApiCopyElementCatalogEntries(const T_ElementCatalogEntriesT *src);
/** Releases the array.
 * @param list the list */
void T_ApiDeallocateElementCatalogEntries(T_ElementCatalogEntriesT *list);
/** @param src the list; null gives the empty list
 * @return a copy; release with T_ApiDeallocateFonts() */
T_FontsT T_ApiCopyFonts(const T_FontsT *src);
/** Releases the array.
 * @param list the list */
void T_ApiDeallocateFonts(T_FontsT *list);
/** @param src the list; null gives the empty list
 * @return a copy; release with T_ApiDeallocateCombinedFonts() */
T_CombinedFontsT T_ApiCopyCombinedFonts(const T_CombinedFontsT *src);
/** Releases the array.
 * @param list the list */
void T_ApiDeallocateCombinedFonts(T_CombinedFontsT *list);

/** @param src the tab; null gives a zero tab with a null text
 * @return a deep copy; release with T_ApiDeallocateTab() */
T_TabT T_ApiCopyTab(const T_TabT *src);
/** Releases the tab's text.
 * @param tab the tab */
void T_ApiDeallocateTab(T_TabT *tab);
/** @param src the list; null gives the empty list
 * @return a deep copy; release with T_ApiDeallocateTabs() */
T_TabsT T_ApiCopyTabs(const T_TabsT *src);
/** Releases every tab's text and the array.
 * @param list the list */
void T_ApiDeallocateTabs(T_TabsT *list);

/** @param src the definition; null gives an all-empty one
 * @return a deep copy; release with T_ApiDeallocateAttributeDef() */
T_AttributeDefT T_ApiCopyAttributeDef(const T_AttributeDefT *src);
/** Releases the definition's strings and lists.
 * @param def the definition */
void T_ApiDeallocateAttributeDef(T_AttributeDefT *def);
/** @param src the list; null gives the empty list
 * @return a deep copy; release with T_ApiDeallocateAttributeDefs() */
T_AttributeDefsT T_ApiCopyAttributeDefs(const T_AttributeDefsT *src);
/** Releases every definition and the array.
 * @param list the list */
void T_ApiDeallocateAttributeDefs(T_AttributeDefsT *list);
/** @param src the attribute; null gives an all-empty one
 * @return a deep copy; release with T_ApiDeallocateAttribute() */
T_AttributeT T_ApiCopyAttribute(const T_AttributeT *src);
/** Releases the attribute's name and values.
 * @param attribute the attribute */
void T_ApiDeallocateAttribute(T_AttributeT *attribute);
/** @param src the list; null gives the empty list
 * @return a deep copy; release with T_ApiDeallocateAttributes() */
T_AttributesT T_ApiCopyAttributes(const T_AttributesT *src);
/** Releases every attribute and the array.
 * @param list the list */
void T_ApiDeallocateAttributes(T_AttributesT *list);

/** Copies what the kind owns; kinds 11, 16 and kinds outside 1..19 carry the
 * first word only.
 * @param src the value; null gives kind 0
 * @return a deep copy; release with T_ApiDeallocateVal() */
T_TypedValT T_ApiCopyVal(const T_TypedValT *src);
/** Releases what the kind owns. The kind survives a release.
 * @param value the value */
void T_ApiDeallocateVal(T_TypedValT *value);
/** @param src the entry; null gives number 0, null name and the integer 0.
 *        A null name stays null in the copy.
 * @return a deep copy; release with T_ApiDeallocatePropVal() */
T_PropValT T_ApiCopyPropVal(const T_PropValT *src);
/** Releases the entry's name and value.
 * @param entry the entry */
void T_ApiDeallocatePropVal(T_PropValT *entry);
/** @param src the list; null or a list without array gives the empty list
 * @return a deep copy; release with T_ApiDeallocatePropVals() */
T_PropValsT T_ApiCopyPropVals(const T_PropValsT *src);
/** Releases every entry and the array.
 * @param list the list */
void T_ApiDeallocatePropVals(T_PropValsT *list);

/** @param src the item; null gives offset 0, data kind 1 and a null text
 * @return a deep copy; release with T_ApiDeallocateTextItem() */
TextItemT T_ApiCopyTextItem(const TextItemT *src);
/** Releases the item's text (kind 1).
 * @param item the item */
void T_ApiDeallocateTextItem(TextItemT *item);
/** @param n the number of items
 * @return n zero-filled items; always an array (one item for n == 0) unless
 *         memory is out, when the result is count 0 and a null array.
 *         Release with T_ApiDeallocateTextItems(). */
TextItemsT T_ApiAllocateTextItems(int n);
/** @param src the list; null gives the empty list
 * @return a deep copy; release with T_ApiDeallocateTextItems() */
TextItemsT T_ApiCopyTextItems(const TextItemsT *src);
/** Releases every item's text and the array.
 * @param list the list */
void T_ApiDeallocateTextItems(TextItemsT *list);

/* ---- Default scripts (release with T_ApiDeallocatePropVals) ------------- */

/** @name Default scripts
 * The default parameter list of each scripted operation (@ref req_docs,
 * T_ApiSpell()): a fixed list of property numbers, kinds and defaults in the
 * order the host expects. Clients start from it and change the entries they
 * care about.
 * @{ */
/** @return a new list (release with T_ApiDeallocatePropVals()); a string
 *          that cannot be copied stays null, and a list whose array cannot
 *          be allocated is empty */
T_PropValsT T_ApiGetOpenDefaultParams(void);
T_PropValsT T_ApiGetSaveDefaultParams(void);
T_PropValsT T_ApiGetImportDefaultParams(void);
T_PropValsT T_ApiGetExportDefaultParams(void);
T_PropValsT T_ApiGetUpdateBookDefaultParams(void);
T_PropValsT T_ApiGetSpellDefaultParams(void);
/** @} */

/* ---- Status bits -------------------------------------------------------- */

/** Reads one bit of the status entry (number 3, else number 1) of a
 * scripted operation's return-parameter list; the entry is a list of 32-bit
 * words (kind 5, 13 or 15), bit 0 the lowest of the first word.
 * @param list the list
 * @param bit the bit number
 * @return 1 when the bit is set, else 0. Errors return 0 and set #TA_errno:
 *         #TA_ERR_NO_STATUS_PROP (-5) without a status entry,
 *         #TA_ERR_BIT_NOT_IN_STATUS (-4) when the entry holds no such bit
 *         (every negative bit included); a successful call leaves it alone */
int T_ApiCheckStatus(const T_PropValsT *list, int bit);

/* ---- Filter arguments (notification 75) --------------------------------- */

/** The byte that separates the pieces of a filter notification's text. */
#define TDE_FILTER_ARG_SEPARATOR 30

/** A filter notification's text split into pieces: pieces 1 to 6 in
 * arg1..arg6 (null where there is no piece); the seventh and later pieces
 * in `extra`, in order. Owns every string. */
typedef struct TdeApiFilterArgsT {
    StringT arg1;     /**< first piece */
    StringT arg2;     /**< second piece */
    StringT arg3;     /**< third piece */
    StringT arg4;     /**< fourth piece */
    StringT arg5;     /**< fifth piece */
    StringT arg6;     /**< sixth piece */
    T_StringsT extra; /**< seventh and later pieces */
} TdeApiFilterArgsT;

/** Splits text at every separator (k separators give k + 1 pieces; an empty
 * piece is an empty string; a piece that cannot be copied is null).
 * @param text the text; null reads as empty
 * @return a new record, null only when it cannot be allocated. Release the
 *         contents with TdeApiDeallocateFilterArgs(), the record with
 *         T_Free(). */
TdeApiFilterArgsT *TdeApiExpandFilterArgs(const char *text);
/** Releases the record's strings (not the record itself).
 * @param args the record; null does nothing */
void TdeApiDeallocateFilterArgs(TdeApiFilterArgsT *args);
/** Delivers notification 75: T_ApiNotify(75, objId, record, number), where
 * the third argument is the split record (a TdeApiFilterArgsT pointer cast
 * to StringT), valid during the call only. The session calls it; without
 * memory for the record the client gets an all-empty one.
 * @param objId the notification's object
 * @param text the packed arguments
 * @param number the notification's number */
void translateFileToFile(unsigned int objId, StringT text, int number);

/* ---- Internal helpers shared by the library's units --------------------- */

/** @name Internal helpers
 * Shared by the library's units; not meant for clients.
 * @{ */
/** Copies src and its NUL into dst.
 * @param dst the target, with room
 * @param src the source; null writes just the NUL */
void strCpy(char *dst, const char *src);
/** Releases *pptr (a pointer variable's address) and sets it to null.
 * @param pptr the address of a pointer variable */
void api_free(void *pptr);
/** Appends piece to list, which takes it over; the array grows by 16
 * entries when full.
 * @param list the list
 * @param piece the string, owned by the list from now on
 * @return 0, or -1 when the list cannot grow (the piece is then released) */
int addfstr(T_StringsT *list, StringT piece);
/** @} */

/** @} */

TARNEL_END_DECLS

#endif
