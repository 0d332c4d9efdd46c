// The transcript: every event as one line on standard output, flushed at
// once so that a test reading the pipe sees lines as they happen. A line is
// "<event> key=value ... [-> key=value ...]": numbers and words bare, free
// text quoted. With --jsonl the same events go out as JSON objects.
#include <arpa/inet.h>

#include <cstdio>

#include "host.h"

namespace tarnel::host {
namespace {

bool failed = false;
FILE *jsonl = nullptr;  // JSON lines, or null
bool textLines = true;  // false when the JSON lines take standard output

void writeLine(FILE *to, const std::string &line) {
    std::fwrite(line.data(), 1, line.size(), to);
    std::fputc('\n', to);
    std::fflush(to);
}

}  // namespace

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

void say(const trace::Event &event) {
    if (textLines) writeLine(stdout, trace::asText(event));
    if (jsonl) writeLine(jsonl, trace::asJson(event));
}

void fail(const std::string &message) {
    failed = true;
    say(trace::Event("fail").text("message", message));
    std::fprintf(stderr, "tnhost: %s\n", message.c_str());
}

bool anyFailure() { return failed; }

std::string dotted(in_addr address) {
    char text[INET_ADDRSTRLEN] = "?";
    inet_ntop(AF_INET, &address, text, sizeof text);
    return text;
}

}  // namespace tarnel::host
