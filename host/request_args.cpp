// A request's decoded argument as JSON by the protocol's field names (the
// trace's value form, converted), and the comparison with what a scenario
// expects of it.
#include <nlohmann/json.hpp>

#include <cstdint>
#include <stdexcept>

#include "host.h"
#include "record_fields.h"
#include "trace/values.h"

namespace tarnel::host {
namespace {

using nlohmann::json;

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

json nodeJson(const trace::Node &v) {
    using Kind = trace::Node::Kind;
    switch (v.kind) {
    case Kind::Null: return nullptr;
    // Non-negative as unsigned, as parsing the JSON text would give: readers
    // of saved documents take references by is_number_unsigned.
    case Kind::Int: return v.integer >= 0 ? json(static_cast<std::uint64_t>(v.integer)) : json(v.integer);
    case Kind::Real: return v.real;
    case Kind::Text:
    case Kind::Word: return v.text;
    case Kind::Flag: return true;
    case Kind::Array: {
        json out = json::array();
        for (const trace::Node &item : v.items) out.push_back(nodeJson(item));
        return out;
    }
    case Kind::Object: {
        json out = json::object();
        for (std::size_t i = 0; i < v.items.size(); ++i) out[v.keys[i]] = nodeJson(v.items[i]);
        return out;
    }
    }
    return nullptr;
}

json valueAsJson(const std::string &type, const void *p) { return nodeJson(trace::valueNode(type, p)); }

bool storesValue(const std::string &argType) {
    const RecordFields *r = findRecord(argType);
    for (std::size_t i = 0; r && i < r->count; ++i) {
        std::string name = r->fields[i].name;
        if (name == "value" || name == "prop" || name == "props") return true;
    }
    return false;
}

trace::Node argFields(const std::string &argType, const void *arg) {
    trace::Node all = trace::valueNode(argType, arg);
    if (all.kind == trace::Node::Kind::Object) return all;
    trace::Node fields = trace::Node::record();
    return all.kind == trace::Node::Kind::Null ? fields : fields.add("arg", std::move(all));
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
