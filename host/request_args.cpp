// A request's decoded argument as JSON by the protocol's field names, and the
// comparison with what a scenario expects of it.
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "host.h"
#include "model.h"
#include "record_fields.h"

namespace tarnel::host {
namespace {

using nlohmann::json;
// Built in field order, so that the request line shows a record's fields as
// the protocol file lists them; matching converts to plain JSON.
using ojson = nlohmann::ordered_json;

template <typename T> const T &as(const void *p) { return *static_cast<const T *>(p); }
ojson text(const char *s) { return s ? ojson(s) : ojson(""); }

ojson valueOf(const std::string &type, const void *p);

template <typename List, typename Item> ojson listOf(const void *p, const char *itemType) {
    const List &l = as<List>(p);
    ojson a = ojson::array();
    for (u_int i = 0; i < l.count; ++i) a.push_back(valueOf(itemType, &l.items[i]));
    return a;
}

ojson loc(const T_TextLocT &l) { return {{"objId", l.objId}, {"offset", l.offset}}; }
ojson eloc(const T_ElementLocT &l) { return {{"parentId", l.parentId}, {"childId", l.childId}, {"offset", l.offset}}; }

// The value types of the public value header, by their own field names.
ojson valueType(const std::string &t, const void *p) {
    if (t == "T_PropIdentT") return {{"num", as<T_PropIdentT>(p).num}, {"name", text(as<T_PropIdentT>(p).name)}};
    if (t == "T_TypedValT") return ojson(describeValue(as<T_TypedValT>(p)));
    if (t == "T_PropValT")
        return {{"ident", valueOf("T_PropIdentT", &as<T_PropValT>(p).ident)},
                {"value", ojson(describeValue(as<T_PropValT>(p).value))}};
    if (t == "T_PropValsT") return listOf<T_PropValsT, T_PropValT>(p, "T_PropValT");
    if (t == "T_TextLocT") return loc(as<T_TextLocT>(p));
    if (t == "T_TextRangeT") return {{"begin", loc(as<T_TextRangeT>(p).begin)}, {"end", loc(as<T_TextRangeT>(p).end)}};
    if (t == "T_ElementLocT") return eloc(as<T_ElementLocT>(p));
    if (t == "T_ElementRangeT")
        return {{"begin", eloc(as<T_ElementRangeT>(p).begin)}, {"end", eloc(as<T_ElementRangeT>(p).end)}};
    if (t == "T_PointT") return {{"x", as<T_PointT>(p).x}, {"y", as<T_PointT>(p).y}};
    if (t == "RectT") {
        const RectT &r = as<RectT>(p);
        return {{"x", r.x}, {"y", r.y}, {"width", r.width}, {"height", r.height}};
    }
    if (t == "T_FontT") {
        const T_FontT &f = as<T_FontT>(p);
        return {{"family", f.family}, {"variation", f.variation}, {"weight", f.weight}, {"angle", f.angle}};
    }
    if (t == "T_TabT") {
        const T_TabT &x = as<T_TabT>(p);
        return {{"position", x.position}, {"kind", x.kind}, {"text", text(x.text)}, {"mark", x.mark}};
    }
    if (t == "T_StringsT") return listOf<T_StringsT, StringT>(p, "StringT");
    if (t == "T_MetricsT") return listOf<T_MetricsT, T_MetricT>(p, "int");
    if (t == "T_IntsT") return listOf<T_IntsT, int>(p, "int");
    if (t == "T_UIntsT") return listOf<T_UIntsT, u_int>(p, "unsigned int");
    if (t == "T_UBytesT") return listOf<T_UBytesT, unsigned char>(p, "unsigned char");
    if (t == "T_PointsT") return listOf<T_PointsT, T_PointT>(p, "T_PointT");
    if (t == "T_TabsT") return listOf<T_TabsT, T_TabT>(p, "T_TabT");
    if (t == "T_FontsT") return listOf<T_FontsT, T_FontT>(p, "T_FontT");
    if (t == "T_AttributeT") {
        const T_AttributeT &x = as<T_AttributeT>(p);
        return {{"name", text(x.name)},
                {"values", valueOf("T_StringsT", &x.values)},
                {"flag1", x.flag1},
                {"flag2", x.flag2}};
    }
    if (t == "T_AttributeDefT") {
        const T_AttributeDefT &d = as<T_AttributeDefT>(p);
        return {{"name", text(d.name)},
                {"option1", d.option1},
                {"option2", d.option2},
                {"option3", d.option3},
                {"list1", valueOf("T_StringsT", &d.list1)},
                {"list2", valueOf("T_StringsT", &d.list2)},
                {"text1", text(d.text1)},
                {"text2", text(d.text2)}};
    }
    if (t == "T_AttributesT") return listOf<T_AttributesT, T_AttributeT>(p, "T_AttributeT");
    if (t == "T_AttributeDefsT") return listOf<T_AttributeDefsT, T_AttributeDefT>(p, "T_AttributeDefT");
    return "(" + t + ")";  // a type no request carries
}

ojson valueOf(const std::string &type, const void *p) {
    if (type == "void") return nullptr;
    if (type == "int") return as<int>(p);
    if (type == "unsigned int" || type == "u_int") return as<u_int>(p);
    if (type == "unsigned char") return as<unsigned char>(p);
    if (type == "StringT") return text(as<StringT>(p));
    const RecordFields *r = findRecord(type);
    if (!r) return valueType(type, p);
    ojson out = ojson::object();
    for (std::size_t i = 0; i < r->count; ++i) {
        const FieldEntry &f = r->fields[i];
        const void *at = static_cast<const char *>(p) + f.offset;
        if (f.pointer) at = as<const void *>(at);
        out[f.name] = at ? valueOf(f.type, at) : ojson(nullptr);
    }
    return out;
}

// A value as the transcript shows it: numbers bare, texts quoted, records
// {key=value,...}, lists [a,b,...] cut after listCap items.
std::string compact(const ojson &v) {
    if (v.is_string()) return quoted(v.get_ref<const std::string &>());
    if (v.is_object()) {
        std::string out;
        for (auto it = v.begin(); it != v.end(); ++it) out += (out.empty() ? "" : ",") + it.key() + "=" + compact(*it);
        return "{" + out + "}";
    }
    if (v.is_array()) {
        std::string out;
        std::size_t shown = std::min(v.size(), listCap);
        for (std::size_t i = 0; i < shown; ++i) out += (i ? "," : "") + compact(v[i]);
        if (v.size() > shown) out += ",...+" + std::to_string(v.size() - shown);
        return "[" + out + "]";
    }
    return v.dump();
}

// Each leaf of what a step expects as "path = value" (objects are opened,
// lists and scalars are leaves).
void leaves(const json &expected, const std::string &path, std::string &out) {
    if (expected.is_object() && !expected.empty()) {
        for (auto it = expected.begin(); it != expected.end(); ++it) leaves(*it, path + "." + it.key(), out);
        return;
    }
    out += (out.empty() ? "" : ", ") + path + " = " + expected.dump();
}

}  // namespace

json valueAsJson(const std::string &type, const void *p) { return json(valueOf(type, p)); }

bool storesValue(const std::string &argType) {
    const RecordFields *r = findRecord(argType);
    for (std::size_t i = 0; r && i < r->count; ++i) {
        std::string name = r->fields[i].name;
        if (name == "value" || name == "prop" || name == "props") return true;
    }
    return false;
}

std::string argFields(const std::string &argType, const void *arg) {
    const ojson all = valueOf(argType, arg);
    if (!all.is_object()) return "";
    std::string out;
    for (auto it = all.begin(); it != all.end(); ++it) out += " " + it.key() + "=" + compact(*it);
    return out;
}

std::string mismatch(const json &expected, const json &got, const std::string &path) {
    if (expected.is_object() && got.is_object()) {
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            auto g = got.find(it.key());
            std::string at = path + "." + it.key();
            if (g == got.end()) return at + " is missing";
            std::string why = tarnel::host::mismatch(*it, *g, at);
            if (!why.empty()) return why;
        }
        return "";
    }
    if (expected.is_array() && got.is_array() && expected.size() == got.size()) {
        for (std::size_t i = 0; i < expected.size(); ++i) {
            std::string why = tarnel::host::mismatch(expected[i], got[i], path + "[" + std::to_string(i) + "]");
            if (!why.empty()) return why;
        }
        return "";
    }
    if (expected == got) return "";
    return path + " is " + got.dump() + ", expected " + expected.dump();
}

