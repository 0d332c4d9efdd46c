// Reading a recorded session into steps, and answering its requests.
#include "replay.h"

#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <stdexcept>

#include "handlers/handlers.h"
#include "record_fields.h"
#include "trace/encoding.h"
#include "wire/callback_table.h"

namespace tarnel::host {
namespace {

using nlohmann::json;

[[noreturn]] void bad(const std::string &at, const std::string &what) { throw std::runtime_error(at + ": " + what); }

const json &member(const json &event, const char *key, const std::string &at) {
    auto it = event.find(key);
    if (it == event.end()) bad(at, std::string("the event has no \"") + key + "\"");
    return *it;
}

int integer(const json &event, const char *key, const std::string &at) {
    const json &v = member(event, key, at);
    if (!v.is_number_integer()) bad(at, std::string("\"") + key + "\" must be an integer");
    return v.get<int>();
}

std::string text(const json &event, const char *key, const std::string &at) {
    const json &v = member(event, key, at);
    if (!v.is_string()) bad(at, std::string("\"") + key + "\" must be a string");
    return v.get<std::string>();
}

// Recorded bytes, checked to be hex and whole XDR units.
std::string bytes(const json &event, const char *key, const std::string &at) {
    auto b = trace::hexBytes(text(event, key, at));
    if (!b || b->size() % 4) bad(at, std::string("\"") + key + "\" is not an XDR encoding in hex");
    return *b;
}

// The argument of these procedures is the client's process number, new in
// every run: it is not compared.
bool processNumberArg(int proc) { return proc == 1000 || proc == 1001; }

// Sends recorded bytes as they are.
bool_t putRecorded(XDR *x, std::string *recorded) {
    return recorded->empty() || XDR_PUTBYTES(x, recorded->data(), static_cast<u_int>(recorded->size()));
}

// What the request line shows after "->": "replayed line=12".
trace::Node outcome(const char *what, int line = 0) {
    trace::Node n = trace::Node::record().add(what, trace::Node::flag());
    return line ? n.add("line", trace::Node::number(line)) : n;
}

std::string procName(int proc, const std::string &stub) { return std::to_string(proc) + " (" + stub + ")"; }

std::string where(const Replay &r, const RecordedSession &s, std::size_t index) {
    return r.file + ":" + std::to_string(s.requests[index].line) + " (session " + s.id + ", request " +
           std::to_string(index + 1) + ")";
}

// Parses one record; a step it calls for is appended to `steps`, and a wait
// for the session's requests so far is noted in `waits` by step index.
struct Reader {
    Reader(Replay &r, const std::string &path) : replay(r), clientPath(path) {}

    Replay &replay;
    const std::string &clientPath;
    json steps = json::array();
    std::vector<std::pair<std::size_t, std::pair<std::size_t, std::size_t>>> waits;  // step, (session, count)
    bool open = false;                                                                 // a session is running
    std::size_t callbacks = 0;

    void waitForRequests() {
        RecordedSession &s = replay.sessions.back();
        waits.push_back({steps.size(), {replay.sessions.size() - 1, s.requests.size()}});
        steps.push_back({{"do", "serve"}, {"ms", 0}});
    }

    void endSession() {
        if (!open) return;
        open = false;
        waitForRequests();
        const RecordedSession &s = replay.sessions.back();
        steps.push_back({{"do", "wait_exit"}, {"client", s.id}});
    }

    void start(const json &e, const std::string &at, int line) {
        endSession();
        RecordedSession s;
        s.line = line;
        s.id = "s" + std::to_string(replay.sessions.size() + 1);
        const std::string how = text(e, "how", at);
        if (how != "launched" && how != "attached") bad(at, "\"how\" must be launched or attached");
        const json &argv = member(e, "argv", at);
        if (!argv.is_array() || argv.empty() ||
            !std::all_of(argv.begin(), argv.end(), [](const json &a) { return a.is_string(); }))
            bad(at, "\"argv\" must be a non-empty array of strings");
        json launch = {{"do", "launch"},
                       {"client", s.id},
                       {"path", clientPath.empty() ? argv[0].get<std::string>() : clientPath},
                       {"args", json(argv.begin() + 1, argv.end())}};
        if (how == "launched") {
            launch["number"] = integer(e, "number", at);
            launch["name"] = text(e, "name", at);
            steps.push_back(launch);
        } else {
            // It attached by itself: started without TNAPIX, its connection
            // service's program, wherever the command line names it, is this
            // host's.
            const std::string recorded = std::to_string(integer(e, "connect_prog", at));
            for (json &a : launch["args"])
                if (a == recorded) a = "{connect_prog}";
            launch["tnapix"] = "missing";
            steps.push_back(launch);
            steps.push_back({{"do", "wait_attach"}});
        }
        replay.sessions.push_back(s);
        open = true;
        callbacks = 0;
    }

