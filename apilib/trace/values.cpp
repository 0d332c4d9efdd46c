// Values as event values. Records of the protocol file go by the generated
// field table; the value types it uses are described here in the same form,
// with the two whose layout depends on a kind (typed values, text items)
// written out.
#include "trace/values.h"

#include <cstddef>

#include "wire/record_fields.h"

namespace tarnel::trace {
namespace {

using wire::FieldEntry;

template <typename T> const T &as(const void *p) { return *static_cast<const T *>(p); }
Node text(const char *s) { return Node::quoted(s ? s : ""); }

#define TARNEL_FIELD(record, field, type) {#field, type, offsetof(record, field), false}

const FieldEntry propIdent[] = {TARNEL_FIELD(T_PropIdentT, num, "int"), TARNEL_FIELD(T_PropIdentT, name, "StringT")};
const FieldEntry point[] = {TARNEL_FIELD(T_PointT, x, "int"), TARNEL_FIELD(T_PointT, y, "int")};
const FieldEntry size[] = {TARNEL_FIELD(SizeT, width, "int"), TARNEL_FIELD(SizeT, height, "int")};
const FieldEntry rect[] = {TARNEL_FIELD(RectT, x, "int"), TARNEL_FIELD(RectT, y, "int"),
                           TARNEL_FIELD(RectT, width, "int"), TARNEL_FIELD(RectT, height, "int")};
const FieldEntry tab[] = {TARNEL_FIELD(T_TabT, position, "int"), TARNEL_FIELD(T_TabT, kind, "unsigned char"),
                          TARNEL_FIELD(T_TabT, text, "StringT"), TARNEL_FIELD(T_TabT, mark, "unsigned char")};
const FieldEntry font[] = {TARNEL_FIELD(T_FontT, family, "unsigned int"),
                           TARNEL_FIELD(T_FontT, variation, "unsigned int"),
                           TARNEL_FIELD(T_FontT, weight, "unsigned int"), TARNEL_FIELD(T_FontT, angle, "unsigned int")};
const FieldEntry combinedFont[] = {
    TARNEL_FIELD(T_CombinedFontT, word1, "unsigned int"), TARNEL_FIELD(T_CombinedFontT, word2, "unsigned int"),
    TARNEL_FIELD(T_CombinedFontT, word3, "unsigned int"), TARNEL_FIELD(T_CombinedFontT, word4, "unsigned int")};
const FieldEntry catalogEntry[] = {TARNEL_FIELD(T_ElementCatalogEntryT, objId, "unsigned int"),
                                   TARNEL_FIELD(T_ElementCatalogEntryT, value, "int")};
const FieldEntry textLoc[] = {TARNEL_FIELD(T_TextLocT, objId, "unsigned int"), TARNEL_FIELD(T_TextLocT, offset, "int")};
const FieldEntry textRange[] = {TARNEL_FIELD(T_TextRangeT, begin, "T_TextLocT"),
                                TARNEL_FIELD(T_TextRangeT, end, "T_TextLocT")};
const FieldEntry elementLoc[] = {TARNEL_FIELD(T_ElementLocT, parentId, "unsigned int"),
                                 TARNEL_FIELD(T_ElementLocT, childId, "unsigned int"),
                                 TARNEL_FIELD(T_ElementLocT, offset, "int")};
const FieldEntry elementRange[] = {TARNEL_FIELD(T_ElementRangeT, begin, "T_ElementLocT"),
                                   TARNEL_FIELD(T_ElementRangeT, end, "T_ElementLocT")};
const FieldEntry textItem[] = {TARNEL_FIELD(TextItemT, offset, "int"), TARNEL_FIELD(TextItemT, data, "TextItemDataT")};
const FieldEntry attributeDef[] = {
    TARNEL_FIELD(T_AttributeDefT, name, "StringT"),     TARNEL_FIELD(T_AttributeDefT, option1, "int"),
    TARNEL_FIELD(T_AttributeDefT, option2, "int"),      TARNEL_FIELD(T_AttributeDefT, option3, "int"),
    TARNEL_FIELD(T_AttributeDefT, list1, "T_StringsT"), TARNEL_FIELD(T_AttributeDefT, list2, "T_StringsT"),
    TARNEL_FIELD(T_AttributeDefT, text1, "StringT"),    TARNEL_FIELD(T_AttributeDefT, text2, "StringT")};
const FieldEntry attribute[] = {
    TARNEL_FIELD(T_AttributeT, name, "StringT"), TARNEL_FIELD(T_AttributeT, values, "T_StringsT"),
    TARNEL_FIELD(T_AttributeT, flag1, "unsigned char"), TARNEL_FIELD(T_AttributeT, flag2, "unsigned char")};
const FieldEntry propVal[] = {TARNEL_FIELD(T_PropValT, ident, "T_PropIdentT"),
                              TARNEL_FIELD(T_PropValT, value, "T_TypedValT")};

#undef TARNEL_FIELD

struct RecordType {
    std::string_view name;
    const FieldEntry *fields;
    std::size_t count;
};

#define TARNEL_RECORD(type, table) {#type, table, sizeof table / sizeof table[0]}
const RecordType valueRecords[] = {
    TARNEL_RECORD(T_PropIdentT, propIdent),
    TARNEL_RECORD(T_PointT, point),
    TARNEL_RECORD(SizeT, size),
    TARNEL_RECORD(RectT, rect),
    TARNEL_RECORD(T_TabT, tab),
    TARNEL_RECORD(T_FontT, font),
    TARNEL_RECORD(T_CombinedFontT, combinedFont),
    TARNEL_RECORD(T_ElementCatalogEntryT, catalogEntry),
    TARNEL_RECORD(T_TextLocT, textLoc),
    TARNEL_RECORD(T_TextRangeT, textRange),
    TARNEL_RECORD(T_ElementLocT, elementLoc),
    TARNEL_RECORD(T_ElementRangeT, elementRange),
    TARNEL_RECORD(TextItemT, textItem),
    TARNEL_RECORD(T_AttributeDefT, attributeDef),
    TARNEL_RECORD(T_AttributeT, attribute),
    TARNEL_RECORD(T_PropValT, propVal),
};
#undef TARNEL_RECORD

// The counted lists: their item type, and where count and items are.
struct ListType {
    std::string_view name;
    const char *itemType;
    std::size_t itemSize;
    u_int (*count)(const void *);
    const void *(*items)(const void *);
};

template <typename L> u_int countOf(const void *p) { return as<L>(p).count; }
template <typename L> const void *itemsOf(const void *p) { return as<L>(p).items; }

#define TARNEL_LIST(type, item) {#type, #item, sizeof(item), countOf<type>, itemsOf<type>}
const ListType valueLists[] = {
    TARNEL_LIST(T_StringsT, StringT),
    TARNEL_LIST(T_MetricsT, int),
    TARNEL_LIST(T_PointsT, T_PointT),
    TARNEL_LIST(T_TabsT, T_TabT),
    {"T_UBytesT", "unsigned char", 1, countOf<T_UBytesT>, itemsOf<T_UBytesT>},
    TARNEL_LIST(T_IntsT, int),
    {"T_UIntsT", "unsigned int", sizeof(u_int), countOf<T_UIntsT>, itemsOf<T_UIntsT>},
    TARNEL_LIST(T_FontsT, T_FontT),
    TARNEL_LIST(T_CombinedFontsT, T_CombinedFontT),
    TARNEL_LIST(T_ElementCatalogEntriesT, T_ElementCatalogEntryT),
    TARNEL_LIST(TextItemsT, TextItemT),
    TARNEL_LIST(T_AttributeDefsT, T_AttributeDefT),
    TARNEL_LIST(T_AttributesT, T_AttributeT),
    TARNEL_LIST(T_PropValsT, T_PropValT),
};
#undef TARNEL_LIST

Node fieldsNode(const FieldEntry *fields, std::size_t count, const void *p) {
    Node out = Node::record();
    for (std::size_t i = 0; i < count; ++i) {
        const FieldEntry &f = fields[i];
        const void *at = static_cast<const char *>(p) + f.offset;
        if (f.pointer) at = as<const void *>(at);
        out.add(f.name, at ? valueNode(f.type, at) : Node());
    }
    return out;
}

double points(T_MetricT m) { return m / 65536.0; }

Node strings(const T_StringsT &s) {
    Node a = Node::list();
    for (u_int i = 0; i < s.count; ++i) a.push(text(s.items[i]));
    return a;
}

Node loc(const T_TextLocT &l) {
    return Node::record().add("object", Node::number(l.objId)).add("offset", Node::number(l.offset));
}
Node eloc(const T_ElementLocT &l) {
    return Node::record()
        .add("parent", Node::number(l.parentId))
        .add("child", Node::number(l.childId))
        .add("offset", Node::number(l.offset));
}

template <typename L, typename F> Node each(const L &list, F item) {
    Node a = Node::list();
    for (u_int i = 0; i < list.count; ++i) a.push(item(list.items[i]));
    return a;
}

Node described(const char *key, Node value) { return Node::record().add(key, std::move(value)); }

}  // namespace

Node typedValueNode(const T_TypedValT &t) {
    const auto &u = t.u;
    auto num = [](long long v) { return Node::number(v); };
    switch (t.kind) {
    case TA_KIND_INT: return described("int", num(u.ival));
    case TA_KIND_ID: return described("id", num(static_cast<u_int>(u.ival)));
    case TA_KIND_METRIC: return described("metric", Node::fraction(points(u.metric)));
    case TA_KIND_STRING: return described("string", text(u.string));
    case TA_KIND_STRINGS: return described("strings", strings(u.strings));
    case TA_KIND_METRICS: return described("metrics", each(u.metrics, [](T_MetricT m) { return Node::fraction(points(m)); }));
    case TA_KIND_INTS: return described("ints", each(u.ints, num));
    case TA_KIND_UINTS: return described("uints", each(u.uints, num));
    case TA_KIND_UBYTES: return described("ubytes", each(u.ubytes, num));
    case TA_KIND_POINTS:
        return described("points", each(u.points, [&](const T_PointT &p) { return Node::list().push(num(p.x)).push(num(p.y)); }));
    case TA_KIND_TABS:
        return described("tabs", each(u.tabs, [&](const T_TabT &x) {
                             return Node::record()
                                 .add("position", Node::fraction(points(x.position)))
                                 .add("kind", num(x.kind))
                                 .add("text", text(x.text))
                                 .add("mark", num(x.mark));
                         }));
    case TA_KIND_TEXT_LOC: return described("textloc", loc(u.textLoc));
    case TA_KIND_TEXT_RANGE:
        return described("textrange", Node::record().add("begin", loc(u.textRange.begin)).add("end", loc(u.textRange.end)));
    case TA_KIND_ELEMENT_RANGE:
        if (!u.elementRange) return described("element_range", Node());
        return described("element_range", Node::record()
                                              .add("begin", eloc(u.elementRange->begin))
                                              .add("end", eloc(u.elementRange->end)));
    case TA_KIND_CATALOG:
        return described("catalog", each(u.catalog, [&](const T_ElementCatalogEntryT &e) {
                             return Node::record().add("object", num(e.objId)).add("value", num(e.value));
                         }));
    case TA_KIND_ATTRIBUTE_DEFS:
        return described("attribute_defs", each(u.attributeDefs, [](const T_AttributeDefT &d) {
                             return valueNode("T_AttributeDefT", &d);
                         }));
    case TA_KIND_ATTRIBUTES:
        return described("attributes", each(u.attributes, [](const T_AttributeT &a) { return valueNode("T_AttributeT", &a); }));
    default: return described("word", Node::record().add("kind", num(t.kind)).add("value", num(u.ival)));
    }
}

Node valueNode(std::string_view type, const void *p) {
    if (type == "void") return Node();
    if (type == "int" || type == "T_MetricT") return Node::number(as<int>(p));
    if (type == "unsigned int" || type == "u_int") return Node::number(as<u_int>(p));
    if (type == "unsigned char") return Node::number(as<unsigned char>(p));
    if (type == "StringT") return text(as<StringT>(p));
    if (type == "T_TypedValT") return typedValueNode(as<T_TypedValT>(p));
    if (type == "TextItemDataT") {
        const TextItemDataT &d = as<TextItemDataT>(p);
        Node out = Node::record().add("kind", Node::number(d.kind));
        return d.kind == 1 ? out.add("text", text(d.u.text)) : out.add("value", Node::number(d.u.value));
    }
    if (const wire::RecordFields *r = wire::findRecord(type)) return fieldsNode(r->fields, r->count, p);
    for (const RecordType &r : valueRecords)
        if (r.name == type) return fieldsNode(r.fields, r.count, p);
    for (const ListType &l : valueLists) {
        if (l.name != type) continue;
        Node a = Node::list();
        const auto *items = static_cast<const char *>(l.items(p));
        const u_int n = l.count(p);
        for (u_int i = 0; i < n && items; ++i) a.push(valueNode(l.itemType, items + i * l.itemSize));
        return a;
    }
    return Node::bare("(" + std::string(type) + ")");  // a type the protocol does not carry
}

}  // namespace tarnel::trace
