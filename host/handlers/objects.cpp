// Objects: validate, delete, find by name or unique number, and create
// (graphic, named, anchored, series and sub-objects). Creation replies with
// the new object's id; a series object is linked into the document's object
// chain (document property 116 and object property 1051), after the object
// it follows or, following object 0, at the head.
#include "common.h"

namespace tarnel::host {
namespace {

void objectValid(Host &, Request &req) {
    const auto &a = argOf<ApiTnGeneralObjArgT>(req);
    field(req, "doc", a.docId);
    field(req, "obj", a.objId);
    replyStatus(req, model().resolve(a.docId, a.objId) ? st::ok : st::noObject);
}

void deleteObject(Host &, Request &req) {
    const auto &a = argOf<ApiTnGeneralObjArgT>(req);
    field(req, "doc", a.docId);
    field(req, "obj", a.objId);
    Object *o = model().resolve(a.docId, a.objId);
    if (!o) return replyStatus(req, st::noObject);
    // The session and documents are not objects one deletes (documents close).
    if (o->type == ot::session || o->id == o->docId) return replyStatus(req, st::wrongType);
    model().remove(o->id);
}

void namedObject(Host &, Request &req) {
    const auto &a = argOf<ApiTnGetNamedObjArgT>(req);
    if (!docOrFail(req, a.docId, {{"type", a.int1}, {"name", a.name ? a.name : ""}})) return;
    Object *o = model().named(a.docId, a.int1, a.name ? a.name : "");
    replyObject(req, o ? st::ok : st::notFound, o ? o->id : 0);
}

void uniqueObject(Host &, Request &req) {
    const auto &a = argOf<ApiTnGetUniqueObjArgT>(req);
    if (!docOrFail(req, a.docId, {{"type", a.int1}, {"unique", a.int2}})) return;
    Object *o = model().uniqueObject(a.docId, a.int1, a.int2);
    replyObject(req, o ? st::ok : st::notFound, o ? o->id : 0);
}

// A container given by id: 0 or the document itself mean none.
bool containerOk(u_int docId, u_int parentId, Object **parent) {
    *parent = nullptr;
    if (parentId == 0 || parentId == docId) return true;
    *parent = model().resolve(docId, parentId);
    return *parent != nullptr;
}

Object &createIn(u_int docId, int type, Object *parent) {
    Object &o = model().create(docId, type);
    if (parent) {
        o.parent = parent->id;
        parent->children.push_back(o.id);
    }
    model().document(docId)->modified = true;
    return o;
}

void newGraphic(Host &, Request &req) {
    const auto &a = argOf<ApiTnNewGraphicObjArgT>(req);
    if (!docOrFail(req, a.docId, {{"type", a.int1}, {"parent", a.uint1}})) return;
    Object *parent;
    if (!containerOk(a.docId, a.uint1, &parent)) return replyObject(req, st::noObject, 0);
    replyObject(req, st::ok, createIn(a.docId, a.int1, parent).id);
}

void newSub(Host &, Request &req) {
    const auto &a = argOf<ApiTnNewSubObjectArgT>(req);
    if (!docOrFail(req, a.docId, {{"parent", a.objId}, {"type", a.int1}})) return;
    // A sub-object needs a real parent.
    Object *parent = model().resolve(a.docId, a.objId);
    if (!parent || parent->id == a.docId) return replyObject(req, st::noObject, 0);
    replyObject(req, st::ok, createIn(a.docId, a.int1, parent).id);
}

void newNamed(Host &, Request &req) {
    const auto &a = argOf<ApiTnNewNamedObjArgT>(req);
    std::string name = a.name ? a.name : "";
    if (!docOrFail(req, a.docId, {{"type", a.int1}, {"name", name}})) return;
    // Names identify objects of a type, so they must be given and unused.
    if (name.empty() || model().named(a.docId, a.int1, name)) return replyObject(req, st::badArgument, 0);
    Object &o = createIn(a.docId, a.int1, nullptr);
    o.name = name;
    replyObject(req, st::ok, o.id);
}

void anchorAt(Request &req, u_int docId, int type, const std::string &format, const T_TextLocT &loc) {
    if (!docOrFail(req, docId, {{"loc", loc}})) return;
    if (int s = model().checkLoc(docId, loc)) return replyObject(req, s, 0);
    Object &o = createIn(docId, type, nullptr);
    o.anchored = true;
    o.anchor = loc;
    o.format = format;
    replyObject(req, st::ok, o.id);
}

void newAnchored(Host &, Request &req) {
    const auto &a = argOf<ApiTnNewAnchoredObjArgT>(req);
    field(req, "type", a.int1);
    anchorAt(req, a.docId, a.int1, "", a.loc);
}

void newAnchoredFormatted(Host &, Request &req) {
    const auto &a = argOf<ApiTnNewAnchoredFormattedObjArgT>(req);
    field(req, "type", a.int1);
    field(req, "format", a.str1 ? a.str1 : "");
    anchorAt(req, a.docId, a.int1, a.str1 ? a.str1 : "", a.loc);
}

u_int idProp(const Object &o, int num) {
    const Prop *p = o.find(num, "");
    return p && p->value.kind() == TA_KIND_ID ? static_cast<u_int>(p->value.get().u.ival) : 0;
}

void newSeries(Host &, Request &req) {
    const auto &a = argOf<ApiTnNewSeriesObjArgT>(req);
    if (!docOrFail(req, a.docId, {{"type", a.int1}, {"previous", a.uint1}})) return;
    Model &m = model();
    // The link that will point at the new object: the previous object's
    // "next", or the document's chain head.
    Object *holder = a.uint1 ? m.resolve(a.docId, a.uint1) : m.object(a.docId);
    if (!holder || (a.uint1 && holder->id == a.docId)) return replyObject(req, st::noObject, 0);
    int link = a.uint1 ? pn::nextObject : pn::firstObject;
    u_int after = idProp(*holder, link);
    Object &o = createIn(a.docId, a.int1, nullptr);
    o.set(pn::nextObject, "", Value::ofInt(TA_KIND_ID, static_cast<int>(after)));
    m.object(holder->id)->set(link, "", Value::ofInt(TA_KIND_ID, static_cast<int>(o.id)));
    replyObject(req, st::ok, o.id);
}

}  // namespace

void registerObjectHandlers() {
    registerHandlers({
        {API_TN_DELETE, deleteObject},
        {API_TN_GET_NAMED_OBJECT, namedObject},
        {API_TN_NEW_GRAPHIC_OBJECT, newGraphic},
        {API_TN_NEW_NAMED_OBJECT, newNamed},
        {API_TN_NEW_ANCHORED_OBJECT, newAnchored},
        {API_TN_NEW_SERIES_OBJECT, newSeries},
        {API_TN_GET_UNIQUE_OBJECT, uniqueObject},
        {API_TN_NEW_ANCHORED_FORMATTED_OBJECT, newAnchoredFormatted},
        {API_TN_OBJECT_VALID, objectValid},
        {API_TN_NEW_SUB_OBJECT, newSub},
    });
}

}  // namespace tarnel::host
