// One event of a session, as both sides see it: the client library's trace
// and tnhost's transcript build events and render them here, so the two read
// alike. An event is a name, its fields, and after "->" what came of it.
#ifndef TARNEL_TRACE_EVENT_H
#define TARNEL_TRACE_EVENT_H

#include <string>
#include <string_view>

#include "trace/node.h"

namespace tarnel::trace {

struct Event {
    std::string name;              // "request", "callback", "start", "end", ...
    Node fields = Node::record();  // before "->"
    Node result;                   // after "->": a record, or null for none

    explicit Event(std::string eventName) : name(std::move(eventName)) {}
    // Adds a field before "->", or after it once `then` was called.
    Event &add(std::string key, Node value);
    Event &number(std::string key, long long value) { return add(std::move(key), Node::number(value)); }
    Event &text(std::string key, std::string_view value) { return add(std::move(key), Node::quoted(value)); }
    Event &word(std::string key, std::string_view value) { return add(std::move(key), Node::bare(value)); }
    Event &flag(std::string key) { return add(std::move(key), Node::flag()); }
    // Each member of a record as a field of its own.
    Event &spread(const Node &record);
    // What follows goes after "->".
    Event &then();
};

// "name key=value ... -> key=value ...": the transcript's line.
std::string asText(const Event &event);
// {"event":"name","key":value,...,"result":{...}}: one JSON line's object.
std::string asJson(const Event &event);

}  // namespace tarnel::trace

#endif
