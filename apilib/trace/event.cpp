#include "trace/event.h"

namespace tarnel::trace {

Event &Event::add(std::string key, Node value) {
    (result.kind == Node::Kind::Object ? result : fields).add(std::move(key), std::move(value));
    return *this;
}

Event &Event::spread(const Node &record) {
    for (std::size_t i = 0; i < record.items.size(); ++i) add(record.keys[i], record.items[i]);
    return *this;
}

Event &Event::then() {
    result = Node::record();
    return *this;
}

namespace {

void appendFields(std::string &out, const Node &fields) {
    for (std::size_t i = 0; i < fields.items.size(); ++i) {
        out += ' ';
        out += fields.keys[i];
        if (fields.items[i].kind == Node::Kind::Flag) continue;
        out += '=';
        appendText(out, fields.items[i]);
    }
}

}  // namespace

std::string asText(const Event &e) {
    std::string out = e.name;
    appendFields(out, e.fields);
    if (e.result.kind == Node::Kind::Object) {
        out += " ->";
        appendFields(out, e.result);
    }
    return out;
}

std::string asJson(const Event &e) {
    // The fields' object with "event" put first and "result" last, without
    // copying either.
    std::string out = "{\"event\":";
    appendJson(out, Node::bare(e.name));
    const std::size_t fieldsAt = out.size();
    appendJson(out, e.fields);
    if (e.fields.items.empty()) {
        out.erase(fieldsAt);  // "{}"
    } else {
        out[fieldsAt] = ',';
        out.pop_back();
    }
    if (e.result.kind == Node::Kind::Object) {
        out += ",\"result\":";
        appendJson(out, e.result);
    }
    return out += '}';
}

}  // namespace tarnel::trace
