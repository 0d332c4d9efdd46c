/* Every value type that has its own XDR routine, for code (chiefly tests)
 * that must treat them all alike: X(Type) expands once per type. */
#ifndef TARNEL_WIRE_VALUE_TYPES_H
#define TARNEL_WIRE_VALUE_TYPES_H

#include <tarnel/api_values.h>

/* Single records (and the string). */
#define TARNEL_WIRE_RECORD_TYPES(X)                                                                                    \
    X(StringT)                                                                                                         \
    X(T_PropIdentT)                                                                                                    \
    X(T_PointT)                                                                                                        \
    X(SizeT)                                                                                                           \
    X(RectT)                                                                                                           \
    X(T_TabT)                                                                                                          \
    X(T_FontT)                                                                                                         \
    X(T_CombinedFontT)                                                                                                 \
    X(T_ElementCatalogEntryT)                                                                                          \
    X(TextItemDataT)                                                                                                   \
    X(TextItemT)                                                                                                       \
    X(T_TextLocT)                                                                                                      \
    X(T_TextRangeT)                                                                                                    \
    X(T_ElementLocT)                                                                                                   \
    X(T_ElementRangeT)                                                                                                 \
    X(T_AttributeDefT)                                                                                                 \
    X(T_AttributeT)                                                                                                    \
    X(T_TypedValT)                                                                                                     \
    X(T_PropValT)

/* Counted lists: `count` then `items`. */
#define TARNEL_WIRE_LIST_TYPES(X)                                                                                      \
    X(T_StringsT)                                                                                                      \
    X(T_MetricsT)                                                                                                      \
    X(T_PointsT)                                                                                                       \
    X(T_TabsT)                                                                                                         \
    X(T_UBytesT)                                                                                                       \
    X(T_IntsT)                                                                                                         \
    X(T_UIntsT)                                                                                                        \
    X(T_FontsT)                                                                                                        \
    X(T_CombinedFontsT)                                                                                                \
    X(T_ElementCatalogEntriesT)                                                                                        \
    X(TextItemsT)                                                                                                      \
    X(T_AttributeDefsT)                                                                                                \
    X(T_AttributesT)                                                                                                   \
    X(T_PropValsT)

#define TARNEL_WIRE_VALUE_TYPES(X) TARNEL_WIRE_RECORD_TYPES(X) TARNEL_WIRE_LIST_TYPES(X)

#endif
