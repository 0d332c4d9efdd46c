// The in-memory model: values, objects, documents, text and its runs.
#include "model.h"

#include <algorithm>

#include <tarnel/tnapi_values.h>

namespace tarnel::host {

// ---- Value ----------------------------------------------------------------

Value::Value() : v_{} {}
Value::Value(const T_TypedValT &v) : v_(T_ApiCopyVal(&v)) {}
Value::Value(const Value &other) : v_(T_ApiCopyVal(&other.v_)) {}
Value &Value::operator=(const Value &other) {
    if (this != &other) {
        T_TypedValT fresh = T_ApiCopyVal(&other.v_);
        T_ApiDeallocateVal(&v_);
        v_ = fresh;
    }
    return *this;
}
Value::~Value() { T_ApiDeallocateVal(&v_); }
T_TypedValT Value::copy() const { return T_ApiCopyVal(&v_); }

Value Value::ofInt(int kind, int value) {
    T_TypedValT v{};
    v.kind = kind;
    v.u.ival = value;
    return Value(v);
}

Value Value::ofString(const std::string &s) {
    T_TypedValT v{};
    v.kind = TA_KIND_STRING;
    v.u.string = const_cast<char *>(s.c_str());  // copied by the constructor
    return Value(v);
}

// ---- Object ---------------------------------------------------------------

namespace {
bool sameIdent(const Prop &p, int num, const std::string &name) {
    return num != 0 ? p.num == num : p.num == 0 && p.name == name;
}
}  // namespace

const Prop *Object::find(int num, const std::string &name) const {
    for (const Prop &p : props)
        if (sameIdent(p, num, name)) return &p;
    return nullptr;
}

Prop *Object::find(int num, const std::string &name) {
    return const_cast<Prop *>(static_cast<const Object *>(this)->find(num, name));
}

void Object::set(int num, const std::string &name, const Value &v) {
    if (Prop *p = find(num, name)) {
        p->value = v;
        return;
    }
    props.push_back(Prop{num, num ? std::string() : name, v});
}

bool Object::erase(int num, const std::string &name) {
    auto it = std::find_if(props.begin(), props.end(), [&](const Prop &p) { return sameIdent(p, num, name); });
    if (it == props.end()) return false;
    props.erase(it);
    return true;
}

// ---- Model ----------------------------------------------------------------

Model &model() {
    static Model m;
    return m;
}

Model::Model() {
    Object session;
    session.id = 0;
    session.type = ot::session;
    objects_.emplace(0, session);
    for (const char *w :
         {"a",         "about", "after",  "all",  "alert", "an",      "and",   "any",    "are",  "as",       "at",
          "be",        "book",  "but",    "by",   "can",   "chapter", "check", "client", "do",   "document", "each",
          "for",       "from",  "has",    "have", "host",  "if",      "in",    "into",   "is",   "it",       "its",
          "message",   "more",  "new",    "no",   "not",   "note",    "of",    "on",     "one",  "or",       "page",
          "paragraph", "read",  "sample", "see",  "so",    "some",    "table", "text",   "that", "the",      "their",
          "then",      "there", "these",  "this", "to",    "two",     "up",    "was",    "we",   "were",     "what",
          "when",      "which", "will",   "with", "word",  "words",   "world", "you",    "your", "hello",    "quick",
          "brown",     "fox",   "jumps",  "over", "lazy",  "dog"})
        words.insert(w);
}

Document *Model::document(u_int docId) {
    auto it = docs_.find(docId);
    return it == docs_.end() ? nullptr : &it->second;
}

Document *Model::documentByPath(const std::string &path) {
    for (auto &[id, d] : docs_)
        if (!path.empty() && (d.path == path || d.file == path)) return &d;
    return nullptr;
}

Object *Model::object(u_int id) {
    auto it = objects_.find(id);
    return it == objects_.end() ? nullptr : &it->second;
}

Object *Model::resolve(u_int docId, u_int objId) {
    if (docId == 0) return object(objId);
    if (!document(docId) || objId == 0) return nullptr;
    Object *o = object(objId);
    return o && o->docId == docId ? o : nullptr;
}

u_int Model::newDocument(const std::string &path, bool book) {
    u_int id = nextId_++;
    Document d;
    d.id = id;
    d.path = path;
    d.book = book;
    docs_.emplace(id, d);
    Object o;
    o.id = id;
    o.docId = id;
    o.type = book ? ot::book : ot::document;
    o.name = path;
    objects_.emplace(id, o);
    return id;
}

void Model::closeDocument(u_int docId) {
    Document *d = document(docId);
    if (!d) return;
    for (u_int id : d->objects) objects_.erase(id);
    objects_.erase(docId);
    docs_.erase(docId);
}

Object &Model::create(u_int docId, int type) {
    Document &d = docs_.at(docId);
    Object o;
    o.id = nextId_++;
    o.docId = docId;
    o.type = type;
    o.unique = d.nextUnique++;
    d.objects.push_back(o.id);
    return objects_.emplace(o.id, o).first->second;
}

void Model::remove(u_int id) {
    Object *o = object(id);
    if (!o || o->type == ot::session || o->id == o->docId) return;
    u_int docId = o->docId;
    Document &d = docs_.at(docId);
    // Everything that lives inside it goes with it.
    std::vector<u_int> inner = o->children;
    for (u_int other : d.objects) {
        Object &x = objects_.at(other);
        if (x.anchored && x.anchor.objId == id) inner.push_back(other);
    }
    for (u_int child : inner) remove(child);
    o = object(id);  // the map is stable, but re-read for clarity after recursion
    if (Object *parent = object(o->parent)) std::erase(parent->children, id);
    // Keep the document's object chain intact around the removed link.
    u_int next = 0;
    if (const Prop *p = o->find(pn::nextObject, ""); p && p->value.kind() == TA_KIND_ID)
        next = static_cast<u_int>(p->value.get().u.ival);
    auto relink = [&](Object &x, int num) {
        Prop *p = x.find(num, "");
        if (p && p->value.kind() == TA_KIND_ID && static_cast<u_int>(p->value.get().u.ival) == id)
            p->value = Value::ofInt(TA_KIND_ID, static_cast<int>(next));
    };
    relink(objects_.at(docId), pn::firstObject);
    for (u_int other : d.objects)
        if (other != id) relink(objects_.at(other), pn::nextObject);
    std::erase(d.objects, id);
    objects_.erase(id);
    d.modified = true;
}

Object *Model::named(u_int docId, int type, const std::string &name) {
    Document *d = document(docId);
    if (!d || name.empty()) return nullptr;
    for (u_int id : d->objects) {
        Object &o = objects_.at(id);
        if (o.type == type && o.name == name) return &o;
    }
    return nullptr;
}

Object *Model::uniqueObject(u_int docId, int type, int unique) {
    Document *d = document(docId);
    if (!d) return nullptr;
    for (u_int id : d->objects) {
        Object &o = objects_.at(id);
        if (o.type == type && o.unique == unique) return &o;
    }
    return nullptr;
}

// ---- Text -----------------------------------------------------------------

int Model::checkLoc(u_int docId, const T_TextLocT &loc) {
    Object *o = resolve(docId, loc.objId);
    if (!o || o->type == ot::session) return st::noObject;
    if (loc.offset < 0 || static_cast<std::size_t>(loc.offset) > o->text.size()) return st::badLocation;
    return st::ok;
}

int Model::checkRange(u_int docId, const T_TextRangeT &r) {
    if (int s = checkLoc(docId, r.begin)) return s;
    if (int s = checkLoc(docId, r.end)) return s;
    if (r.begin.objId != r.end.objId || r.begin.offset > r.end.offset) return st::badLocation;
    return st::ok;
}

void Model::insertText(Object &o, int offset, const std::string &text) {
    int n = static_cast<int>(text.size());
    o.text.insert(static_cast<std::size_t>(offset), text);
    for (TextRun &r : o.runs) {
        if (r.begin >= offset) r.begin += n;
        if (r.end > offset) r.end += n;
    }
    if (Document *d = document(o.docId)) {
        for (u_int id : d->objects) {
            Object &x = objects_.at(id);
            if (x.anchored && x.anchor.objId == o.id && x.anchor.offset >= offset) x.anchor.offset += n;
        }
        d->modified = true;
    }
}

void Model::eraseText(Object &o, int begin, int end) {
    if (end <= begin) return;
    auto map = [&](int p) { return p < begin ? p : p < end ? begin : p - (end - begin); };
    o.text.erase(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin));
    for (TextRun &r : o.runs) {
        r.begin = map(r.begin);
        r.end = map(r.end);
    }
    std::erase_if(o.runs, [](const TextRun &r) { return r.end <= r.begin; });
    Document *d = document(o.docId);
    if (!d) return;
    // Objects anchored in the removed text are removed with it.
    std::vector<u_int> gone;
    for (u_int id : d->objects) {
        Object &x = objects_.at(id);
        if (x.anchored && x.anchor.objId == o.id) {
            if (x.anchor.offset >= begin && x.anchor.offset < end)
                gone.push_back(id);
            else
                x.anchor.offset = map(x.anchor.offset);
        }
    }
    for (u_int id : gone) remove(id);
    d->modified = true;
}

std::vector<Prop> Model::textProps(const Object &o, int offset) const {
    std::vector<Prop> out;
    for (const TextRun &r : o.runs) {
        if (offset < r.begin || offset >= r.end) continue;
        for (const Prop &p : r.props) {
            auto it = std::find_if(out.begin(), out.end(), [&](const Prop &q) {
                return p.num != 0 ? q.num == p.num : q.num == 0 && q.name == p.name;
            });
            if (it != out.end())
                it->value = p.value;
            else
                out.push_back(p);
        }
    }
    return out;
}

void Model::setTextProp(Object &o, int begin, int end, const Prop &p) {
    // Adjacent writes over the same range share one run.
    if (!o.runs.empty() && o.runs.back().begin == begin && o.runs.back().end == end) {
        TextRun &r = o.runs.back();
        for (Prop &q : r.props)
            if (p.num != 0 ? q.num == p.num : q.num == 0 && q.name == p.name) {
                q.value = p.value;
                return;
            }
        r.props.push_back(p);
    } else {
        o.runs.push_back(TextRun{begin, end, {p}});
    }
    if (Document *d = document(o.docId)) d->modified = true;
}

}  // namespace tarnel::host
