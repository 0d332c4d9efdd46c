// Replaying a recorded session: tnhost plays the host's side of what a
// client's trace (TARNEL_TRACE_FORMAT=json) recorded. Each recorded session
// becomes steps (the launch, and the attach of a client that attached; the
// recorded callbacks; its exit), and every request the client sends is checked against the next one
// recorded and answered with the recorded reply, byte for byte.
#ifndef TNHOST_REPLAY_H
#define TNHOST_REPLAY_H

#include <nlohmann/json.hpp>

#include <cstddef>
#include <string>
#include <vector>

#include "scenario.h"
#include "trace/node.h"

namespace tarnel::host {

struct Host;
struct Request;

struct RecordedRequest {
    int line = 0;
    int proc = 0;
    std::string stub;
    nlohmann::json args;      // by field name, as recorded
    std::string argsHex;      // the argument's encoding, as the trace writes it
    bool replied = false;     // false: the call failed; the replay closes the connection instead
    std::string replyBytes;   // the reply's encoding
    std::size_t callbacksBefore = 0;  // callbacks of its session recorded before it
    bool pipelined = false;           // sent ahead of its reply: it may overtake those callbacks
    bool answered = false;            // by the replay
};

struct RecordedSession {
    int line = 0;  // of its start event
    std::string id;
    std::vector<RecordedRequest> requests;
    std::size_t replayed = 0;  // requests answered so far
};

struct Replay {
    std::string file;
    std::vector<RecordedSession> sessions;
    bool diverged = false;  // the client did something else: the run stops
};

// Reads a recorded session and returns the scenario that plays it;
// `clientPath`, when given, replaces the recorded program. Throws
// std::runtime_error naming the line of a malformed record.
Scenario loadReplay(const std::string &file, const std::string &clientPath, Replay &replay);
// Answers a request from the recording (the dispatcher has decoded it);
// returns what came of it for the request line. A request other than the one
// recorded next fails the run, naming the first difference.
trace::Node replayRequest(Host &host, Request &request);
// What a "replayed" step (wait until the session `client` has had `count`
// requests answered) waits for next: the recorded request by line, procedure
// and fields.
std::string replayWanted(const Host &host, const Step &step);

}  // namespace tarnel::host

#endif
