// Helpers every handler family shares: the request's records, reply statuses,
// transcript fields and reply copies. Every list or string put into a reply
// is new malloc'd memory: the dispatcher releases the reply with the XDR free
// operation after sending it.
#ifndef TNHOST_HANDLERS_COMMON_H
#define TNHOST_HANDLERS_COMMON_H

#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include <tarnel/tnapi_values.h>

#include "handlers.h"
#include "model.h"

namespace tarnel::host {

template <typename A> const A &argOf(const Request &req) { return *static_cast<const A *>(req.arg); }
template <typename R> R &resOf(Request &req) { return *static_cast<R *>(req.res); }

// The reply's status: the leading int of every reply record that has one
// (or the one int of a bare-int reply).
inline void replyStatus(Request &req, int status) { *static_cast<int *>(req.res) = status; }

inline std::string str(const char *s) { return s ? s : ""; }
// The session a request came from, as the transcript names it.
inline std::string who(const Request &req) { return req.client ? req.client->id : "?"; }

inline std::string num(long long n) { return std::to_string(n); }
// One field of the request line: numbers bare, texts quoted, locations
// "obj:offset", ranges "obj:offset-obj:offset".
struct Field {
    Field(const char *k, long long v) : key(k), value(trace::Node::number(v)) {}
    Field(const char *k, const std::string &v) : key(k), value(trace::Node::quoted(v)) {}
    Field(const char *k, const T_TextLocT &l) : key(k), value(trace::Node::bare(num(l.objId) + ":" + num(l.offset))) {}
    Field(const char *k, const T_TextRangeT &r)
        : key(k), value(trace::Node::bare(num(r.begin.objId) + ":" + num(r.begin.offset) + "-" + num(r.end.objId) +
                                          ":" + num(r.end.offset))) {}
    Field(const char *k, trace::Node v) : key(k), value(std::move(v)) {}
    const char *key;
    trace::Node value;
};
inline void field(Request &req, const Field &f) { req.detail.add(f.key, f.value); }
inline void field(Request &req, const char *key, long long value) { req.detail.number(key, value); }
inline void field(Request &req, const char *key, const std::string &text) { req.detail.text(key, text); }
inline void fieldLoc(Request &req, const char *key, const T_TextLocT &l) { field(req, {key, l}); }
inline void fieldRange(Request &req, const char *key, const T_TextRangeT &r) { field(req, {key, r}); }
// Several fields at once, in order.
inline void fields(Request &req, std::initializer_list<Field> list) {
    for (const Field &f : list) field(req, f);
}
inline void fieldIdent(Request &req, const T_PropIdentT &id) {
    if (id.num)
        field(req, "prop", id.num);
    else
        field(req, "propName", id.name ? id.name : "");
}
inline std::string identName(const T_PropIdentT &id) {
    return id.num ? std::string() : std::string(id.name ? id.name : "");
}
// A host action the request caused: `list` goes on the request line and on
// an event line "<what> client=<id> <fields>" after it.
inline void event(Request &req, const char *what, std::initializer_list<Field> list) {
    trace::Event line(what);
    line.word("client", who(req));
    for (const Field &f : list) {
        field(req, f);
        line.add(f.key, f.value);
    }
    req.events.push_back(std::move(line));
}

// A property list of the reply built from model properties (deep copies; a
// numbered entry carries no name, as the wire drops it).
inline T_PropValsT propList(const std::vector<Prop> &props) {
    T_PropValsT l{static_cast<u_int>(props.size()),
                  static_cast<T_PropValT *>(std::calloc(props.size() ? props.size() : 1, sizeof(T_PropValT)))};
    for (std::size_t i = 0; i < props.size(); i++) {
        l.items[i].ident.num = props[i].num;
        l.items[i].ident.name = props[i].num ? nullptr : strdup(props[i].name.c_str());
        l.items[i].value = props[i].value.copy();
    }
    return l;
}

inline T_StringsT stringList(const std::vector<std::string> &items) {
    T_StringsT l{static_cast<u_int>(items.size()),
                 static_cast<StringT *>(std::calloc(items.size() ? items.size() : 1, sizeof(StringT)))};
    for (std::size_t i = 0; i < items.size(); i++) l.items[i] = strdup(items[i].c_str());
    return l;
}

// The entry of a request's parameter list with this number, or null.
inline const T_TypedValT *param(const T_PropValsT &list, int number) {
    for (u_int i = 0; i < list.count; i++)
        if (list.items[i].ident.num == number) return &list.items[i].value;
    return nullptr;
}
inline int intParam(const T_PropValsT &list, int number, int fallback) {
    const T_TypedValT *v = param(list, number);
    return v && v->kind == TA_KIND_INT ? v->u.ival : fallback;
}
inline std::string stringParam(const T_PropValsT &list, int number) {
    const T_TypedValT *v = param(list, number);
    return v && v->kind == TA_KIND_STRING && v->u.string ? v->u.string : "";
}

// Where an id stands in a list of children (the size when it is absent).
inline std::size_t indexIn(const std::vector<u_int> &v, u_int id) {
    std::size_t i = 0;
    while (i < v.size() && v[i] != id) i++;
    return i;
}

// The document a request names, or null with the reply status set.
inline Document *docOrFail(Request &req, u_int docId) {
    field(req, "doc", docId);
    Document *d = model().document(docId);
    if (!d) replyStatus(req, st::noObject);
    return d;
}
// The same, after noting the request's own fields (the document's comes last).
inline Document *docOrFail(Request &req, u_int docId, std::initializer_list<Field> list) {
    fields(req, list);
    return docOrFail(req, docId);
}

// The reply of a request that makes or finds an object: its id on success
// (noted), 0 otherwise.
inline void replyObject(Request &req, int status, u_int id) {
    auto &r = resOf<ApiTnObjRetT>(req);
    r.status = status;
    r.objId = status == st::ok ? id : 0;
    if (status == st::ok) field(req, "id", id);
}

// An object of the document that must be of one type, or null with the reply
// status set (no such object, or one of another type).
inline Object *typedObject(Request &req, u_int docId, u_int objId, int type) {
    Object *o = model().resolve(docId, objId);
    if (!o || o->type != type) {
        replyStatus(req, o ? st::wrongType : st::noObject);
        return nullptr;
    }
    return o;
}

}  // namespace tarnel::host

#endif
