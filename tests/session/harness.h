// Runs the simulated host with a scenario and collects its transcript.
#ifndef SESSION_HARNESS_H
#define SESSION_HARNESS_H

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace session_test {

using nlohmann::json;

struct HostRun {
    int status = -1;  // the host's exit status (-1: it did not end normally)
    std::vector<std::string> lines;

    // The lines that contain every one of the given fragments.
    std::vector<std::string> find(std::initializer_list<std::string> fragments) const;
    bool has(std::initializer_list<std::string> fragments) const { return !find(fragments).empty(); }
    // Index of the first line containing the fragment, or -1.
    int indexOf(const std::string &fragment) const;
    std::string text() const;  // the whole transcript, for failure messages
};

// Runs tnhost on the scenario (program numbers chosen per test process) and
// waits for it, at most timeoutS seconds plus a margin before it is killed.
HostRun runHost(json scenario, int timeoutS = 30);

// A launch step for one of the test clients.
json launch(const char *path, json extra = json::object());
json step(const char *kind, json extra = json::object());
json callback(const char *proc, json extra = json::object());

}  // namespace session_test

#endif
