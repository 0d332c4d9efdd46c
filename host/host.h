// The simulated host: shared state of one run and the entry points of its
// units. Everything runs on one thread; the RPC library's dispatchers reach
// the run through the single global `theHost`.
#ifndef TNHOST_HOST_H
#define TNHOST_HOST_H

#include <netinet/in.h>
#include <rpc/rpc.h>
#include <sys/types.h>

#include <chrono>
#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <wire/xdrproc.h>

#include "scenario.h"
#include "trace/event.h"

namespace tarnel::host {

using Clock = std::chrono::steady_clock;

using tarnel::wire::as_xdrproc;

// One event of the transcript: its text line on standard output and its
// JSON object in the JSON lines, each flushed at once.
void say(const trace::Event &event);
// A failed expectation: logged as "fail ..." and remembered for the exit status.
void fail(const std::string &message);
bool anyFailure();
// An address as a dotted quad.
std::string dotted(in_addr address);

// A callback (or a control period opened by take-control) whose over request
// is still due.
struct OpenControl {
    std::string label;
    std::optional<int> expectedValue;
    Clock::time_point since;
    bool closed = false;
};

// Callbacks that a request rule queued: sent one at a time from the main loop,
// each once every control opened after the sequence was made has been closed.
struct CallbackSequence {
    std::deque<CallbackSpec> pending;
    std::size_t depth;
};

// Output captured from one stream of a launched process.
struct OutputPipe {
    int fd = -1;
    std::string stream;  // "stdout" or "stderr"
    std::string partial;
};

struct ClientSession {
    std::string id;
    LaunchSpec launch;
    pid_t launcherPid = -1;  // the process the host started
    pid_t clientPid = -1;    // the process that sent procedure 1000 (or the number an attach reported)
    pid_t decoyPid = -1;     // stands in as "the host" for the liveness test
    int callbackProg = 0;
    int callbackVers = 1;
    bool forking = false;
    bool acked = false;
    bool attached = false;
    bool bailedOut = false;  // an over carried a non-zero bail-out flag: it is ending
    int apiFd = -1;          // connection its requests arrive on
    // Where its procedure 108 came from: its callbacks go there.
    std::optional<in_addr> attachedFrom;
    Clock::time_point launchedAt;
    CLIENT *callback = nullptr;
    int callbackSocket = -1;
    int callbackCount = 0;
    std::vector<std::shared_ptr<OpenControl>> controls;  // innermost last
    std::vector<CallbackSequence> sequences;             // newest last
    std::vector<OutputPipe> outputs;
    std::vector<std::string> lines[2];  // stdout, stderr
    // What the session's requests asked for (handlers/session.cpp).
    std::set<int> notifications;
    std::optional<std::string> directory;  // set by procedure 1344
    bool disconnected = false;             // sent procedure 1376

    // Started by this host: only then are its process numbers ours to watch,
    // signal and wait for. An attached client may run anywhere, and the number
    // it reported may belong to another machine.
    bool launched() const { return launcherPid > 0; }
};

// A request as served, for expectations on what clients sent.
struct ServedRequest {
    std::string client;  // session id, "?" before procedure 1000
    int proc = 0;
    std::shared_ptr<const nlohmann::json> args;  // decoded by field name (only when a step matches arguments)
};

struct Replay;

struct Host {
    Scenario scenario;
    Replay *replay = nullptr;  // --replay: requests are answered from the recording
    std::string scenarioName;  // its file, or "scenario" when given as text
    bool timing = false;
    // --listen: the address the services bind to, attaching clients are told
    // to connect back to, and callbacks to them leave from ("": loopback only).
    std::string listen;
    in_addr listenAddr{htonl(INADDR_LOOPBACK)};
    Clock::time_point deadline;
    std::vector<std::unique_ptr<ClientSession>> clients;
    // Connections that never sent procedure 1000 share this session's state.
    ClientSession unacknowledged = [] {
        ClientSession s;
        s.id = "?";
        return s;
    }();
    // Notifications kept per client launch name. A client may ask for one
    // and end at once (the sample client bails out right after asking); the
    // request outlives that session, and a later launch under the same name
    // starts with it. Only a disconnect (1376) or a request with state 0
    // withdraws it.
    std::map<std::string, std::set<int>> keptNotifications;
    std::map<pid_t, int> exits;  // raw wait status of every reaped process
    std::vector<ServedRequest> served;
    std::size_t expectCursor = 0;                    // expect_request looks on from here
    std::vector<const Step *> neverSteps;            // "count": 0, checked again when the run ends
    std::set<std::pair<int, int>> callbackPrograms;  // every one given to a client: withdrawn at the end
    bool scenarioError = false;                      // a document an open step names is bad: exit 2
    int attachesSeen = 0;
    int attachesWaited = 0;
    int signalPipe[2] = {-1, -1};
    bool stopRequested = false;
    int stopSignal = 0;

    ClientSession *find(const std::string &id);
    // The session whose launched process (or its acknowledging child) has the number.
    ClientSession *byPid(pid_t pid);
    ClientSession *byApiFd(int fd);
    // The session a step addresses: named, or the last one launched.
    ClientSession *target(const std::string &id);
};

extern Host *theHost;

// api_service.cpp
bool startApiService(Host &host);
void stopApiService(Host &host);
// connect_service.cpp
bool startConnectService(Host &host);
void stopConnectService(Host &host);
// processes.cpp
bool launchClient(Host &host, const LaunchSpec &spec);
void reapChildren(Host &host);
void drainOutput(ClientSession &client, std::size_t index, bool atEof);
void killDecoy(ClientSession &client);
void terminateAll(Host &host);
// Withdraws every callback program given to a client from the RPC binder.
void withdrawCallbackPrograms(Host &host);
// Set up the transcript: the text on standard output, JSON lines to `jsonl`
// ("-": standard output instead of the text; empty: none). False when the
// file cannot be written.
bool openTranscript(const std::string &jsonl);
void closeTranscript();
// "status=N", "signal=N" or "raw=N": how a process ended, for messages.
std::string describeStatus(int waitStatus);
// The same as a field of an event.
trace::Event &addStatus(trace::Event &event, int waitStatus);
// callbacks.cpp
// Sends one callback; returns the control it opened when an over is due.
std::shared_ptr<OpenControl> sendCallback(Host &host, ClientSession &client, const CallbackSpec &spec);
void closeCallback(ClientSession &client);
// handlers/session.cpp: notification requests.
// Starts a newly launched session with the notifications that earlier
// sessions of the same client name asked for; returns them.
std::vector<int> adoptKeptNotifications(Host &host, ClientSession &client);
// Whether the session asks for the notification now.
bool asksForNotification(const ClientSession &client, int notification);
// runner.cpp
void pollOnce(Host &host, int maxWaitMs);
void pumpSequences(Host &host);
bool runSteps(Host &host);
// Opens a control period (a callback or take-control) on the client.
std::shared_ptr<OpenControl> openControl(ClientSession &client, const std::string &label, std::optional<int> expected);
// Closes the innermost open control with the over request's value; returns
// the transcript's event.
trace::Event closeControl(ClientSession &client, int value);

}  // namespace tarnel::host

#endif