namespace {

std::size_t mismatchCount(const json &expected, const json &got) {
    if (expected.is_object() && got.is_object()) {
        std::size_t n = 0;
        for (auto it = expected.begin(); it != expected.end(); ++it) {
            auto g = got.find(it.key());
            n += g == got.end() ? 1 : mismatchCount(*it, *g);
        }
        return n;
    }
    if (expected.is_array() && got.is_array() && expected.size() == got.size()) {
        std::size_t n = 0;
        for (std::size_t i = 0; i < expected.size(); ++i) n += mismatchCount(expected[i], got[i]);
        return n;
    }
    return expected == got ? 0 : 1;
}

}  // namespace

std::size_t argsMismatchCount(const json &expected, const std::shared_ptr<const json> &got) {
    return mismatchCount(expected, got ? *got : json());
}

std::string expectedFields(const json &expected) {
    std::string out;
    leaves(expected, "args", out);
    return out;
}

std::shared_ptr<const json> argsAsJson(const std::string &argType, const void *arg) {
    return std::make_shared<const json>(valueAsJson(argType, arg));
}

std::string argsMismatch(const json &expected, const std::shared_ptr<const json> &got) {
    return tarnel::host::mismatch(expected, got ? *got : json(), "args");
}

void checkFieldNames(const std::string &type, const json &expected, const std::string &path) {
    const RecordFields *r = findRecord(type);
    if (!r || !expected.is_object()) return;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        const FieldEntry *f = nullptr;
        for (std::size_t i = 0; i < r->count && !f; ++i)
            if (it.key() == r->fields[i].name) f = &r->fields[i];
        if (!f) {
            std::string names;
            for (std::size_t i = 0; i < r->count; ++i) names += std::string(i ? ", " : "") + r->fields[i].name;
            throw std::runtime_error(path + "." + it.key() + ": " + type + " has no such field (it has " + names + ")");
        }
        checkFieldNames(f->type, *it, path + "." + it.key());
    }
}

}  // namespace tarnel::host
