// Properties of objects by number and by name, of every value kind, and the
// element catalogue and attributes. A read names the kind it expects: a
// property of another kind answers st::wrongKind, a missing one
// st::noProperty, an unknown object st::noObject.
// The element catalogue (property 1488 of a document) is computed: one entry
// per element definition, its value the number of elements of it.
#include <cctype>

#include "common.h"

namespace tarnel::host {
namespace {

Value catalogue(u_int docId) {
    Model &m = model();
    const Document &d = *m.document(docId);
    std::vector<T_ElementCatalogEntryT> entries;
    for (u_int id : d.objects)
        if (m.object(id)->type == ot::elementDef) {
            int uses = 0;
            for (u_int other : d.objects)
                uses += m.object(other)->type == ot::element && m.object(other)->elementDef == id;
            entries.push_back({id, uses});
        }
    T_TypedValT v{};
    v.kind = TA_KIND_CATALOG;
    v.u.catalog = {static_cast<u_int>(entries.size()), entries.data()};
    return Value(v);  // copies the entries
}

bool computed(const Object &o, int num) {
    return num == pn::elementCatalog && o.type != ot::session && o.id == o.docId;
}

// Reads a property: the status, and on success a deep copy in *out.
int readProp(Request &req, u_int docId, u_int objId, const T_PropIdentT &ident, int kind, T_TypedValT *out) {
    field(req, "doc", docId);
    field(req, "obj", objId);
    fieldIdent(req, ident);
    Object *o = model().resolve(docId, objId);
    if (!o) return st::noObject;
    Value v;
    if (computed(*o, ident.num)) {
        v = catalogue(o->docId);
    } else {
        const Prop *p = o->find(ident.num, identName(ident));
        if (!p) return st::noProperty;
        v = p->value;
    }
    if (kind >= 0 && v.kind() != kind) {
        field(req, "kind", v.kind());
        return st::wrongKind;
    }
    *out = v.copy();
    return st::ok;
}

// The request line shows the write's argument already (api_service.cpp).
int writeProp(u_int docId, u_int objId, const T_PropIdentT &ident, const T_TypedValT &value) {
    Object *o = model().resolve(docId, objId);
    if (!o) return st::noObject;
    if (ident.num == 0 && identName(ident).empty()) return st::badArgument;
    if (computed(*o, ident.num)) return st::badArgument;
    o->set(ident.num, identName(ident), Value(value));
    if (Document *d = model().document(o->docId)) d->modified = true;
    return st::ok;
}

// A read of one kind into the reply record Ret; `take` moves the copy's arm
// into the reply, which then owns its memory.
template <typename Ret, typename Take> void getAs(Request &req, int kind, Take take) {
    const auto &a = argOf<ApiTnGetPropArgT>(req);
    Ret &r = resOf<Ret>(req);
    T_TypedValT v{};
    r.status = readProp(req, a.docId, a.objId, a.ident, kind, &v);
    if (r.status == st::ok) take(r, v);
}

// A write of one kind from the request record Arg; `view` gives the value as
// a T_TypedValT that borrows the request's memory (the model copies it).
template <typename Arg, typename View> void setAs(Request &req, int kind, View view) {
    const Arg &a = argOf<Arg>(req);
    T_TypedValT v{};
    v.kind = kind;
    view(v, a);
    replyStatus(req, writeProp(a.docId, a.objId, a.ident, v));
}

// One read or write per kind: the reply's or request's `value` field is the
// typed value's arm (lists and records move whole).
#define GET_AS(fn, Ret, kind, arm)                                                                                     \
    void fn(Host &, Request &req) {                                                                                    \
        getAs<Ret>(req, kind, [](Ret &r, T_TypedValT &v) { r.value = v.u.arm; });                                      \
    }
#define SET_AS(fn, Arg, kind, arm)                                                                                     \
    void fn(Host &, Request &req) {                                                                                    \
        setAs<Arg>(req, kind, [](T_TypedValT &v, const Arg &a) { v.u.arm = a.value; });                                \
    }

GET_AS(getInt, ApiTnGetIntRetT, TA_KIND_INT, ival)
SET_AS(setInt, ApiTnSetIntArgT, TA_KIND_INT, ival)
GET_AS(getMetric, ApiTnGetMetricRetT, TA_KIND_METRIC, metric)
SET_AS(setMetric, ApiTnSetMetricArgT, TA_KIND_METRIC, metric)
GET_AS(getString, ApiTnGetStringRetT, TA_KIND_STRING, string)
GET_AS(getStrings, ApiTnGetStringsRetT, TA_KIND_STRINGS, strings)
SET_AS(setStrings, ApiTnSetStringsArgT, TA_KIND_STRINGS, strings)
GET_AS(getMetrics, ApiTnGetMetricsRetT, TA_KIND_METRICS, metrics)
SET_AS(setMetrics, ApiTnSetMetricsArgT, TA_KIND_METRICS, metrics)
GET_AS(getPoints, ApiTnGetPointsRetT, TA_KIND_POINTS, points)
SET_AS(setPoints, ApiTnSetPointsArgT, TA_KIND_POINTS, points)
GET_AS(getTabs, ApiTnGetTabsRetT, TA_KIND_TABS, tabs)
SET_AS(setTabs, ApiTnSetTabsArgT, TA_KIND_TABS, tabs)
GET_AS(getInts, ApiTnGetIntsRetT, TA_KIND_INTS, ints)
SET_AS(setInts, ApiTnSetIntsArgT, TA_KIND_INTS, ints)
GET_AS(getUBytes, ApiTnGetUBytesRetT, TA_KIND_UBYTES, ubytes)
SET_AS(setUBytes, ApiTnSetUBytesArgT, TA_KIND_UBYTES, ubytes)
GET_AS(getTextLoc, ApiTnGetTextLocRetT, TA_KIND_TEXT_LOC, textLoc)
SET_AS(setTextLoc, ApiTnSetTextLocArgT, TA_KIND_TEXT_LOC, textLoc)
GET_AS(getTextRange, ApiTnGetTextRangeRetT, TA_KIND_TEXT_RANGE, textRange)
SET_AS(setTextRange, ApiTnSetTextRangeArgT, TA_KIND_TEXT_RANGE, textRange)
GET_AS(getCatalog, ApiTnGetElementCatalogRetT, TA_KIND_CATALOG, catalog)
GET_AS(getAttributeDefs, ApiTnGetAttributeDefsRetT, TA_KIND_ATTRIBUTE_DEFS, attributeDefs)
SET_AS(setAttributeDefs, ApiTnSetAttributeDefsArgT, TA_KIND_ATTRIBUTE_DEFS, attributeDefs)
GET_AS(getAttributes, ApiTnGetAttributesRetT, TA_KIND_ATTRIBUTES, attributes)
SET_AS(setAttributes, ApiTnSetAttributesArgT, TA_KIND_ATTRIBUTES, attributes)

void setString(Host &, Request &req) {
    setAs<ApiTnSetStringArgT>(req, TA_KIND_STRING,
                              [](T_TypedValT &v, const ApiTnSetStringArgT &a) { v.u.string = a.value; });
}

// Object ids are kind 4 (a word handled like an integer).
void getId(Host &, Request &req) {
    getAs<ApiTnGetIdRetT>(req, TA_KIND_ID,
                          [](ApiTnGetIdRetT &r, T_TypedValT &v) { r.value = static_cast<u_int>(v.u.ival); });
}
void setId(Host &, Request &req) {
    setAs<ApiTnSetIdArgT>(req, TA_KIND_ID,
                          [](T_TypedValT &v, const ApiTnSetIdArgT &a) { v.u.ival = static_cast<int>(a.value); });
}

void getElementRange(Host &, Request &req) {
    getAs<ApiTnGetElementRangeRetT>(req, TA_KIND_ELEMENT_RANGE, [](ApiTnGetElementRangeRetT &r, T_TypedValT &v) {
        if (v.u.elementRange) r.value = *v.u.elementRange;
        std::free(v.u.elementRange);
    });
}
void setElementRange(Host &, Request &req) {
    setAs<ApiTnSetElementRangeArgT>(req, TA_KIND_ELEMENT_RANGE, [](T_TypedValT &v, const ApiTnSetElementRangeArgT &a) {
        v.u.elementRange = const_cast<T_ElementRangeT *>(&a.value);
    });
}

void getVal(Host &, Request &req) {
    getAs<ApiTnGetValRetT>(req, -1, [](ApiTnGetValRetT &r, T_TypedValT &v) { r.value = v; });
}
void setVal(Host &, Request &req) {
    const auto &a = argOf<ApiTnSetValArgT>(req);
    replyStatus(req, writeProp(a.docId, a.objId, a.ident, a.value));
}

void getProp(Host &, Request &req) {
    getAs<ApiTnGetPropRetT>(req, -1, [&req](ApiTnGetPropRetT &r, T_TypedValT &v) {
        const auto &a = argOf<ApiTnGetPropArgT>(req);
        r.prop.ident.num = a.ident.num;
        r.prop.ident.name = a.ident.num ? nullptr : strdup(identName(a.ident).c_str());
        r.prop.value = v;
    });
}
void setProp(Host &, Request &req) {
    const auto &a = argOf<ApiTnSetPropArgT>(req);
    replyStatus(req, writeProp(a.docId, a.objId, a.prop.ident, a.prop.value));
}

void getProps(Host &, Request &req) {
    const auto &a = argOf<ApiTnGeneralObjArgT>(req);
    auto &r = resOf<ApiTnGetPropsRetT>(req);
    field(req, "doc", a.docId);
    field(req, "obj", a.objId);
    Object *o = model().resolve(a.docId, a.objId);
    if (!o) {
        r.status = st::noObject;
        return;
    }
    std::vector<Prop> all = o->props;
    if (o->type != ot::session && o->id == o->docId) all.push_back(Prop{pn::elementCatalog, "", catalogue(o->docId)});
    field(req, "count", static_cast<long long>(all.size()));
    r.props = propList(all);
}

void setProps(Host &, Request &req) {
    const auto &a = argOf<ApiTnSetPropsArgT>(req);
    Object *o = model().resolve(a.docId, a.objId);
    if (!o) return replyStatus(req, st::noObject);
    // All or nothing: every entry is checked before any is stored.
    for (u_int i = 0; i < a.props.count; i++) {
        const T_PropIdentT &id = a.props.items[i].ident;
        if ((id.num == 0 && identName(id).empty()) || computed(*o, id.num)) return replyStatus(req, st::badArgument);
    }
    for (u_int i = 0; i < a.props.count; i++)
        o->set(a.props.items[i].ident.num, identName(a.props.items[i].ident), Value(a.props.items[i].value));
    if (Document *d = model().document(o->docId)) d->modified = true;
}

void deleteProp(Host &, Request &req) {
    const auto &a = argOf<ApiTnGetPropArgT>(req);
    field(req, "doc", a.docId);
    field(req, "obj", a.objId);
    fieldIdent(req, a.ident);
    Object *o = model().resolve(a.docId, a.objId);
    if (!o) return replyStatus(req, st::noObject);
    if (!o->erase(a.ident.num, identName(a.ident))) return replyStatus(req, st::noProperty);
}

bool sameName(const char *a, const std::string &b, bool anyCase) {
    std::string x = a ? a : "";
    if (x.size() != b.size()) return false;
    for (std::size_t i = 0; i < x.size(); i++)
        if (anyCase ? std::tolower(static_cast<unsigned char>(x[i])) != std::tolower(static_cast<unsigned char>(b[i]))
                    : x[i] != b[i])
            return false;
    return true;
}

// Removes the attribute `name` from elements whose definition does not define
// it: the one element given, or with object 0 every element of the document.
// Flag bit 0 compares names without regard to case.
void deleteUndefinedAttribute(Host &, Request &req) {
    const auto &a = argOf<ApiTnDeleteUndefinedAttributeArgT>(req);
    Document *d = docOrFail(req, a.docId);
    std::string name = a.str1 ? a.str1 : "";
    fields(req, {{"name", name}, {"flags", a.int1}, {"obj", a.uint1}});
    if (!d) return;
    Model &m = model();
    std::vector<Object *> targets;
    if (a.uint1 == 0) {
        for (u_int id : d->objects)
            if (m.object(id)->type == ot::element) targets.push_back(m.object(id));
    } else {
        Object *o = m.resolve(a.docId, a.uint1);
        if (!o) return replyStatus(req, st::noObject);
        if (o->type != ot::element) return replyStatus(req, st::wrongType);
        targets.push_back(o);
    }
    bool anyCase = a.int1 & 1;
    int removed = 0;
    for (Object *e : targets) {
        Prop *attrs = e->find(pn::attributes, "");
        if (!attrs || attrs->value.kind() != TA_KIND_ATTRIBUTES) continue;
        bool defined = false;
        if (Object *def = m.object(e->elementDef))
            if (const Prop *defs = def->find(pn::attributeDefs, "");
                defs && defs->value.kind() == TA_KIND_ATTRIBUTE_DEFS) {
                const T_AttributeDefsT &l = defs->value.get().u.attributeDefs;
                for (u_int i = 0; i < l.count; i++) defined = defined || sameName(l.items[i].name, name, anyCase);
            }
        if (defined) continue;
        const T_AttributesT &have = attrs->value.get().u.attributes;
        std::vector<T_AttributeT> keep;
        for (u_int i = 0; i < have.count; i++)
            if (!sameName(have.items[i].name, name, anyCase)) keep.push_back(have.items[i]);
        if (keep.size() == have.count) continue;
        removed += static_cast<int>(have.count - keep.size());
        T_TypedValT v{};
        v.kind = TA_KIND_ATTRIBUTES;
        v.u.attributes = {static_cast<u_int>(keep.size()), keep.data()};
        attrs->value = Value(v);  // copies what is kept before the old list goes
    }
    field(req, "removed", removed);
    if (removed == 0) return replyStatus(req, st::notFound);
    d->modified = true;
}

}  // namespace

void registerPropertyHandlers() {
    registerHandlers({
        {API_TN_GET_PROP, getProp},
        {API_TN_SET_PROP, setProp},
        {API_TN_GET_PROPS, getProps},
        {API_TN_SET_PROPS, setProps},
        {API_TN_GET_INT, getInt},
        {API_TN_SET_INT, setInt},
        {API_TN_GET_ID, getId},
        {API_TN_SET_ID, setId},
        {API_TN_GET_METRIC, getMetric},
        {API_TN_SET_METRIC, setMetric},
        {API_TN_GET_STRING, getString},
        {API_TN_SET_STRING, setString},
        {API_TN_GET_STRINGS, getStrings},
        {API_TN_SET_STRINGS, setStrings},
        {API_TN_GET_METRICS, getMetrics},
        {API_TN_SET_METRICS, setMetrics},
        {API_TN_GET_POINTS, getPoints},
        {API_TN_SET_POINTS, setPoints},
        {API_TN_GET_TABS, getTabs},
        {API_TN_SET_TABS, setTabs},
        {API_TN_DELETE_PROP, deleteProp},
        {API_TN_GET_UBYTES, getUBytes},
        {API_TN_SET_UBYTES, setUBytes},
        {API_TN_GET_INTS, getInts},
        {API_TN_SET_INTS, setInts},
        {API_TN_GET_VAL, getVal},
        {API_TN_SET_VAL, setVal},
        {API_TN_GET_TEXTRANGE, getTextRange},
        {API_TN_SET_TEXTRANGE, setTextRange},
        {API_TN_GET_TEXTLOC, getTextLoc},
        {API_TN_SET_TEXTLOC, setTextLoc},
        {API_TN_GET_ELEMENT_CATALOG, getCatalog},
        {API_TN_GET_ATTRIBUTE_DEFS, getAttributeDefs},
        {API_TN_SET_ATTRIBUTE_DEFS, setAttributeDefs},
        {API_TN_GET_ATTRIBUTES, getAttributes},
        {API_TN_SET_ATTRIBUTES, setAttributes},
        {API_TN_GET_ELEMENT_RANGE, getElementRange},
        {API_TN_SET_ELEMENT_RANGE, setElementRange},
        {API_TN_DELETE_UNDEFINED_ATTRIBUTE, deleteUndefinedAttribute},
    });
}

}  // namespace tarnel::host
