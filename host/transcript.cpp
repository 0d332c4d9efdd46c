// The transcript: every event as one line on standard output, flushed at
// once so that a test reading the pipe sees lines as they happen.
#include <cstdio>

#include "host.h"

namespace tarnel::host {
namespace {
bool failed = false;
}

void say(const std::string &line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

void fail(const std::string &message) {
    failed = true;
    say("fail " + message);
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

}  // namespace tarnel::host