    void request(const json &e, const std::string &at, int line) {
        RecordedRequest r;
        r.line = line;
        r.proc = integer(e, "proc", at);
        const wire::ProcEntry *entry = wire::findProc(static_cast<u_int>(r.proc));
        if (!entry) bad(at, "no procedure " + std::to_string(r.proc) + " in the protocol");
        r.stub = text(e, "stub", at);
        if (r.stub != entry->stub)
            bad(at, "procedure " + std::to_string(r.proc) + " is " + entry->stub + ", not " + r.stub);
        r.args = member(e, "args", at);
        r.argsHex = text(e, "args_xdr", at);
        std::transform(r.argsHex.begin(), r.argsHex.end(), r.argsHex.begin(), [](unsigned char c) { return std::tolower(c); });
        (void)bytes(e, "args_xdr", at);
        const json &result = member(e, "result", at);
        if (!result.is_object()) bad(at, "\"result\" must be an object");
        r.replied = !result.contains("error");
        if (r.replied) r.replyBytes = bytes(result, "reply_xdr", at + " result");
        r.callbacksBefore = callbacks;
        r.pipelined = e.contains("pipelined");
        replay.sessions.back().requests.push_back(std::move(r));
    }

    void callback(const json &e, const std::string &at) {
        const int proc = integer(e, "proc", at);
        if (!wire::findCallback(proc)) bad(at, "no callback " + std::to_string(proc));
        // Sent once the requests recorded before it have been answered.
        waitForRequests();
        json step = {{"do", "callback"}, {"client", replay.sessions.back().id}, {"proc", proc}, {"serve_ms", 0}};
        if (e.contains("garbage")) {
            step["garbage"] = true;
        } else if (e.contains("args")) {
            if (!e["args"].is_object()) bad(at, "\"args\" must be an object");
            step.update(e["args"]);
        }
        step["over"] = false;  // the over request is among the recorded requests
        steps.push_back(step);
        ++callbacks;
    }

