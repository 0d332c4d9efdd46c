// A value of an event, as the trace and tnhost's transcript show it: a small
// tree of numbers, texts, lists and records, rendered either as the
// transcript's text ("key=value ...") or as JSON. Kept free of any JSON
// library, so that a client that never traces pays only for this.
#ifndef TARNEL_TRACE_NODE_H
#define TARNEL_TRACE_NODE_H

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarnel::trace {

struct Node {
    // Text is quoted in the text form; Word is bare there (a name, an
    // outcome); Flag is a key alone there and true in JSON.
    enum class Kind : unsigned char { Null, Int, Real, Text, Word, Flag, Array, Object };
    Kind kind = Kind::Null;
    long long integer = 0;
    double real = 0;
    std::string text;
    std::vector<std::string> keys;  // Object: the names of `items`
    std::vector<Node> items;        // Array and Object

    static Node number(long long v);
    static Node fraction(double v);
    static Node quoted(std::string_view v);
    static Node bare(std::string_view v);
    static Node flag();
    static Node list();
    static Node record();

    // Appends a member to a record (or an item to a list, `key` unused).
    Node &add(std::string key, Node value);
    Node &push(Node value);
    // A record's member, or null when it has none.
    const Node *find(std::string_view key) const;
    bool operator==(const Node &other) const;
};

// How many items of a list the text form shows; the rest is "...+N".
inline constexpr std::size_t listCap = 16;

// The text form: numbers bare, texts quoted, records {key=value,...}, lists
// [a,b,...] cut after listCap items.
void appendText(std::string &out, const Node &value);
// JSON, complete. Bytes that are not UTF-8 are written as \u00XX.
void appendJson(std::string &out, const Node &value);
// A text as the text form quotes it: "..." with \" \\ \n and \xHH escapes.
std::string quotedText(std::string_view text);

}  // namespace tarnel::trace

#endif
