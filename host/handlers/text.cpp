// Text of objects: add, delete, show, read as text items, and conversion
// between text and element locations.
//
// Text items (kinds are this host's): 1 a string, 2 a line end (the '\n'
// itself is not in any string), 3 an anchored object (value: its id), 4 a
// change of text properties (value: how many are in force from there).
// Flags of the reads select kinds: bit 0 strings, bit 1 line ends, bit 2
// anchors, bit 3 property changes; 0 selects all. The second flag word of
// the "2" forms caps the bytes of one string item (0: no cap).
#include <set>

#include "common.h"

namespace tarnel::host {
namespace {

void addText(Host &, Request &req) {
    const auto &a = argOf<ApiTnAddTextArgT>(req);
    auto &r = resOf<ApiTnAddTextRetT>(req);
    std::string text = a.text ? a.text : "";
    fields(req, {{"doc", a.docId}, {"loc", a.loc}, {"bytes", static_cast<long long>(text.size())}});
    Model &m = model();
    if ((r.status = m.checkLoc(a.docId, a.loc))) return;
    m.insertText(*m.resolve(a.docId, a.loc.objId), a.loc.offset, text);
    r.loc = T_TextLocT{a.loc.objId, a.loc.offset + static_cast<int>(text.size())};
}

void deleteText(Host &, Request &req) {
    const auto &a = argOf<ApiTnGeneralTextRangeArgT>(req);
    field(req, "doc", a.docId);
    fieldRange(req, "range", a.range);
    Model &m = model();
    if (int s = m.checkRange(a.docId, a.range)) return replyStatus(req, s);
    m.eraseText(*m.resolve(a.docId, a.range.begin.objId), a.range.begin.offset, a.range.end.offset);
}

// Scrolling to and centring on text only move the (absent) view: the range is
// checked and remembered as what the document shows.
void showText(Host &, Request &req) {
    const auto &a = argOf<ApiTnGeneralTextRangeArgT>(req);
    Document *d = docOrFail(req, a.docId, {{"range", a.range}});
    if (!d) return;
    if (int s = model().checkRange(a.docId, a.range)) return replyStatus(req, s);
    d->shown = a.range;
}

void centerOnObject(Host &, Request &req) {
    const auto &a = argOf<ApiTnGeneralObjArgT>(req);
    Document *d = docOrFail(req, a.docId, {{"obj", a.objId}});
    if (!d) return;
    Object *o = model().resolve(a.docId, a.objId);
    if (!o) return replyStatus(req, st::noObject);
    if (o->id == a.docId) return replyStatus(req, st::wrongType);
    d->shownObject = o->id;
}

// Text items of [begin, end) of an object; end == size also reports what
// stands at the very end.
TextItemsT textItems(const Object &o, int begin, int end, u_int kinds, u_int maxBytes) {
    Model &m = model();
    auto want = [&](int bit) { return kinds == 0 || (kinds >> bit & 1); };
    std::set<int> changes;
    for (const TextRun &r : o.runs) {
        changes.insert(r.begin);
        changes.insert(r.end);
    }
    std::multimap<int, u_int> anchors;
    for (u_int id : m.document(o.docId)->objects) {
        const Object &x = *m.object(id);
        if (x.anchored && x.anchor.objId == o.id) anchors.emplace(x.anchor.offset, id);
    }
    std::vector<TextItemT> items;
    auto item = [&](int at, int kind, int value) {
        TextItemT t{};
        t.offset = at;
        t.data.kind = kind;
        t.data.u.value = value;
        items.push_back(t);
    };
    bool endIncluded = static_cast<std::size_t>(end) == o.text.size();
    for (int p = begin;;) {
        if (p == end && !endIncluded) break;
        if (changes.count(p) && want(3)) item(p, 4, static_cast<int>(m.textProps(o, p).size()));
        auto [lo, hi] = anchors.equal_range(p);
        for (auto it = lo; it != hi; ++it)
            if (want(2)) item(p, 3, static_cast<int>(it->second));
        if (p >= end) break;
        if (o.text[static_cast<std::size_t>(p)] == '\n') {
            if (want(1)) item(p, 2, 0);
            p++;
            continue;
        }
        int q = p + 1;
        while (q < end && o.text[static_cast<std::size_t>(q)] != '\n' && !changes.count(q) && !anchors.count(q) &&
               (maxBytes == 0 || static_cast<u_int>(q - p) < maxBytes))
            q++;
        if (want(0)) {
            TextItemT t{};
            t.offset = p;
            t.data.kind = 1;
            t.data.u.text = strdup(o.text.substr(static_cast<std::size_t>(p), static_cast<std::size_t>(q - p)).c_str());
            items.push_back(t);
        }
        p = q;
    }
    TextItemsT out{static_cast<u_int>(items.size()),
                   static_cast<TextItemT *>(std::calloc(items.size() ? items.size() : 1, sizeof(TextItemT)))};
    std::copy(items.begin(), items.end(), out.items);
    return out;
}

void replyItems(Request &req, const Object &o, int begin, int end, u_int kinds, u_int maxBytes) {
    auto &r = resOf<ApiTnGetTextRetT>(req);
    r.items = textItems(o, begin, end, kinds, maxBytes);
    field(req, "items", r.items.count);
}

void objectText(Request &req, u_int docId, u_int objId, u_int kinds, u_int maxBytes) {
    fields(req, {{"doc", docId}, {"obj", objId}, {"flags", kinds}});
    Object *o = model().resolve(docId, objId);
    if (!o || o->type == ot::session) return replyStatus(req, st::noObject);
    replyItems(req, *o, 0, static_cast<int>(o->text.size()), kinds, maxBytes);
}

void rangeText(Request &req, u_int docId, const T_TextRangeT &range, u_int kinds, u_int maxBytes) {
    fields(req, {{"doc", docId}, {"range", range}, {"flags", kinds}});
    Model &m = model();
    if (int s = m.checkRange(docId, range)) return replyStatus(req, s);
    replyItems(req, *m.resolve(docId, range.begin.objId), range.begin.offset, range.end.offset, kinds, maxBytes);
}

// The "2" forms carry the cap of a string item's bytes in uint2.
template <typename Arg> u_int capOf(const Arg &a) {
    if constexpr (requires { a.uint2; })
        return a.uint2;
    else
        return 0;
}
template <typename Arg> void getText(Host &, Request &req) {
    const auto &a = argOf<Arg>(req);
    objectText(req, a.docId, a.objId, a.uint1, capOf(a));
}
template <typename Arg> void getTextForRange(Host &, Request &req) {
    const auto &a = argOf<Arg>(req);
    rangeText(req, a.docId, a.range, a.uint1, capOf(a));
}

// Element locations: the child element before which the point lies in its
// parent (0: after the last child), and the offset in that child's text.
// The text location of one is the child's text at the offset; with no child,
// the end of the parent's text.
int textLocOf(u_int docId, const T_ElementLocT &eloc, T_TextLocT *out) {
    Model &m = model();
    Object *parent = m.resolve(docId, eloc.parentId);
    if (!parent) return st::noObject;
    T_TextLocT loc{parent->id, static_cast<int>(parent->text.size())};
    if (eloc.childId) {
        Object *child = m.resolve(docId, eloc.childId);
        if (!child) return st::noObject;
        if (child->parent != parent->id) return st::badLocation;
        loc = T_TextLocT{child->id, eloc.offset};
    } else if (eloc.offset != 0) {
        return st::badLocation;
    }
    if (int s = m.checkLoc(docId, loc)) return s;
    *out = loc;
    return st::ok;
}

void elementToText(Host &, Request &req) {
    const auto &a = argOf<ApiTnElementLocToTextLocArgT>(req);
    auto &r = resOf<ApiTnElementLocToTextLocRetT>(req);
    field(req, "doc", a.docId);
    req.detail.word("eloc", num(a.eloc.parentId) + "/" + num(a.eloc.childId) + ":" + num(a.eloc.offset));
    r.status = textLocOf(a.docId, a.eloc, &r.loc);
}

void textToElement(Host &, Request &req) {
    const auto &a = argOf<ApiTnTextLocToElementLocArgT>(req);
    auto &r = resOf<ApiTnTextLocToElementLocRetT>(req);
    field(req, "doc", a.docId);
    fieldLoc(req, "loc", a.loc);
    Model &m = model();
    if ((r.status = m.checkLoc(a.docId, a.loc))) return;
    Object &o = *m.resolve(a.docId, a.loc.objId);
    if (o.type != ot::element) {
        r.status = st::wrongType;
        return;
    }
    r.eloc = T_ElementLocT{o.parent, o.id, a.loc.offset};
}

}  // namespace

void registerTextHandlers() {
    registerHandlers({
        {API_TN_SCROLL_TO_TEXT, showText},
        {API_TN_CENTER_ON_TEXT, showText},
        {API_TN_ADD_TEXT, addText},
        {API_TN_DELETE_TEXT, deleteText},
        {API_TN_GET_TEXT, getText<ApiTnGetTextArgT>},
        {API_TN_GET_TEXT_FOR_RANGE, getTextForRange<ApiTnGetTextForRangeArgT>},
        {API_TN_GET_TEXT2, getText<ApiTnGetText2ArgT>},
        {API_TN_GET_TEXT_FOR_RANGE2, getTextForRange<ApiTnGetTextForRange2ArgT>},
        {API_TN_ELEMENTLOC_TO_TEXTLOC, elementToText},
        {API_TN_TEXTLOC_TO_ELEMENTLOC, textToElement},
        {API_TN_CENTER_ON_GRAPHIC_OBJECT, centerOnObject},
    });
}

}  // namespace tarnel::host
