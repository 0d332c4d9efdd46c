/** @file
 * Value types exchanged with the host, and their XDR routines. */
#ifndef TARNEL_API_VALUES_H
#define TARNEL_API_VALUES_H

#include <tarnel/cdecls.h>
#include <tarnel/rpc_types.h>
#include <tarnel/tde_types.h>

TARNEL_BEGIN_DECLS

/** @defgroup wire Wire types
 * The value types exchanged with the host, and their XDR routines.
 *
 * Each record here is both the wire form and the in-memory form that clients
 * hold. Counted lists are always `count` then `items` (an array of `count`
 * elements, owned by the list); on the wire an XDR array with no upper
 * bound on the count. A list, string or typed value that a request function
 * or a copy operation returns is the caller's: release it with the matching
 * T_ApiDeallocate* operation (@ref values). Records without owned memory
 * (locations, ranges, points, rectangles, fonts) need no release.
 *
 * The request and reply records of each host procedure are not here: they
 * are generated from the protocol description `apilib/wire/api_to_tn.x`
 * into `tarnel/api_to_tn.h` in the build folder, together with the call
 * stubs; clients rarely need them, since each request function builds its
 * record and reads its reply itself.
 * @{ */

/** NUL-terminated byte string, may be null. A null string is sent as the
 * empty string; a decoded string is always allocated, never null. */
typedef char *StringT;

/** A property named by a non-zero `num`, or by `num` 0 and `name`.
 * `name` travels (and is decoded and released) only when `num` is 0. */
typedef struct T_PropIdentT {
    int num;      /**< property number; 0: named by `name` */
    StringT name; /**< property name, used only when `num` is 0 */
} T_PropIdentT;

/** A point in the host's coordinates. */
typedef struct T_PointT {
    int x; /**< horizontal coordinate */
    int y; /**< vertical coordinate */
} T_PointT;

/** A width and a height. */
typedef struct SizeT {
    int width;  /**< horizontal extent */
    int height; /**< vertical extent */
} SizeT;

/** A rectangle: its origin and extent. */
typedef struct RectT {
    int x;      /**< horizontal origin */
    int y;      /**< vertical origin */
    int width;  /**< horizontal extent */
    int height; /**< vertical extent */
} RectT;

/** A tab stop; owns its text. The fields' meanings are the host's. */
typedef struct T_TabT {
    int position;       /**< where the stop is */
    unsigned char kind; /**< the tab's kind */
    StringT text;       /**< the tab's text */
    unsigned char mark; /**< the tab's mark byte */
} T_TabT;

/** A font named by four host numbers. */
typedef struct T_FontT {
    u_int family;    /**< font family number */
    u_int variation; /**< variation number */
    u_int weight;    /**< weight number */
    u_int angle;     /**< angle number */
} T_FontT;

/** A combined font: four words whose meaning is the host's. */
typedef struct T_CombinedFontT {
    u_int word1; /**< first word */
    u_int word2; /**< second word */
    u_int word3; /**< third word */
    u_int word4; /**< fourth word */
} T_CombinedFontT;

/** One entry of a document's element catalogue (meanings the host's). */
typedef struct T_ElementCatalogEntryT {
    u_int objId; /**< an object id */
    int value;   /**< the host's value for it */
} T_ElementCatalogEntryT;

/** A place in a document's text. */
typedef struct T_TextLocT {
    u_int objId; /**< the object that holds the text */
    int offset;  /**< position within it */
} T_TextLocT;

/** A stretch of text between two locations. */
typedef struct T_TextRangeT {
    T_TextLocT begin; /**< first location */
    T_TextLocT end;   /**< location after the last */
} T_TextRangeT;

/** A place in a document's element structure. */
typedef struct T_ElementLocT {
    u_int parentId; /**< the parent element */
    u_int childId;  /**< the child element */
    int offset;     /**< offset at that place */
} T_ElementLocT;

/** A stretch of a document's element structure. */
typedef struct T_ElementRangeT {
    T_ElementLocT begin; /**< first location */
    T_ElementLocT end;   /**< location after the last */
} T_ElementRangeT;

