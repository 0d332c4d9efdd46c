// Rendering an event's values: the transcript's text form and JSON.
#include "trace/node.h"

#include <charconv>
#include <cstdio>

namespace tarnel::trace {

Node Node::number(long long v) {
    Node n;
    n.kind = Kind::Int;
    n.integer = v;
    return n;
}
Node Node::fraction(double v) {
    Node n;
    n.kind = Kind::Real;
    n.real = v;
    return n;
}
Node Node::quoted(std::string_view v) {
    Node n;
    n.kind = Kind::Text;
    n.text = v;
    return n;
}
Node Node::bare(std::string_view v) {
    Node n;
    n.kind = Kind::Word;
    n.text = v;
    return n;
}
Node Node::flag() {
    Node n;
    n.kind = Kind::Flag;
    return n;
}
Node Node::list() {
    Node n;
    n.kind = Kind::Array;
    return n;
}
Node Node::record() {
    Node n;
    n.kind = Kind::Object;
    return n;
}

Node &Node::add(std::string key, Node value) {
    keys.push_back(std::move(key));
    items.push_back(std::move(value));
    return *this;
}

Node &Node::push(Node value) {
    items.push_back(std::move(value));
    return *this;
}

const Node *Node::find(std::string_view key) const {
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (keys[i] == key) return &items[i];
    return nullptr;
}

bool Node::operator==(const Node &o) const {
    return kind == o.kind && integer == o.integer && real == o.real && text == o.text && keys == o.keys &&
           items == o.items;
}

std::string quotedText(std::string_view text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 32 || c >= 127) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", c);
            out += buf;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out + "\"";
}

namespace {

// The shortest form that reads back as the same number, positional unless
// the exponent form is shorter (100 stays "100", not "1e+02"); a whole
// number keeps ".0", so that both forms still tell a real from an integer.
void appendReal(std::string &out, double v) {
    char buf[64];
    const std::to_chars_result r = std::to_chars(buf, buf + sizeof buf, v);
    const std::string_view shown(buf, static_cast<std::size_t>(r.ptr - buf));
    out += shown;
    if (shown.find_first_of(".en") == std::string_view::npos) out += ".0";  // "n": inf, nan
}

// The length of the UTF-8 sequence at s[0], or 0 when it is not one.
std::size_t utf8Length(std::string_view s) {
    const auto c = static_cast<unsigned char>(s[0]);
    std::size_t n = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
    if (n == 0 || s.size() < n) return 0;
    for (std::size_t i = 1; i < n; ++i)
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0;
    return n;
}

void appendJsonText(std::string &out, std::string_view s) {
    out += '"';
    for (std::size_t i = 0; i < s.size(); ++i) {
        const auto c = static_cast<unsigned char>(s[i]);
        if (c >= 0x80) {
            if (std::size_t n = utf8Length(s.substr(i)); n > 0) {
                out.append(s.substr(i, n));
                i += n - 1;
                continue;
            }
        }
        char buf[8];
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\t': out += "\\t"; break;
        case '\r': out += "\\r"; break;
        default:
            if (c < 32 || c >= 127) {
                std::snprintf(buf, sizeof buf, "\\u%04x", c);
                out += buf;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

// One walk for both forms: they differ in how texts and keys are written and
// in that the text form cuts long lists.
void render(std::string &out, const Node &v, bool json) {
    switch (v.kind) {
    case Node::Kind::Null: out += "null"; break;
    case Node::Kind::Int: out += std::to_string(v.integer); break;
    case Node::Kind::Real: appendReal(out, v.real); break;
    case Node::Kind::Text: json ? appendJsonText(out, v.text) : void(out += quotedText(v.text)); break;
    case Node::Kind::Word: json ? appendJsonText(out, v.text) : void(out += v.text); break;
    case Node::Kind::Flag: out += "true"; break;
    case Node::Kind::Array: {
        out += '[';
        const std::size_t shown = json || v.items.size() < listCap ? v.items.size() : listCap;
        for (std::size_t i = 0; i < shown; ++i) {
            if (i) out += ',';
            render(out, v.items[i], json);
        }
        if (v.items.size() > shown) out += ",...+" + std::to_string(v.items.size() - shown);
        out += ']';
        break;
    }
    case Node::Kind::Object:
        out += '{';
        for (std::size_t i = 0; i < v.items.size(); ++i) {
            if (i) out += ',';
            if (json) {
                appendJsonText(out, v.keys[i]);
                out += ':';
            } else {
                out += v.keys[i];
                out += '=';
            }
            render(out, v.items[i], json);
        }
        out += '}';
        break;
    }
}

}  // namespace

void appendText(std::string &out, const Node &v) { render(out, v, false); }
void appendJson(std::string &out, const Node &v) { render(out, v, true); }

}  // namespace tarnel::trace
