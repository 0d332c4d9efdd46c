// Runs the simulated host (tnhost) for the tests: a scenario to its end
// (runHost), or a host left serving the test process (ServedHost).
#ifndef TARNEL_TEST_HOST_LAUNCHER_H
#define TARNEL_TEST_HOST_LAUNCHER_H

#include <nlohmann/json.hpp>
#include <rpc/rpc.h>
#include <sys/types.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <thread>
#include <vector>

namespace tarnel_test {

using nlohmann::json;

// Starts a command (its first word looked up on PATH) with its standard
// output on a pipe (`out`) and its diagnostics in `err` when given; -1 when
// it cannot.
pid_t spawn(const std::vector<std::string> &command, int *out, FILE *err = nullptr);

// A transient program number for the next host: the process id keeps
// parallel test programs apart, the counter successive hosts of one. The
// host takes its callback numbers just above it, its connection service's
// 0x80 above.
int programNumber();

struct Transcript {
    int status = -1;                 // the host's exit status (-1: it did not end normally)
    std::vector<std::string> lines;  // what it printed
    std::string err;                 // its own diagnostics

    // The lines that contain every one of the fragments.
    std::vector<std::string> find(std::initializer_list<std::string> fragments) const;
    bool has(std::initializer_list<std::string> fragments) const { return !find(fragments).empty(); }
    int indexOf(const std::string &fragment) const;  // first line holding it, or -1
    std::string text() const;                        // for failure messages
};

// Runs tnhost with these arguments and waits for its end; it is killed 15 s
// after `timeoutS`, and sent SIGTERM after `stopAfterMs` when that is >= 0.
// `prefix`: words in front of tnhost's command (another namespace); the
// first is looked up on PATH.
Transcript runTnhost(const std::vector<std::string> &args, int timeoutS = 30, int stopAfterMs = -1,
                     const std::vector<std::string> &prefix = {});
// Runs tnhost on the scenario (timeout set here, and the program number
// unless the scenario has one), with further options. A scenario too large
// for one argument goes through a temporary file.
Transcript runHost(json scenario, int timeoutS = 30, std::vector<std::string> options = {}, int stopAfterMs = -1,
                   const std::vector<std::string> &prefix = {});

// Scenario steps.
json launch(const char *path, json extra = json::object());
json step(const char *kind, json extra = json::object());
json callback(const char *proc, json extra = json::object());
// A launched client's steps: launch, its acknowledgement, `middle`, then a
// quit and a clean exit unless `quit` is false.
json session(const char *path, std::initializer_list<json> middle, json launchExtra = json::object(), bool quit = true);

// A tnhost that serves this process: a handle connected straight to its API
// program, and its transcript (every argument's encoding) as it grows.
class ServedHost {
  public:
    // `rules`: request rules; `extra`: further top-level scenario keys.
    // `handle`: where the connection is kept (the library's tarnel_client for
    // request tests); it is destroyed with the host. `options`: further
    // command-line options.
    explicit ServedHost(json rules = json::array(), json extra = json::object(), CLIENT **handle = nullptr,
                        const std::vector<std::string> &options = {});
    ~ServedHost();
    ServedHost(const ServedHost &) = delete;
    ServedHost &operator=(const ServedHost &) = delete;

    bool ready() const { return *handle_ != nullptr; }
    CLIENT *client() const { return *handle_; }
    // Ends the host at once: later requests get no reply.
    void vanish();
    // Reads the transcript away as it comes, for runs whose lines would fill
    // the pipe and stop the host; lines() no longer sees them.
    void discardTranscript();
    const std::vector<std::string> &lines();
    // The latest request line for `proc`, or "" (waits for it).
    std::string lineOf(int proc);
    // The argument encoding (hex) of the latest request for `proc`.
    std::string argsOf(int proc);
    std::string text();

  private:
    void drain(int waitMs);
    void settle();
    int program_ = 0;
    pid_t pid_ = -1;
    int out_ = -1;
    std::thread discarder_;
    CLIENT *own_ = nullptr;
    CLIENT **handle_ = &own_;
    std::string partial_;
    std::vector<std::string> lines_;
};

}  // namespace tarnel_test

#endif