/** The data of a text item: kind 1 carries `u.text`; every other kind
 * carries `u.value`. */
typedef struct TextItemDataT {
    int kind; /**< the host's item kind; 1: text */
    /** The item's data, selected by `kind`. */
    union {
        StringT text; /**< kind 1: the text, owned */
        int value;    /**< other kinds: an id or number */
    } u;
} TextItemDataT;

/** One item of a document's text, as the text-reading requests return it. */
typedef struct TextItemT {
    int offset;         /**< where the item lies in the text */
    TextItemDataT data; /**< what it is */
} TextItemT;

/** A counted list of strings; owns the array and the strings. */
typedef struct T_StringsT {
    u_int count;    /**< number of items */
    StringT *items; /**< the strings */
} T_StringsT;

/** A counted list of measurements. */
typedef struct T_MetricsT {
    u_int count;      /**< number of items */
    T_MetricT *items; /**< the measurements */
} T_MetricsT;

/** A counted list of points. */
typedef struct T_PointsT {
    u_int count;     /**< number of items */
    T_PointT *items; /**< the points */
} T_PointsT;

/** A counted list of tab stops; owns the array and their texts. */
typedef struct T_TabsT {
    u_int count;   /**< number of items */
    T_TabT *items; /**< the tab stops */
} T_TabsT;

/** A counted list of bytes. Each byte is a whole 4-byte unit on the wire. */
typedef struct T_UBytesT {
    u_int count;          /**< number of items */
    unsigned char *items; /**< the bytes */
} T_UBytesT;

/** A counted list of integers. */
typedef struct T_IntsT {
    u_int count; /**< number of items */
    int *items;  /**< the integers */
} T_IntsT;

/** A counted list of unsigned integers. */
typedef struct T_UIntsT {
    u_int count;  /**< number of items */
    u_int *items; /**< the integers */
} T_UIntsT;

/** A counted list of fonts. */
typedef struct T_FontsT {
    u_int count;    /**< number of items */
    T_FontT *items; /**< the fonts */
} T_FontsT;

/** A counted list of combined fonts. */
typedef struct T_CombinedFontsT {
    u_int count;            /**< number of items */
    T_CombinedFontT *items; /**< the combined fonts */
} T_CombinedFontsT;

/** A counted list of element catalogue entries. */
typedef struct T_ElementCatalogEntriesT {
    u_int count;                   /**< number of items */
    T_ElementCatalogEntryT *items; /**< the entries */
} T_ElementCatalogEntriesT;

/** A counted list of text items; owns the array and the items' texts. */
typedef struct TextItemsT {
    u_int count;      /**< number of items */
    TextItemT *items; /**< the items */
} TextItemsT;

/** The definition of an element attribute; the meaning of the options,
 * lists and texts is the host's. Owns its strings and lists. */
typedef struct T_AttributeDefT {
    StringT name;     /**< the attribute's name */
    int option1;      /**< first option */
    int option2;      /**< second option */
    int option3;      /**< third option */
    T_StringsT list1; /**< first string list */
    T_StringsT list2; /**< second string list */
    StringT text1;    /**< first text */
    StringT text2;    /**< second text */
} T_AttributeDefT;

/** A counted list of attribute definitions. */
typedef struct T_AttributeDefsT {
    u_int count;            /**< number of items */
    T_AttributeDefT *items; /**< the definitions */
} T_AttributeDefsT;

/** An element attribute and its values. Owns its strings. */
typedef struct T_AttributeT {
    StringT name;        /**< the attribute's name */
    T_StringsT values;   /**< its values */
    unsigned char flag1; /**< first flag (the host's) */
    unsigned char flag2; /**< second flag (the host's) */
} T_AttributeT;

/** A counted list of attributes. */
typedef struct T_AttributesT {
    u_int count;         /**< number of items */
    T_AttributeT *items; /**< the attributes */
} T_AttributesT;

