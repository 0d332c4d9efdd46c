// A simulated host serving this test process: the process itself is the
// client, its tarnel_client connected straight to the host's API program.
// Tests read what the host received from its transcript (the XDR encoding of
// every argument) and compare it with the record they meant to send.
#ifndef REQUESTS_HARNESS_H
#define REQUESTS_HARNESS_H

#include <nlohmann/json.hpp>
#include <rpc/rpc.h>
#include <sys/types.h>

#include <string>
#include <vector>

namespace requests_test {

using nlohmann::json;

class ServedHost {
  public:
    // `rules`: the scenario's request rules (refusals, drops, answers ...);
    // `extra`: further top-level scenario keys (documents, answers ...).
    explicit ServedHost(json rules = json::array(), json extra = json::object());
    ~ServedHost();
    ServedHost(const ServedHost &) = delete;
    ServedHost &operator=(const ServedHost &) = delete;

    bool ready() const { return ready_; }
    // Ends the host at once: later requests get no reply.
    void vanish();
    // The transcript so far.
    const std::vector<std::string> &lines();
    // The argument hex of the latest request for `proc` (waits for its line).
    std::string argsOf(int proc);
    // The latest request line for `proc`, or "" (waits for it).
    std::string lineOf(int proc);
    std::string text();

  private:
    void drain(int waitMs);
    void settle();
    int program_ = 0;
    pid_t pid_ = -1;
    int out_ = -1;
    bool ready_ = false;
    std::string partial_;
    std::vector<std::string> lines_;
};

// The XDR encoding of a record, in the transcript's hex form.
std::string hexOf(xdrproc_t proc, const void *record);
template <typename T> std::string hexOf(bool_t (*proc)(XDR *, T *), const T &record) {
    return hexOf(reinterpret_cast<xdrproc_t>(proc), &record);
}

} // namespace requests_test

#endif
