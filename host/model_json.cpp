// Documents to and from their JSON description (schema in host/README.md).
// Objects are referred to by the description's own keys; ids are given when
// the document is loaded.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <set>
#include <string_view>

#include <tarnel/tnapi_values.h>

#include "model.h"
#include "record_fields.h"
#include "scenario.h"
#include "trace/values.h"

namespace tarnel::host {
namespace {

using json = nlohmann::json;

[[noreturn]] void bad(const std::string &where, const std::string &what) { throw ModelError(where + ": " + what); }

char *dup(const std::string &s) { return strdup(s.c_str()); }

template <typename T> T *cells(std::size_t n) { return static_cast<T *>(std::calloc(n ? n : 1, sizeof(T))); }

// Resolves object references while a document loads: a key, a number, or null.
struct Loader {
    std::map<std::string, u_int> keys;
    u_int docId = 0;

    u_int ref(const json &v, const std::string &where) const {
        if (v.is_null()) return 0;
        if (v.is_number_unsigned()) return v.get<u_int>();
        if (v.is_string()) {
            if (v == "document") return docId;
            auto it = keys.find(v.get<std::string>());
            if (it == keys.end()) bad(where, "no object with key \"" + v.get<std::string>() + "\"");
            return it->second;
        }
        bad(where, "an object reference is a key, a number or null");
    }
    int integer(const json &o, const char *key, const std::string &where, int fallback = 0) const {
        if (!o.contains(key)) return fallback;
        if (!o[key].is_number_integer()) bad(where + "." + key, "must be an integer");
        return o[key].get<int>();
    }
    std::string text(const json &o, const char *key, const std::string &where) const {
        if (!o.contains(key)) return "";
        if (!o[key].is_string()) bad(where + "." + key, "must be a string");
        return o[key].get<std::string>();
    }
    const json &array(const json &v, const std::string &where) const {
        if (!v.is_array()) bad(where, "must be an array");
        return v;
    }
    T_TextLocT loc(const json &v, const std::string &where) const {
        if (!v.is_object()) bad(where, "a text location is {\"object\", \"offset\"}");
        return T_TextLocT{ref(v.value("object", json()), where), integer(v, "offset", where)};
    }
    T_ElementLocT eloc(const json &v, const std::string &where) const {
        if (!v.is_object()) bad(where, "an element location is {\"parent\", \"child\", \"offset\"}");
        return T_ElementLocT{ref(v.value("parent", json()), where), ref(v.value("child", json()), where),
                             integer(v, "offset", where)};
    }
    T_StringsT strings(const json &v, const std::string &where) const {
        array(v, where);
        T_StringsT s{static_cast<u_int>(v.size()), cells<StringT>(v.size())};
        for (std::size_t i = 0; i < v.size(); i++) {
            if (!v[i].is_string()) {
                T_ApiDeallocateStrings(&s);
                bad(where, "must hold strings");
            }
            s.items[i] = dup(v[i].get<std::string>());
        }
        return s;
    }
    template <typename List, typename Elem> List numbers(const json &v, const std::string &where) const {
        array(v, where);
        List l{static_cast<u_int>(v.size()), cells<Elem>(v.size())};
        for (std::size_t i = 0; i < v.size(); i++) {
            if (!v[i].is_number_integer()) {
                std::free(l.items);
                bad(where, "must hold integers");
            }
            l.items[i] = static_cast<Elem>(v[i].get<long long>());
        }
        return l;
    }