/** The kinds of a typed value, one row each: the number, the suffix of its
 * TA_KIND_ constant, the member of `u` it selects, its shape, and the stem
 * that names its record type and operations. The shape says how the arm is
 * carried, copied and released:
 *   WORD      one int, the union's first word (`ival`); owns nothing
 *   STRING    a StringT; owns the string
 *   RECORD    a fixed record (T_<stem>T) copied by value; owns nothing
 *   LIST      a counted list T_<stem>T, xdr_T_<stem>T, T_ApiCopy<stem>,
 *             T_ApiDeallocate<stem>; owns the array and what its items own
 *   OPTIONAL  a pointer to T_<stem>T that may be null; owns the record
 * Every number not listed (0, negative, 20 and above) is carried as WORD.
 * Code that treats kinds one by one expands this list; a new kind is one row. */
#define TA_VALUE_KINDS(X)                                                                                              \
    X(1, INT, ival, WORD, Int)                                                                                         \
    X(2, METRIC, metric, WORD, Metric)                                                                                 \
    X(3, STRING, string, STRING, String)                                                                               \
    X(4, ID, ival, WORD, Id)                                                                                           \
    X(5, METRICS, metrics, LIST, Metrics)                                                                              \
    X(6, STRINGS, strings, LIST, Strings)                                                                              \
    X(7, POINTS, points, LIST, Points)                                                                                 \
    X(8, TABS, tabs, LIST, Tabs)                                                                                       \
    X(9, TEXT_LOC, textLoc, RECORD, TextLoc)                                                                           \
    X(10, TEXT_RANGE, textRange, RECORD, TextRange)                                                                    \
    X(11, WORD11, ival, WORD, Word11)                                                                                  \
    X(12, CATALOG, catalog, LIST, ElementCatalogEntries)                                                               \
    X(13, INTS, ints, LIST, Ints)                                                                                      \
    X(14, UBYTES, ubytes, LIST, UBytes)                                                                                \
    X(15, UINTS, uints, LIST, UInts)                                                                                   \
    X(16, WORD16, ival, WORD, Word16)                                                                                  \
    X(17, ATTRIBUTE_DEFS, attributeDefs, LIST, AttributeDefs)                                                          \
    X(18, ATTRIBUTES, attributes, LIST, Attributes)                                                                    \
    X(19, ELEMENT_RANGE, elementRange, OPTIONAL, ElementRange)

/** Named kinds: TA_KIND_INT is 1, TA_KIND_STRING 3, and so on. */
#define TA_KIND_ENUMERATOR_(num, name, member, shape, stem) TA_KIND_##name = num,
enum { TA_VALUE_KINDS(TA_KIND_ENUMERATOR_) };
#undef TA_KIND_ENUMERATOR_

/** A typed value: `kind` selects the member of `u` (#TA_VALUE_KINDS above).
 * `ival` is the union's first word, shared by every WORD kind. What the
 * selected member owns (strings, arrays, the element range) belongs to the
 * value; release it with T_ApiDeallocateVal(). */
typedef struct T_TypedValT {
    int kind; /**< one of the TA_KIND_ numbers; any other is a WORD */
    /** The value, selected by `kind`. */
    union {
        int ival;                         /**< WORD kinds (1, 4, 11, 16, others) */
        T_MetricT metric;                 /**< kind 2 */
        StringT string;                   /**< kind 3 */
        T_MetricsT metrics;               /**< kind 5 */
        T_StringsT strings;               /**< kind 6 */
        T_PointsT points;                 /**< kind 7 */
        T_TabsT tabs;                     /**< kind 8 */
        T_TextLocT textLoc;               /**< kind 9 */
        T_TextRangeT textRange;           /**< kind 10 */
        T_ElementCatalogEntriesT catalog; /**< kind 12 */
        T_IntsT ints;                     /**< kind 13 */
        T_UBytesT ubytes;                 /**< kind 14 */
        T_UIntsT uints;                   /**< kind 15 */
        T_AttributeDefsT attributeDefs;   /**< kind 17 */
        T_AttributesT attributes;         /**< kind 18 */
        T_ElementRangeT *elementRange;    /**< kind 19; may be null */
    } u;
} T_TypedValT;

