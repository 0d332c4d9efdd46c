/* Value types exchanged with the host, and their XDR routines.
 *
 * Each record here is both the wire form and the in-memory form that clients
 * hold. One routine xdr_<Type> per type encodes, decodes or (under XDR_FREE)
 * releases, depending on the stream's operation; each returns TRUE on success.
 *
 * Counted lists are always `count` then `items` (an array of `count`
 * elements); on the wire an XDR array with no upper bound on the count.
 */
#ifndef TARNEL_API_VALUES_H
#define TARNEL_API_VALUES_H

#include <rpc/rpc.h>

#include <tarnel/cdecls.h>
#include <tarnel/tde_types.h>

TARNEL_BEGIN_DECLS

/* NUL-terminated byte string, may be null. A null string is sent as the
 * empty string; a decoded string is always allocated, never null. */
typedef char *StringT;

/* A property named by a non-zero `num`, or by `num` 0 and `name`.
 * `name` travels (and is decoded and released) only when `num` is 0. */
typedef struct T_PropIdentT {
    int num;
    StringT name;
} T_PropIdentT;

typedef struct T_PointT {
    int x;
    int y;
} T_PointT;

typedef struct SizeT {
    int width;
    int height;
} SizeT;

typedef struct RectT {
    int x;
    int y;
    int width;
    int height;
} RectT;

typedef struct T_TabT {
    int position;
    unsigned char kind;
    StringT text;
    unsigned char mark;
} T_TabT;

typedef struct T_FontT {
    u_int family;
    u_int variation;
    u_int weight;
    u_int angle;
} T_FontT;

typedef struct T_CombinedFontT {
    u_int word1;
    u_int word2;
    u_int word3;
    u_int word4;
} T_CombinedFontT;

typedef struct T_ElementCatalogEntryT {
    u_int objId;
    int value;
} T_ElementCatalogEntryT;

typedef struct T_TextLocT {
    u_int objId; /* the object that holds the text */
    int offset;  /* position within it */
} T_TextLocT;

typedef struct T_TextRangeT {
    T_TextLocT begin;
    T_TextLocT end;
} T_TextRangeT;

typedef struct T_ElementLocT {
    u_int parentId;
    u_int childId;
    int offset;
} T_ElementLocT;

typedef struct T_ElementRangeT {
    T_ElementLocT begin;
    T_ElementLocT end;
} T_ElementRangeT;

/* Kind 1 carries `u.text`; every other kind carries `u.value`. */
typedef struct TextItemDataT {
    int kind;
    union {
        StringT text;
        int value;
    } u;
} TextItemDataT;

typedef struct TextItemT {
    int offset;
    TextItemDataT data;
} TextItemT;

/* Counted lists. */
typedef struct T_StringsT {
    u_int count;
    StringT *items;
} T_StringsT;

typedef struct T_MetricsT {
    u_int count;
    T_MetricT *items;
} T_MetricsT;

typedef struct T_PointsT {
    u_int count;
    T_PointT *items;
} T_PointsT;

typedef struct T_TabsT {
    u_int count;
    T_TabT *items;
} T_TabsT;

/* Each byte is a whole 4-byte unit on the wire. */
typedef struct T_UBytesT {
    u_int count;
    unsigned char *items;
} T_UBytesT;

typedef struct T_IntsT {
    u_int count;
    int *items;
} T_IntsT;

typedef struct T_UIntsT {
    u_int count;
    u_int *items;
} T_UIntsT;

typedef struct T_FontsT {
    u_int count;
    T_FontT *items;
} T_FontsT;

typedef struct T_CombinedFontsT {
    u_int count;
    T_CombinedFontT *items;
} T_CombinedFontsT;

typedef struct T_ElementCatalogEntriesT {
    u_int count;
    T_ElementCatalogEntryT *items;
} T_ElementCatalogEntriesT;

typedef struct TextItemsT {
    u_int count;
    TextItemT *items;
} TextItemsT;

typedef struct T_AttributeDefT {
    StringT name;
    int option1;
    int option2;
    int option3;
    T_StringsT list1;
    T_StringsT list2;
    StringT text1;
    StringT text2;
} T_AttributeDefT;

typedef struct T_AttributeDefsT {
    u_int count;
    T_AttributeDefT *items;
} T_AttributeDefsT;

typedef struct T_AttributeT {
    StringT name;
    T_StringsT values;
    unsigned char flag1;
    unsigned char flag2;
} T_AttributeT;

typedef struct T_AttributesT {
    u_int count;
    T_AttributeT *items;
} T_AttributesT;

/* The kinds of a typed value, one row each: the number, the suffix of its
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
#define TA_VALUE_KINDS(X)                                                      \
    X(1, INT, ival, WORD, Int)                                                 \
    X(2, METRIC, metric, WORD, Metric)                                         \
    X(3, STRING, string, STRING, String)                                       \
    X(4, ID, ival, WORD, Id)                                                   \
    X(5, METRICS, metrics, LIST, Metrics)                                      \
    X(6, STRINGS, strings, LIST, Strings)                                      \
    X(7, POINTS, points, LIST, Points)                                         \
    X(8, TABS, tabs, LIST, Tabs)                                               \
    X(9, TEXT_LOC, textLoc, RECORD, TextLoc)                                   \
    X(10, TEXT_RANGE, textRange, RECORD, TextRange)                            \
    X(11, WORD11, ival, WORD, Word11)                                          \
    X(12, CATALOG, catalog, LIST, ElementCatalogEntries)                       \
    X(13, INTS, ints, LIST, Ints)                                              \
    X(14, UBYTES, ubytes, LIST, UBytes)                                        \
    X(15, UINTS, uints, LIST, UInts)                                           \
    X(16, WORD16, ival, WORD, Word16)                                          \
    X(17, ATTRIBUTE_DEFS, attributeDefs, LIST, AttributeDefs)                  \
    X(18, ATTRIBUTES, attributes, LIST, Attributes)                            \
    X(19, ELEMENT_RANGE, elementRange, OPTIONAL, ElementRange)

/* Named kinds: TA_KIND_INT is 1, TA_KIND_STRING 3, and so on. */
#define TA_KIND_ENUMERATOR_(num, name, member, shape, stem) TA_KIND_##name = num,
enum { TA_VALUE_KINDS(TA_KIND_ENUMERATOR_) };
#undef TA_KIND_ENUMERATOR_

/* A typed value: `kind` selects the member of `u` (TA_VALUE_KINDS above).
 * `ival` is the union's first word, shared by every WORD kind. */
typedef struct T_TypedValT {
    int kind;
    union {
        int ival;
        T_MetricT metric;
        StringT string;
        T_MetricsT metrics;
        T_StringsT strings;
        T_PointsT points;
        T_TabsT tabs;
        T_TextLocT textLoc;
        T_TextRangeT textRange;
        T_ElementCatalogEntriesT catalog;
        T_IntsT ints;
        T_UBytesT ubytes;
        T_UIntsT uints;
        T_AttributeDefsT attributeDefs;
        T_AttributesT attributes;
        T_ElementRangeT *elementRange;
    } u;
} T_TypedValT;

typedef struct T_PropValT {
    T_PropIdentT ident;
    T_TypedValT value;
} T_PropValT;

typedef struct T_PropValsT {
    u_int count;
    T_PropValT *items;
} T_PropValsT;

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

TARNEL_END_DECLS

#endif