    // One property value: an object with exactly one key naming its kind.
    Value value(const json &p, const std::string &where) const;
    std::vector<Prop> props(const json &v, const std::string &where) const;
};

// Whether a kind travels as one word (TA_VALUE_KINDS: shape WORD, or a kind
// outside the table); every other kind has its own key in a description.
constexpr bool isWordKind(int kind) {
#define TNHOST_KIND_SHAPE(num, name, member, shape, stem)                                                              \
    case num: return std::string_view(#shape) == "WORD";
    switch (kind) {
        TA_VALUE_KINDS(TNHOST_KIND_SHAPE)
    default: return true;
    }
#undef TNHOST_KIND_SHAPE
}

T_MetricT metricOf(const json &v, const std::string &where) {
    if (!v.is_number()) bad(where, "a measurement is a number of points");
    return static_cast<T_MetricT>(std::lround(v.get<double>() * 65536.0));
}

Value Loader::value(const json &p, const std::string &where) const {
    static const std::set<std::string> kinds = {"int",        "metric",        "string", "id",      "metrics",
                                                "strings",    "points",        "tabs",   "textloc", "textrange",
                                                "catalog",    "ints",          "ubytes", "uints",   "attribute_defs",
                                                "attributes", "element_range", "word"};
    std::string kind;
    for (auto &[k, v] : p.items())
        if (kinds.count(k)) {
            if (!kind.empty()) bad(where, "gives two values (" + kind + ", " + k + ")");
            kind = k;
        } else if (k != "num" && k != "name") {
            bad(where, "unknown key \"" + k + "\"");
        }
    if (kind.empty()) bad(where, "has no value (int, metric, string, id, ...)");
    const json &v = p[kind];
    std::string at = where + "." + kind;
    T_TypedValT t{};
    // The typed value is built here and handed to Value, which copies it.
    struct Release {
        T_TypedValT &t;
        ~Release() { T_ApiDeallocateVal(&t); }
    } release{t};
    if (kind == "int") {
        if (!v.is_number_integer()) bad(at, "must be an integer");
        t.kind = TA_KIND_INT;
        t.u.ival = v.get<int>();
    } else if (kind == "id") {
        t.kind = TA_KIND_ID;
        t.u.ival = static_cast<int>(ref(v, at));
    } else if (kind == "word") {
        if (!v.is_object()) bad(at, "is {\"kind\", \"value\"}");
        t.kind = integer(v, "kind", at);
        if (!isWordKind(t.kind)) bad(at, "kind " + std::to_string(t.kind) + " has its own key");
        t.u.ival = integer(v, "value", at);
    } else if (kind == "metric") {
        t.kind = TA_KIND_METRIC;
        t.u.metric = metricOf(v, at);
    } else if (kind == "string") {
        if (!v.is_string()) bad(at, "must be a string");
        t.kind = TA_KIND_STRING;
        t.u.string = dup(v.get<std::string>());
    } else if (kind == "strings") {
        t.kind = TA_KIND_STRINGS;
        t.u.strings = strings(v, at);
    } else if (kind == "metrics") {
        array(v, at);
        t.kind = TA_KIND_METRICS;
        t.u.metrics = T_MetricsT{static_cast<u_int>(v.size()), cells<T_MetricT>(v.size())};
        for (std::size_t i = 0; i < v.size(); i++) t.u.metrics.items[i] = metricOf(v[i], at);
    } else if (kind == "ints") {
        t.kind = TA_KIND_INTS;
        t.u.ints = numbers<T_IntsT, int>(v, at);
    } else if (kind == "uints") {
        t.kind = TA_KIND_UINTS;
        t.u.uints = numbers<T_UIntsT, u_int>(v, at);
    } else if (kind == "ubytes") {
        t.kind = TA_KIND_UBYTES;
        t.u.ubytes = numbers<T_UBytesT, unsigned char>(v, at);
    } else if (kind == "points") {
        array(v, at);
        t.kind = TA_KIND_POINTS;
        t.u.points = T_PointsT{static_cast<u_int>(v.size()), cells<T_PointT>(v.size())};
        for (std::size_t i = 0; i < v.size(); i++) {
            if (!v[i].is_array() || v[i].size() != 2 || !v[i][0].is_number_integer() || !v[i][1].is_number_integer())
                bad(at, "a point is [x, y]");
            t.u.points.items[i] = T_PointT{v[i][0].get<int>(), v[i][1].get<int>()};
        }
    } else if (kind == "tabs") {
        array(v, at);
        t.kind = TA_KIND_TABS;
        t.u.tabs = T_TabsT{static_cast<u_int>(v.size()), cells<T_TabT>(v.size())};
        for (std::size_t i = 0; i < v.size(); i++) {
            T_TabT &tab = t.u.tabs.items[i];
            tab.position = metricOf(v[i].value("position", json(0)), at);
            tab.kind = static_cast<unsigned char>(integer(v[i], "kind", at));
            tab.text = dup(text(v[i], "text", at));
            tab.mark = static_cast<unsigned char>(integer(v[i], "mark", at));
        }
    } else if (kind == "textloc") {
        t.kind = TA_KIND_TEXT_LOC;
        t.u.textLoc = loc(v, at);
    } else if (kind == "textrange") {
        t.kind = TA_KIND_TEXT_RANGE;
        t.u.textRange = T_TextRangeT{loc(v.value("begin", json()), at), loc(v.value("end", json()), at)};
    } else if (kind == "element_range") {
        t.kind = TA_KIND_ELEMENT_RANGE;
        if (!v.is_null()) {
            t.u.elementRange = cells<T_ElementRangeT>(1);
            *t.u.elementRange = T_ElementRangeT{eloc(v.value("begin", json()), at), eloc(v.value("end", json()), at)};
        }
    } else if (kind == "catalog") {
        array(v, at);
        t.kind = TA_KIND_CATALOG;
        t.u.catalog = T_ElementCatalogEntriesT{static_cast<u_int>(v.size()), cells<T_ElementCatalogEntryT>(v.size())};
        for (std::size_t i = 0; i < v.size(); i++)
            t.u.catalog.items[i] =
                T_ElementCatalogEntryT{ref(v[i].value("object", json()), at), integer(v[i], "value", at)};
    } else if (kind == "attribute_defs") {
        array(v, at);
        t.kind = TA_KIND_ATTRIBUTE_DEFS;
        t.u.attributeDefs = T_AttributeDefsT{static_cast<u_int>(v.size()), cells<T_AttributeDefT>(v.size())};
        for (std::size_t i = 0; i < v.size(); i++) {
            T_AttributeDefT &d = t.u.attributeDefs.items[i];
            d.name = dup(text(v[i], "name", at));
            d.option1 = integer(v[i], "option1", at);
            d.option2 = integer(v[i], "option2", at);
            d.option3 = integer(v[i], "option3", at);
            d.list1 = strings(v[i].value("list1", json::array()), at);
            d.list2 = strings(v[i].value("list2", json::array()), at);
            d.text1 = dup(text(v[i], "text1", at));
            d.text2 = dup(text(v[i], "text2", at));
        }
    } else {  // attributes
        array(v, at);
        t.kind = TA_KIND_ATTRIBUTES;
        t.u.attributes = T_AttributesT{static_cast<u_int>(v.size()), cells<T_AttributeT>(v.size())};
        for (std::size_t i = 0; i < v.size(); i++) {
            T_AttributeT &a = t.u.attributes.items[i];
            a.name = dup(text(v[i], "name", at));
            a.values = strings(v[i].value("values", json::array()), at);
            a.flag1 = static_cast<unsigned char>(integer(v[i], "flag1", at));
            a.flag2 = static_cast<unsigned char>(integer(v[i], "flag2", at));
        }
    }
    return Value(t);
}

std::vector<Prop> Loader::props(const json &v, const std::string &where) const {
    std::vector<Prop> out;
    array(v, where);
    for (std::size_t i = 0; i < v.size(); i++) {
        std::string at = where + "[" + std::to_string(i) + "]";
        if (!v[i].is_object()) bad(at, "a property is an object");
        Prop p;
        p.num = integer(v[i], "num", at);
        p.name = p.num ? "" : text(v[i], "name", at);
        if (p.num == 0 && p.name.empty()) bad(at, "needs a non-zero \"num\" or a \"name\"");
        p.value = value(v[i], at);
        out.push_back(p);
    }
    return out;
}

void checkKeys(const json &o, const std::string &where, const std::set<std::string> &allowed) {
    if (!o.is_object()) bad(where, "must be an object");
    for (auto &[k, v] : o.items())
        if (!allowed.count(k)) bad(where, "unknown key \"" + k + "\"");
}

// ---- Describing (the reverse of the loader) --------------------------------

json locJson(const T_TextLocT &l) { return {{"object", l.objId}, {"offset", l.offset}}; }
json propsJson(const std::vector<Prop> &props) {
    json a = json::array();
    for (const Prop &p : props) {
        json e = describeValue(p.value.get());
        if (p.num)
            e["num"] = p.num;
        else
            e["name"] = p.name;
        a.push_back(e);
    }
    return a;
}

}  // namespace

json describeValue(const T_TypedValT &t) { return nodeJson(trace::typedValueNode(t)); }

u_int Model::loadDocument(const json &desc, const std::string &path) {
    checkKeys(desc, "document", {"name", "book", "props", "objects", "text", "runs", "words", "children"});
    if (desc.contains("book") && !desc["book"].is_boolean()) bad("document.book", "must be true or false");
    Loader ld;
    std::string name = ld.text(desc, "name", "document");
    const json objs = desc.value("objects", json::array());
    ld.array(objs, "document.objects");
    // Validate the object records and their keys before anything is created,
    // so that a bad description leaves the model unchanged.
    std::set<std::string> keys;
    for (std::size_t i = 0; i < objs.size(); i++) {
        std::string at = "document.objects[" + std::to_string(i) + "]";
        checkKeys(objs[i], at,
                  {"key", "type", "name", "parent", "children", "text", "anchor", "format", "element_def", "props",
                   "runs", "straddle"});
        std::string key = ld.text(objs[i], "key", at);
        if (!key.empty() && !keys.insert(key).second) bad(at, "key \"" + key + "\" is used twice");
    }
    std::vector<std::string> words;
    if (desc.contains("words")) {
        T_StringsT w = ld.strings(desc["words"], "document.words");
        for (u_int i = 0; i < w.count; i++) words.push_back(w.items[i]);
        T_ApiDeallocateStrings(&w);
    }

    u_int docId = newDocument(name.empty() ? path : name, desc.value("book", false));
    ld.docId = docId;
    try {
        auto runsOf = [&](const json &j, Object &o, const std::string &at) {
            if (!j.contains("runs")) return;
            const json &runs = ld.array(j["runs"], at + ".runs");
            for (std::size_t r = 0; r < runs.size(); r++) {
                std::string rat = at + ".runs[" + std::to_string(r) + "]";
                checkKeys(runs[r], rat, {"begin", "end", "props"});
                TextRun run{ld.integer(runs[r], "begin", rat), ld.integer(runs[r], "end", rat),
                            ld.props(runs[r].value("props", json::array()), rat + ".props")};
                if (run.begin < 0 || run.end < run.begin || static_cast<std::size_t>(run.end) > o.text.size())
                    bad(rat, "lies outside the object's text");
                o.runs.push_back(run);
            }
        };
        std::vector<Object *> made;
        for (std::size_t i = 0; i < objs.size(); i++) {
            std::string at = "document.objects[" + std::to_string(i) + "]";
            Object &o = create(docId, ld.integer(objs[i], "type", at, ot::graphic));
            std::string key = ld.text(objs[i], "key", at);
            if (!key.empty()) ld.keys[key] = o.id;
            made.push_back(&o);
        }
        for (std::size_t i = 0; i < objs.size(); i++) {
            std::string at = "document.objects[" + std::to_string(i) + "]";
            const json &j = objs[i];
            Object &o = *made[i];
            o.name = ld.text(j, "name", at);
            o.text = ld.text(j, "text", at);
            o.format = ld.text(j, "format", at);
            if (j.contains("parent")) {
                o.parent = ld.ref(j["parent"], at + ".parent");
                Object *p = resolve(docId, o.parent);
                if (!p) bad(at + ".parent", "is not an object of this document");
                p->children.push_back(o.id);
            }
            if (j.contains("element_def")) o.elementDef = ld.ref(j["element_def"], at + ".element_def");
            if (j.contains("anchor")) {
                o.anchored = true;
                o.anchor = ld.loc(j["anchor"], at + ".anchor");
            }
            if (j.contains("straddle")) {
                const json &s = j["straddle"];
                if (!s.is_array() || s.size() != 2 || !s[0].is_number_integer() || !s[1].is_number_integer())
                    bad(at + ".straddle", "is [rows, columns]");
                o.straddleRows = s[0].get<int>();
                o.straddleCols = s[1].get<int>();
            }
            if (j.contains("props")) o.props = ld.props(j["props"], at + ".props");
            runsOf(j, o, at);
        }
        // An explicit child list fixes the order of children (describe writes it).
        auto order = [&](const json &j, Object &o, const std::string &at) {
            if (!j.contains("children")) return;
            std::vector<u_int> want;
            for (const json &c : ld.array(j["children"], at)) want.push_back(ld.ref(c, at));
            std::vector<u_int> have = o.children, sorted = want;
            std::sort(have.begin(), have.end());
            std::sort(sorted.begin(), sorted.end());
            if (have != sorted) bad(at, "must list exactly the objects whose parent it is");
            o.children = want;
        };
        for (std::size_t i = 0; i < objs.size(); i++)
            order(objs[i], *made[i], "document.objects[" + std::to_string(i) + "].children");
        order(desc, *object(docId), "document.children");
        for (std::size_t i = 0; i < objs.size(); i++)
            if (made[i]->anchored && checkLoc(docId, made[i]->anchor) != st::ok)
                bad("document.objects[" + std::to_string(i) + "].anchor", "is not a location in this document");
        Object &self = *object(docId);
        self.text = ld.text(desc, "text", "document");
        runsOf(desc, self, "document");
        if (desc.contains("props")) self.props = ld.props(desc["props"], "document.props");
    } catch (...) {
        closeDocument(docId);
        throw;
    }
    for (const std::string &w : words) this->words.insert(w);
    docs_.at(docId).modified = false;
    return docId;
}

u_int Model::loadDocumentFile(const std::string &path) {
    try {
        u_int id = loadDocument(readJsonFile(path), path);
        docs_.at(id).file = path;
        return id;
    } catch (const ModelError &e) { throw ModelError(path + ": " + e.what()); } catch (const std::exception &e) {
        throw ModelError(path + ": " + jsonErrorText(e));
    }
}

json Model::describe(u_int docId) const {
    const Document &d = docs_.at(docId);
    const Object &self = objects_.at(docId);
    // Ids are written as numbers rewritten to keys, so a saved document loads
    // back with its references intact though it gets new ids.
    std::map<u_int, std::string> key;
    key[docId] = "document";
    for (u_int id : d.objects) key[id] = "k" + std::to_string(objects_.at(id).unique);
    std::function<void(json &)> rekey = [&](json &j) {
        if (j.is_object()) {
            for (auto &[k, v] : j.items()) {
                bool isRef = k == "id" || k == "object" || k == "parent" || k == "child" || k == "element_def";
                if (isRef && v.is_number_unsigned() && key.count(v.get<u_int>()))
                    v = key[v.get<u_int>()];
                else if (k == "children")
                    for (json &c : v) c = key.at(c.get<u_int>());
                else
                    rekey(v);
            }
        } else if (j.is_array()) {
            for (json &v : j) rekey(v);
        }
    };
    json out = {{"name", d.path}, {"book", d.book}, {"text", self.text}, {"props", propsJson(self.props)}};
    if (!self.children.empty()) out["children"] = self.children;
    auto runsJson = [](const Object &o) {
        json runs = json::array();
        for (const TextRun &r : o.runs)
            runs.push_back({{"begin", r.begin}, {"end", r.end}, {"props", propsJson(r.props)}});
        return runs;
    };
    if (!self.runs.empty()) out["runs"] = runsJson(self);
    json objs = json::array();
    for (u_int id : d.objects) {
        const Object &o = objects_.at(id);
        json j = {{"key", key[id]}, {"type", o.type},     {"name", o.name},
                  {"text", o.text}, {"format", o.format}, {"props", propsJson(o.props)}};
        if (o.parent) j["parent"] = o.parent;
        if (!o.children.empty()) j["children"] = o.children;
        if (o.elementDef) j["element_def"] = o.elementDef;
        if (o.anchored) j["anchor"] = locJson(o.anchor);
        if (o.straddleRows || o.straddleCols) j["straddle"] = {o.straddleRows, o.straddleCols};
        if (!o.runs.empty()) j["runs"] = runsJson(o);
        objs.push_back(j);
    }
    out["objects"] = objs;
    rekey(out);
    return out;
}

namespace {
// Rewrites object references from one id to another inside a value.
Value retarget(const Value &v, u_int from, u_int to) {
    T_TypedValT t = v.copy();
    auto fix = [&](u_int &id) {
        if (id == from) id = to;
    };
    switch (t.kind) {
    case TA_KIND_ID: {
        u_int id = static_cast<u_int>(t.u.ival);
        fix(id);
        t.u.ival = static_cast<int>(id);
        break;
    }
    case TA_KIND_TEXT_LOC: fix(t.u.textLoc.objId); break;
    case TA_KIND_TEXT_RANGE:
        fix(t.u.textRange.begin.objId);
        fix(t.u.textRange.end.objId);
        break;
    case TA_KIND_CATALOG:
        for (u_int i = 0; i < t.u.catalog.count; i++) fix(t.u.catalog.items[i].objId);
        break;
    case TA_KIND_ELEMENT_RANGE:
        if (t.u.elementRange)
            for (T_ElementLocT *l : {&t.u.elementRange->begin, &t.u.elementRange->end}) {
                fix(l->parentId);
                fix(l->childId);
            }
        break;
    default: break;
    }
    Value out(t);
    T_ApiDeallocateVal(&t);
    return out;
}
}  // namespace

void Model::reload(u_int docId) {
    Document &d = docs_.at(docId);
    if (d.file.empty()) throw ModelError("the document has no file");
    u_int fresh = loadDocumentFile(d.file);
    Document &f = docs_.at(fresh);
    for (u_int id : d.objects) objects_.erase(id);
    d.objects = f.objects;
    d.nextUnique = f.nextUnique;
    d.book = f.book;
    d.modified = false;
    Object &self = objects_.at(docId);
    Object &loaded = objects_.at(fresh);
    self.type = loaded.type;
    self.text = loaded.text;
    self.runs = loaded.runs;
    self.children = loaded.children;
    self.props = loaded.props;
    std::vector<u_int> all = d.objects;
    all.push_back(docId);
    for (u_int id : all) {
        Object &o = objects_.at(id);
        o.docId = docId;
        if (o.parent == fresh) o.parent = docId;
        if (o.anchored && o.anchor.objId == fresh) o.anchor.objId = docId;
        for (Prop &p : o.props) p.value = retarget(p.value, fresh, docId);
        for (TextRun &r : o.runs)
            for (Prop &p : r.props) p.value = retarget(p.value, fresh, docId);
    }
    objects_.erase(fresh);
    docs_.erase(fresh);
}

void loadDocuments(const std::vector<json> &entries) {
    for (std::size_t i = 0; i < entries.size(); i++) {
        const json &e = entries[i];
        std::string at = "documents[" + std::to_string(i) + "]";
        try {
            if (e.is_string())
                model().loadDocumentFile(e.get<std::string>());
            else if (e.is_object())
                model().loadDocument(e, "");
            else
                throw ModelError("a document is a file name or an inline description");
        } catch (const ModelError &err) { throw ModelError(at + ": " + err.what()); }
    }
}

}  // namespace tarnel::host
