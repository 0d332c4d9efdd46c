// The transcript: every event as one line on standard output, flushed at
// once so that a test reading the pipe sees lines as they happen. A line is
// "<event> key=value ... [-> key=value ...]": numbers and words bare, free
// text quoted. With --jsonl the same events go out as JSON objects.
#include <arpa/inet.h>

#include <nlohmann/json.hpp>

#include <cstdio>

#include "host.h"

namespace tarnel::host {
namespace {

bool failed = false;
FILE *jsonl = nullptr;  // JSON lines, or null
bool textLines = true;  // false when the JSON lines take standard output

// A bare value: an integer when it reads as one, else the word itself.
nlohmann::ordered_json bare(const std::string &word) {
    std::size_t digits = word.find_first_not_of('-') == 1 ? 1 : 0;
    bool number =
        word.size() > digits && word.size() < 19 && word.find_first_not_of("0123456789", digits) == std::string::npos;
    return number ? nlohmann::ordered_json(std::stoll(word)) : nlohmann::ordered_json(word);
}

// Reads the quoted text that starts at line[at] ("), leaves `at` after it.
std::string unquote(const std::string &line, std::size_t &at) {
    std::string out;
    for (++at; at < line.size() && line[at] != '"'; ++at) {
        char c = line[at];
        if (c != '\\' || at + 1 >= line.size()) {
            out += c;
            continue;
        }
        c = line[++at];
        if (c == 'n') {
            out += '\n';
        } else if (c == 'x' && at + 2 < line.size()) {
            out += static_cast<char>(std::stoi(line.substr(at + 1, 2), nullptr, 16));
            at += 2;
        } else {
            out += c;
        }
    }
    ++at;
    return out;
}

// A value inside a record or list shown by argFields (record_fields.h):
// a quoted text, {key=value,...}, [value,...] or a bare word (a number,
// null, or a word such as the "...+N" of a cut list). Leaves `at` after it.
nlohmann::ordered_json compound(const std::string &line, std::size_t &at) {
    using ojson = nlohmann::ordered_json;
    if (at >= line.size()) return nullptr;
    const char open = line[at];
    if (open == '"') return unquote(line, at);
    if (open == '{' || open == '[') {
        const char close = open == '{' ? '}' : ']';
        ojson out = open == '{' ? ojson::object() : ojson::array();
        for (++at; at < line.size() && line[at] != close;) {
            const std::size_t before = at;
            if (open == '{') {
                std::size_t eq = line.find_first_of("=} ", at);
                if (eq == std::string::npos || line[eq] != '=') break;
                std::string key = line.substr(at, eq - at);
                at = eq + 1;
                out[key] = compound(line, at);
            } else {
                out.push_back(compound(line, at));
            }
            if (at < line.size() && line[at] == ',') ++at;
            if (at == before) break;  // not a form argFields writes
        }
        if (at < line.size()) ++at;  // the closing bracket
        return out;
    }
    std::size_t end = line.find_first_of(",]} ", at);
    std::string word = line.substr(at, end - at);
    at = end == std::string::npos ? line.size() : end;
    ojson v = ojson::parse(word, nullptr, false);
    return v.is_discarded() || v.is_structured() ? ojson(word) : v;
}

}  // namespace

nlohmann::ordered_json lineAsJson(const std::string &line) {
    nlohmann::ordered_json out = nlohmann::ordered_json::object();
    nlohmann::ordered_json *into = &out;
    std::size_t at = line.find(' ');
    out["event"] = line.substr(0, at);
    while (at < line.size()) {
        if (line[at] == ' ') {
            ++at;
            continue;
        }
        std::size_t end = line.find_first_of(" =", at);
        std::string key = line.substr(at, end - at);
        if (key == "->") {
            out["result"] = nlohmann::ordered_json::object();
            into = &out["result"];
            at = end;
            continue;
        }
        if (end == std::string::npos || line[end] == ' ') {
            (*into)[key] = true;  // a flag word
            at = end;
            continue;
        }
        at = end + 1;
        if (at < line.size() && (line[at] == '{' || line[at] == '[')) {
            (*into)[key] = compound(line, at);
        } else if (at < line.size() && line[at] == '"') {
            nlohmann::ordered_json v = unquote(line, at);
            if (at < line.size() && line[at] == ',') {  // "a","b": a list of texts
                v = nlohmann::ordered_json::array({v});
                while (at + 1 < line.size() && line[at] == ',' && line[at + 1] == '"') v.push_back(unquote(line, ++at));
            }
            (*into)[key] = v;
        } else {
            end = line.find(' ', at);
            (*into)[key] = bare(line.substr(at, end - at));
            at = end;
        }
    }
    return out;
}

bool openTranscript(const std::string &file) {
    if (file.empty()) return true;
    if (file == "-") {
        jsonl = stdout;
        textLines = false;
        return true;
    }
    jsonl = std::fopen(file.c_str(), "w");
    return jsonl != nullptr;
}

void closeTranscript() {
    if (jsonl && jsonl != stdout) std::fclose(jsonl);
    jsonl = nullptr;
}

void say(const std::string &line) {
    if (textLines) {
        std::fwrite(line.data(), 1, line.size(), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    if (jsonl) {
        std::string json = lineAsJson(line).dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
        std::fprintf(jsonl, "%s\n", json.c_str());
        std::fflush(jsonl);
    }
}

void fail(const std::string &message) {
    failed = true;
    say("fail message=" + quoted(message));
    std::fprintf(stderr, "tnhost: %s\n", message.c_str());
}

bool anyFailure() { return failed; }

std::string quoted(const std::string &text) {
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

std::string dotted(in_addr address) {
    char text[INET_ADDRSTRLEN] = "?";
    inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

}  // namespace tarnel::host
