// Text properties: values that hold over a range of an object's text (runs).
// A read at a location sees the runs that cover it, later writes winning; a
// property no run gives there is st::noProperty.
#include "common.h"

namespace tarnel::host {
namespace {

// The properties in force at a location, or the status.
int propsAt(Request &req, u_int docId, const T_TextLocT &loc, std::vector<Prop> *out) {
    field(req, "doc", docId);
    fieldLoc(req, "loc", loc);
    Model &m = model();
    if (int s = m.checkLoc(docId, loc)) return s;
    *out = m.textProps(*m.resolve(docId, loc.objId), loc.offset);
    return st::ok;
}

const Prop *pick(const std::vector<Prop> &props, const T_PropIdentT &id) {
    for (const Prop &p : props)
        if (id.num ? p.num == id.num : p.num == 0 && p.name == identName(id)) return &p;
    return nullptr;
}

// The property a get request names at its text location, out of *props;
// null, with *status saying why, when there is none.
const Prop *namedProp(Request &req, const ApiTnGetTextPropArgT &a, std::vector<Prop> *props, int *status) {
    fieldIdent(req, a.ident);
    if ((*status = propsAt(req, a.docId, a.loc, props))) return nullptr;
    const Prop *p = pick(*props, a.ident);
    if (!p) *status = st::noProperty;
    return p;
}

void getTextVal(Host &, Request &req) {
    const auto &a = argOf<ApiTnGetTextPropArgT>(req);
    auto &r = resOf<ApiTnGetValRetT>(req);
    std::vector<Prop> props;
    if (const Prop *p = namedProp(req, a, &props, &r.status)) r.value = p->value.copy();
}

void getTextProp(Host &, Request &req) {
    const auto &a = argOf<ApiTnGetTextPropArgT>(req);
    auto &r = resOf<ApiTnGetPropRetT>(req);
    std::vector<Prop> props;
    const Prop *p = namedProp(req, a, &props, &r.status);
    if (!p) return;
    r.prop.ident.num = p->num;
    r.prop.ident.name = p->num ? nullptr : strdup(p->name.c_str());
    r.prop.value = p->value.copy();
}

void getTextProps(Host &, Request &req) {
    const auto &a = argOf<ApiTnGetTextPropsArgT>(req);
    auto &r = resOf<ApiTnGetPropsRetT>(req);
    std::vector<Prop> props;
    if ((r.status = propsAt(req, a.docId, a.loc, &props))) return;
    field(req, "count", static_cast<long long>(props.size()));
    r.props = propList(props);
}

// Writes properties over a range; all are checked before any is stored. The
// request line shows the write's argument already (api_service.cpp).
int setOver(u_int docId, const T_TextRangeT &range, const T_PropValT *items, u_int count) {
    Model &m = model();
    if (int s = m.checkRange(docId, range)) return s;
    for (u_int i = 0; i < count; i++)
        if (items[i].ident.num == 0 && identName(items[i].ident).empty()) return st::badArgument;
    Object &o = *m.resolve(docId, range.begin.objId);
    for (u_int i = 0; i < count; i++)
        m.setTextProp(o, range.begin.offset, range.end.offset,
                      Prop{items[i].ident.num, identName(items[i].ident), Value(items[i].value)});
    return st::ok;
}

void setTextVal(Host &, Request &req) {
    const auto &a = argOf<ApiTnSetTextValArgT>(req);
    // The request's identifier and value, seen as one property (borrowed).
    T_PropValT p{a.ident, a.value};
    replyStatus(req, setOver(a.docId, a.range, &p, 1));
}

// The identifier in front of the property value is always empty; the
// property value carries the real one.
void setTextProp(Host &, Request &req) {
    const auto &a = argOf<ApiTnSetTextPropArgT>(req);
    replyStatus(req, setOver(a.docId, a.range, &a.prop, 1));
}

void setTextProps(Host &, Request &req) {
    const auto &a = argOf<ApiTnSetTextPropsArgT>(req);
    replyStatus(req, setOver(a.docId, a.range, a.props.items, a.props.count));
}

}  // namespace

void registerTextPropHandlers() {
    registerHandlers({
        {API_TN_GET_TEXT_VAL, getTextVal},
        {API_TN_SET_TEXT_VAL, setTextVal},
        {API_TN_GET_TEXT_PROP, getTextProp},
        {API_TN_SET_TEXT_PROP, setTextProp},
        {API_TN_GET_TEXT_PROPS, getTextProps},
        {API_TN_SET_TEXT_PROPS, setTextProps},
    });
}

}  // namespace tarnel::host