/** A property: its identifier and its value. */
typedef struct T_PropValT {
    T_PropIdentT ident; /**< which property */
    T_TypedValT value;  /**< its value */
} T_PropValT;

/** A property list: a counted list of properties. Owns its entries. */
typedef struct T_PropValsT {
    u_int count;       /**< number of entries */
    T_PropValT *items; /**< the entries */
} T_PropValsT;

/** @name XDR routines
 * One routine xdr_<Type> per type.
 * @{ */

/** Encodes, decodes or (under XDR_FREE) releases one value, depending on
 * the stream's operation. A decode into a zeroed value allocates what it
 * needs; XDR_FREE releases exactly that. A null StringT is encoded as the
 * empty string.
 * @param xdrs the XDR stream
 * @param objp the value
 * @return TRUE on success, FALSE when the stream fails */
bool_t xdr_StringT(XDR *xdrs, StringT *objp);

bool_t xdr_T_PropIdentT(XDR *xdrs, T_PropIdentT *objp);
bool_t xdr_T_PointT(XDR *xdrs, T_PointT *objp);
bool_t xdr_SizeT(XDR *xdrs, SizeT *objp);
bool_t xdr_RectT(XDR *xdrs, RectT *objp);
bool_t xdr_T_TabT(XDR *xdrs, T_TabT *objp);
bool_t xdr_T_FontT(XDR *xdrs, T_FontT *objp);
bool_t xdr_T_CombinedFontT(XDR *xdrs, T_CombinedFontT *objp);
bool_t xdr_T_ElementCatalogEntryT(XDR *xdrs, T_ElementCatalogEntryT *objp);
bool_t xdr_T_StringsT(XDR *xdrs, T_StringsT *objp);
bool_t xdr_T_MetricsT(XDR *xdrs, T_MetricsT *objp);
bool_t xdr_T_PointsT(XDR *xdrs, T_PointsT *objp);
bool_t xdr_T_TabsT(XDR *xdrs, T_TabsT *objp);
bool_t xdr_T_UBytesT(XDR *xdrs, T_UBytesT *objp);
bool_t xdr_T_IntsT(XDR *xdrs, T_IntsT *objp);
bool_t xdr_T_UIntsT(XDR *xdrs, T_UIntsT *objp);
bool_t xdr_T_FontsT(XDR *xdrs, T_FontsT *objp);
bool_t xdr_T_CombinedFontsT(XDR *xdrs, T_CombinedFontsT *objp);
bool_t xdr_T_ElementCatalogEntriesT(XDR *xdrs, T_ElementCatalogEntriesT *objp);
bool_t xdr_TextItemDataT(XDR *xdrs, TextItemDataT *objp);
bool_t xdr_TextItemT(XDR *xdrs, TextItemT *objp);
bool_t xdr_TextItemsT(XDR *xdrs, TextItemsT *objp);
bool_t xdr_T_TextLocT(XDR *xdrs, T_TextLocT *objp);
bool_t xdr_T_TextRangeT(XDR *xdrs, T_TextRangeT *objp);
bool_t xdr_T_ElementLocT(XDR *xdrs, T_ElementLocT *objp);
bool_t xdr_T_ElementRangeT(XDR *xdrs, T_ElementRangeT *objp);
bool_t xdr_T_AttributeDefT(XDR *xdrs, T_AttributeDefT *objp);
bool_t xdr_T_AttributeT(XDR *xdrs, T_AttributeT *objp);
bool_t xdr_T_AttributeDefsT(XDR *xdrs, T_AttributeDefsT *objp);
bool_t xdr_T_AttributesT(XDR *xdrs, T_AttributesT *objp);
bool_t xdr_T_TypedValT(XDR *xdrs, T_TypedValT *objp);
bool_t xdr_T_PropValT(XDR *xdrs, T_PropValT *objp);
bool_t xdr_T_PropValsT(XDR *xdrs, T_PropValsT *objp);
/** @} */

/** @} */

TARNEL_END_DECLS

#endif