    void read(const std::string &line, int number) {
        const std::string at = replay.file + ":" + std::to_string(number);
        json e;
        try {
            e = json::parse(line);
        } catch (const std::exception &x) {
            bad(at, "not a JSON object: " + jsonErrorText(x));
        }
        if (!e.is_object()) bad(at, "not a JSON object");
        const std::string event = text(e, "event", at);
        if (event == "start") return start(e, at, number);
        if (!open) bad(at, "a " + event + " event outside a session (no start event before it)");
        if (event == "request") return request(e, at, number);
        if (event == "callback") return callback(e, at);
        if (event == "end") return endSession();
        bad(at, "unknown event \"" + event + "\"");
    }
};

}  // namespace

Scenario loadReplay(const std::string &file, const std::string &clientPath, Replay &replay) {
    replay.file = file;
    std::ifstream in(file);
    if (!in) throw std::runtime_error(file + ": cannot read: " + std::strerror(errno));
    Reader reader(replay, clientPath);
    std::string line;
    int number = 0;
    while (std::getline(in, line))
        if (++number, line.find_first_not_of(" \t\r") != std::string::npos) reader.read(line, number);
    if (replay.sessions.empty()) throw std::runtime_error(file + ": no session recorded (no start event)");
    reader.endSession();
    Scenario scenario;
    try {
        scenario = parseScenario({{"steps", reader.steps}});
    } catch (const std::exception &x) {
        throw std::runtime_error(file + ": " + x.what());
    }
    for (const auto &[step, wait] : reader.waits) {
        Step &s = scenario.steps[step];
        s.kind = "replayed";
        s.client = replay.sessions[wait.first].id;
        s.count = static_cast<int>(wait.second);
    }
    return scenario;
}

static std::size_t nextUnanswered(const RecordedSession &s) {
    std::size_t i = 0;
    while (i < s.requests.size() && s.requests[i].answered) ++i;
    return i;
}

trace::Node replayRequest(Host &host, Request &req) {
    Replay &replay = *host.replay;
    const int proc = static_cast<int>(req.entry.number);
    // The acknowledgement binds the connection to its session, as always.
    if (processNumberArg(proc))
        if (Handler h = findHandler(req.entry.number)) h(host, req);
    auto diverge = [&](const std::string &why) {
        fail("replay: " + why);
        replay.diverged = true;
        // The client gets no reply: it goes on with a failed request, not a wrong one.
        shutdown(req.transport->xp_fd, SHUT_RDWR);
        return outcome("dropped");
    };
    const std::string sent = procName(proc, req.entry.stub);
    RecordedSession *session = nullptr;
    for (RecordedSession &s : replay.sessions)
        if (req.client && s.id == req.client->id) session = &s;
    if (!session) return diverge("request " + sent + " from a connection of no recorded session");
    if (session->replayed >= session->requests.size())
        return diverge("session " + session->id + " sent request " + std::to_string(session->replayed + 1) + ", " +
                       sent + ", beyond the " + std::to_string(session->requests.size()) + " recorded");
    // What keeps this request from answering the recorded one: "" when nothing.
    const std::string actual = trace::xdrHex(req.entry.argProc, req.arg);
    auto differs = [&](const RecordedRequest &r) -> std::string {
        if (proc != r.proc) return "recorded " + procName(r.proc, r.stub) + ", the client sent " + sent;
        if (processNumberArg(proc) || actual == r.argsHex) return "";
        std::string why = tarnel::host::mismatch(r.args, valueAsJson(req.entry.argType, req.arg), "args");
        if (auto at = why.rfind(", expected "); at != std::string::npos) why.replace(at, 11, ", recorded ");
        if (why.empty()) why = "the arguments encode as " + actual + ", recorded " + r.argsHex;
        return sent + ": " + why;
    };
    // The first request not yet answered; or, when it is pipelined and this
    // one is not (or the other way round), the first of the other kind: a
    // callback's handler may overtake the requests a pipeline has in flight,
    // or fall behind them, by how many were in flight when it arrived.
    std::size_t index = nextUnanswered(*session);
    const std::string at = where(replay, *session, index);
    std::string why = differs(session->requests[index]);
    if (!why.empty()) {
        const bool pipelined = session->requests[index].pipelined;
        for (std::size_t i = index + 1; i < session->requests.size(); ++i)
            if (!session->requests[i].answered && session->requests[i].pipelined != pipelined) {
                if (differs(session->requests[i]).empty()) index = i, why.clear();
                break;
            }
    }
    if (!why.empty()) return diverge(at + ": " + why);
    RecordedRequest &r = session->requests[index];
    if (!r.pipelined && static_cast<std::size_t>(req.client->callbackCount) < r.callbacksBefore)
        return diverge(at + ": the client sent " + sent + " before the callback recorded ahead of it");
    r.answered = true;
    session->replayed++;
    if (!r.replied) {
        // The recorded call failed: the client's call fails here too.
        shutdown(req.transport->xp_fd, SHUT_RDWR);
        return outcome("dropped", r.line);
    }
    std::string reply = r.replyBytes;
    if (!svc_sendreply(req.transport, wire::as_xdrproc(putRecorded), reinterpret_cast<caddr_t>(&reply)))
        return outcome("reply-failed", r.line);
    return outcome("replayed", r.line);
}

std::string replayWanted(const Host &host, const Step &step) {
    for (const RecordedSession &s : host.replay->sessions) {
        if (s.id != step.client) continue;
        if (s.replayed >= static_cast<std::size_t>(step.count) || s.replayed >= s.requests.size()) break;
        const std::size_t next = nextUnanswered(s);
        const RecordedRequest &r = s.requests[next];
        return where(*host.replay, s, next) + ": " + procName(r.proc, r.stub) +
               (r.args.is_null() || processNumberArg(r.proc) ? "" : " holding " + expectedFields(r.args));
    }
    return "the recorded requests of " + step.client;
}

}  // namespace tarnel::host
