// Element structure. Elements are objects of type 7 whose definition (type 6)
// names them; each has a parent (the document at the top level) and ordered
// children, and holds its own text. The structure operations work on the
// document's element selection (its property 73): the selected element is
// the begin location's child; merges take every sibling from the begin's
// child to the end's child; a split cuts at the begin location's offset.
#include <algorithm>

#include "common.h"

namespace tarnel::host {
namespace {

std::vector<u_int> &kids(u_int parentId) { return model().object(parentId)->children; }

// Moves the text of `from` (with its runs and anchored objects) into `to` at
// an offset; `from` is left without text.
void moveText(Object &from, Object &to, int at) {
    Model &m = model();
    std::vector<TextRun> runs = from.runs;
    std::vector<u_int> anchored;
    for (u_int id : m.document(from.docId)->objects)
        if (m.object(id)->anchored && m.object(id)->anchor.objId == from.id) anchored.push_back(id);
    m.insertText(to, at, from.text);
    for (TextRun r : runs) {
        r.begin += at;
        r.end += at;
        to.runs.push_back(r);
    }
    for (u_int id : anchored) {
        Object &x = *m.object(id);
        x.anchor = T_TextLocT{to.id, x.anchor.offset + at};
    }
    from.text.clear();
    from.runs.clear();
}

void select(u_int docId, u_int parent, u_int first, u_int last) {
    T_ElementRangeT r{{parent, first, 0}, {parent, last, 0}};
    T_TypedValT v{};
    v.kind = TA_KIND_ELEMENT_RANGE;
    v.u.elementRange = &r;
    model().object(docId)->set(pn::elementSelection, "", Value(v));
}

// The selection, checked; null with the reply status set when unusable.
Object *selected(Request &req, u_int docId, T_ElementRangeT *range) {
    Document *d = docOrFail(req, docId);
    if (!d) return nullptr;
    Model &m = model();
    const Prop *p = m.object(docId)->find(pn::elementSelection, "");
    if (!p || p->value.kind() != TA_KIND_ELEMENT_RANGE || !p->value.get().u.elementRange) {
        replyStatus(req, st::noProperty);
        return nullptr;
    }
    *range = *p->value.get().u.elementRange;
    field(req, "element", range->begin.childId);
    Object *e = m.resolve(docId, range->begin.childId);
    if (!e || e->type != ot::element) {
        replyStatus(req, st::badLocation);
        return nullptr;
    }
    return e;
}

// The operations on the selected element: run only when the selection names
// one (see selected).
using ElementOp = void (*)(Request &req, Object *e, const T_ElementRangeT &r);
template <ElementOp Op> void onSelection(Host &, Request &req) {
    T_ElementRangeT r;
    if (Object *e = selected(req, argOf<ApiTnGeneralDocArgT>(req).docId, &r)) Op(req, e, r);
}

template <bool IntoFirst> void merge(Request &req, Object *first, const T_ElementRangeT &r) {
    Model &m = model();
    std::vector<u_int> &sib = kids(first->parent);
    std::size_t b = indexIn(sib, first->id), e = indexIn(sib, r.end.childId);
    if (e >= sib.size() || e <= b) return replyStatus(req, st::badArgument);
    std::vector<u_int> group(sib.begin() + static_cast<long>(b), sib.begin() + static_cast<long>(e) + 1);
    Object &target = *m.object(IntoFirst ? group.front() : group.back());
    std::vector<u_int> children;
    for (u_int id : group)
        for (u_int c : m.object(id)->children) children.push_back(c);
    if (IntoFirst) {
        for (std::size_t i = 1; i < group.size(); i++)
            moveText(*m.object(group[i]), target, static_cast<int>(target.text.size()));
    } else {
        for (std::size_t i = group.size() - 1; i-- > 0;) moveText(*m.object(group[i]), target, 0);
    }
    for (u_int c : children) m.object(c)->parent = target.id;
    target.children = children;
    for (u_int id : group)
        if (id != target.id) {
            m.object(id)->children.clear();
            m.remove(id);
        }
    field(req, "merged", static_cast<long long>(group.size()));
    select(target.docId, target.parent, target.id, target.id);
}

void split(Request &req, Object *e, const T_ElementRangeT &r) {
    int at = r.begin.offset;
    if (at < 0 || static_cast<std::size_t>(at) > e->text.size()) return replyStatus(req, st::badLocation);
    Model &m = model();
    Object &f = m.create(e->docId, ot::element);
    e = m.object(r.begin.childId);
    f.elementDef = e->elementDef;
    f.name = e->name;
    f.parent = e->parent;
    std::vector<u_int> &sib = kids(e->parent);
    sib.insert(sib.begin() + static_cast<long>(indexIn(sib, e->id)) + 1, f.id);
    // The tail, with its runs and anchors, becomes the new element's text.
    f.text = e->text.substr(static_cast<std::size_t>(at));
    for (TextRun &run : e->runs)
        if (run.end > at) f.runs.push_back(TextRun{std::max(run.begin, at) - at, run.end - at, run.props});
    for (u_int id : m.document(e->docId)->objects) {
        Object &x = *m.object(id);
        if (x.anchored && x.anchor.objId == e->id && x.anchor.offset >= at)
            x.anchor = T_TextLocT{f.id, x.anchor.offset - at};
    }
    e->text.resize(static_cast<std::size_t>(at));
    for (TextRun &run : e->runs) run.end = std::min(run.end, at);
    std::erase_if(e->runs, [](const TextRun &x) { return x.end <= x.begin; });
    m.document(e->docId)->modified = true;
    field(req, "new", f.id);
}

Object *definition(Request &req, u_int docId, u_int defId) { return typedObject(req, docId, defId, ot::elementDef); }

void wrap(Host &, Request &req) {
    const auto &a = argOf<ApiTnGeneralElementDefArgT>(req);
    field(req, "def", a.objId);
    T_ElementRangeT r;
    Object *e = selected(req, a.docId, &r);
    if (!e) return;
    Object *def = definition(req, a.docId, a.objId);
    if (!def) return;
    Model &m = model();
    Object &w = m.create(a.docId, ot::element);
    e = m.object(r.begin.childId);
    w.elementDef = def->id;
    w.name = def->name;
    w.parent = e->parent;
    std::vector<u_int> &sib = kids(e->parent);
    sib[indexIn(sib, e->id)] = w.id;
    w.children.push_back(e->id);
    e->parent = w.id;
    m.document(a.docId)->modified = true;
    field(req, "new", w.id);
}

void unwrap(Request &req, Object *e, const T_ElementRangeT &) {
    if (e->children.empty()) return replyStatus(req, st::badArgument);
    Model &m = model();
    std::vector<u_int> children = e->children;
    moveText(*e, *m.object(children.front()), 0);
    std::vector<u_int> &sib = kids(e->parent);
    std::size_t i = indexIn(sib, e->id);
    sib.erase(sib.begin() + static_cast<long>(i));
    sib.insert(sib.begin() + static_cast<long>(i), children.begin(), children.end());
    for (u_int c : children) m.object(c)->parent = e->parent;
    e->children.clear();
    u_int parent = e->parent;
    m.remove(e->id);
    select(argOf<ApiTnGeneralDocArgT>(req).docId, parent, children.front(), children.front());
}

void promote(Request &req, Object *e, const T_ElementRangeT &) {
    Model &m = model();
    Object &p = *m.object(e->parent);
    if (p.type != ot::element) return replyStatus(req, st::badArgument);
    std::erase(p.children, e->id);
    std::vector<u_int> &up = kids(p.parent);
    up.insert(up.begin() + static_cast<long>(indexIn(up, p.id)) + 1, e->id);
    e->parent = p.parent;
    select(e->docId, e->parent, e->id, e->id);
    m.document(e->docId)->modified = true;
}

void demote(Request &req, Object *e, const T_ElementRangeT &) {
    Model &m = model();
    std::vector<u_int> &sib = kids(e->parent);
    std::size_t i = indexIn(sib, e->id);
    if (i == 0) return replyStatus(req, st::badArgument);
    Object &prev = *m.object(sib[i - 1]);
    sib.erase(sib.begin() + static_cast<long>(i));
    prev.children.push_back(e->id);
    e->parent = prev.id;
    select(e->docId, e->parent, e->id, e->id);
    m.document(e->docId)->modified = true;
}

// Places a new object under a parent (the document or an element of it),
// before a child of that parent (0: after the last).
int placeAt(u_int docId, const T_ElementLocT &at, Object **parent, std::size_t *index) {
    Model &m = model();
    *parent = m.resolve(docId, at.parentId);
    if (!*parent) return st::noObject;
    if ((*parent)->id != docId && (*parent)->type != ot::element && (*parent)->type != ot::bookComponent)
        return st::wrongType;
    std::vector<u_int> &sib = (*parent)->children;
    *index = at.childId ? indexIn(sib, at.childId) : sib.size();
    return *index > sib.size() || (at.childId && *index == sib.size()) ? st::badLocation : st::ok;
}

// Makes a new object of `type` at `index` among the parent's children and
// replies with its id. The name and definition come by value: making the
// object may move the one they were read from.
void insertNew(Request &req, u_int docId, int type, Object &parent, std::size_t index, std::string name, u_int defId) {
    u_int parentId = parent.id;
    Object &o = model().create(docId, type);
    o.parent = parentId;
    o.name = std::move(name);
    o.elementDef = defId;
    std::vector<u_int> &sib = model().object(parentId)->children;
    sib.insert(sib.begin() + static_cast<long>(index), o.id);
    model().document(docId)->modified = true;
    replyObject(req, st::ok, o.id);
}

// A new element at a text location becomes the last child of the element (or
// the document) whose text holds the location.
void newElement(Host &, Request &req) {
    const auto &a = argOf<ApiTnNewElementArgT>(req);
    if (!docOrFail(req, a.docId, {{"def", a.objId}, {"loc", a.loc}})) return;
    Object *def = definition(req, a.docId, a.objId);
    if (!def) return;
    Model &m = model();
    if (int s = m.checkLoc(a.docId, a.loc)) return replyObject(req, s, 0);
    Object &holder = *m.resolve(a.docId, a.loc.objId);
    if (holder.id != a.docId && holder.type != ot::element) return replyObject(req, st::wrongType, 0);
    insertNew(req, a.docId, ot::element, holder, holder.children.size(), def->name, def->id);
}

void newElementInHierarchy(Host &, Request &req) {
    const auto &a = argOf<ApiTnNewElementInHierarchyArgT>(req);
    field(req, "def", a.objId);
    req.detail.word("eloc", num(a.eloc.parentId) + "/" + num(a.eloc.childId));
    if (!docOrFail(req, a.docId)) return;
    Object *def = definition(req, a.docId, a.objId);
    if (!def) return;
    Object *parent;
    std::size_t index;
    if (int s = placeAt(a.docId, a.eloc, &parent, &index)) return replyObject(req, s, 0);
    insertNew(req, a.docId, ot::element, *parent, index, def->name, def->id);
}

// A book's component, named by its file, placed in the book's hierarchy.
void newBookComponent(Host &, Request &req) {
    const auto &a = argOf<ApiTnNewBookComponentInHierarchyArgT>(req);
    std::string file = a.str1 ? a.str1 : "";
    Document *d = docOrFail(req, a.docId, {{"file", file}});
    if (!d) return;
    if (!d->book) return replyObject(req, st::wrongType, 0);
    if (file.empty()) return replyObject(req, st::badArgument, 0);
    Object *parent;
    std::size_t index;
    if (int s = placeAt(a.docId, a.eloc, &parent, &index)) return replyObject(req, s, 0);
    insertNew(req, a.docId, ot::bookComponent, *parent, index, file, 0);
}

}  // namespace

void registerElementHandlers() {
    registerHandlers({
        {API_TN_MERGE_INTO_FIRST, onSelection<merge<true>>},
        {API_TN_MERGE_INTO_LAST, onSelection<merge<false>>},
        {API_TN_SPLIT_ELEMENT, onSelection<split>},
        {API_TN_WRAP_ELEMENT, wrap},
        {API_TN_UNWRAP_ELEMENT, onSelection<unwrap>},
        {API_TN_PROMOTE_ELEMENT, onSelection<promote>},
        {API_TN_DEMOTE_ELEMENT, onSelection<demote>},
        {API_TN_NEW_ELEMENT, newElement},
        {API_TN_NEW_ELEMENT_IN_HIERARCHY, newElementInHierarchy},
        {API_TN_NEW_BOOK_COMPONENT_IN_HIERARCHY, newBookComponent},
    });
}

}  // namespace tarnel::host
