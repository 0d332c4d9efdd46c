// The client's trace and tnhost --replay: sessions of the sample client,
// the property client and a client that sends every procedure, recorded
// under a scenario and replayed; recordings that no longer match what the
// client does; and traces that cannot be written or are slow, which must not
// change what the client does.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "host_launcher.h"

namespace {

using namespace tarnel_test;

std::vector<json> readEvents(const std::string &file) {
    std::vector<json> events;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) events.push_back(json::parse(line));
    return events;
}

void writeEvents(const std::string &file, const std::vector<json> &events) {
    std::ofstream out(file, std::ios::trunc);
    for (const json &e : events) out << e.dump() << '\n';
}

std::string tempFile(const std::string &name) {
    std::string file = testing::TempDir() + "tarnel-replay-" + std::to_string(getpid()) + "-" + name;
    unlink(file.c_str());
    return file;
}

// Runs the scenario with every launched client traced to `file`, with the
// further environment given.
Transcript record(json scenario, const std::string &file, json env = json::object()) {
    env.update({{"TARNEL_TRACE", file}, {"TARNEL_TRACE_FORMAT", "json"}});
    for (json &s : scenario["steps"])
        if (s["do"] == "launch") s["env"] = env;
    return runHost(scenario, 60);
}

// Replays `recording`, the replayed client traced to `traced` (when given).
Transcript replay(const std::string &recording, const std::string &traced = "") {
    std::vector<std::string> prefix;
    if (!traced.empty()) prefix = {"env", "TARNEL_TRACE=" + traced, "TARNEL_TRACE_FORMAT=json"};
    return runTnhost({"--replay", recording, "--prog", std::to_string(programNumber())}, 60, -1, prefix);
}

// Each request event's procedure and what travelled, without the process
// number that the acknowledgement carries; the pipelined ones after the
// others, as only the order within each kind is fixed.
std::vector<std::string> exchanges(const std::vector<json> &events) {
    std::vector<std::string> out, pipelined;
    for (const json &e : events)
        if (e["event"] == "request")
            (e.contains("pipelined") ? pipelined : out)
                .push_back(std::to_string(e["proc"].get<int>()) + " " +
                           (e["proc"] == 1000 ? "" : e["args_xdr"].get<std::string>()) + " -> " +
                           e["result"].value("reply_xdr", "(no reply)"));
    out.insert(out.end(), pipelined.begin(), pipelined.end());
    return out;
}

struct Recorded {
    const char *name;
    json scenario;
    std::size_t requests;  // at least this many recorded
};

std::vector<Recorded> recordedSessions() {
    const std::string sample = TNHOST_SAMPLE;
    json alert = session(ALERT_CLIENT_PATH, {callback("init", {{"initialization", 0}, {"over", 0}}),
                                             callback("notify", {{"notification", 2}, {"objId", 1}, {"over", 0}}),
                                             step("wait_request", {{"proc", 1008}})});
    // The property client under its own example scenario.
    json props = json::parse(std::ifstream(PROPS_CLIENT_SCENARIO));
    for (json &s : props["steps"])
        if (s["do"] == "launch") s["path"] = PROPS_CLIENT_PATH;
    json every = session(EVERY_REQUEST_CLIENT_PATH, {callback("init", {{"initialization", 1}, {"over", true}})});
    // A client that attaches through the connection service by itself.
    json attached = {launch(SESSION_DRIVER_PATH, {{"tnapix", "missing"}, {"args", {"attach", "{connect_prog}"}}}),
                     step("wait_attach"),
                     step("wait_ack"),
                     callback("init", {{"initialization", 1}}),
                     callback("quit"),
                     step("wait_exit", {{"status", 0}})};
    // Writes sent ahead of their replies, a callback arriving among them.
    json pipelined = {{"requests", {{{"proc", 1065}, {"times", 1}, {"then", {{{"proc", "message"}, {"message", "m"}}}}}}},
                      {"steps", session(CPP_CLASS_CLIENT_PATH, {callback("init", {{"initialization", 6}}),
                                                                 step("wait_request", {{"proc", 1064}})})}};
    return {{"sample client", {{"documents", {sample}}, {"steps", alert}}, 8},
            {"attached client", {{"steps", attached}}, 2},
            {"property client", props, 5},
            {"every procedure", {{"steps", every}}, 170},
            {"pipelined client", pipelined, 500}};
}

TEST(Replay, RecordedSessionsReplayWithTheSameRequestsAndByteIdenticalReplies) {
    for (const Recorded &r : recordedSessions()) {
        SCOPED_TRACE(r.name);
        const std::string recording = tempFile("recorded.jsonl"), replayed = tempFile("replayed.jsonl");
        Transcript first = record(r.scenario, recording);
        ASSERT_EQ(first.status, 0) << first.text();
        Transcript second = replay(recording, replayed);
        ASSERT_EQ(second.status, 0) << second.text();
        const auto before = exchanges(readEvents(recording)), after = exchanges(readEvents(replayed));
        EXPECT_GE(before.size(), r.requests);
        EXPECT_EQ(before, after);
    }
}

// A recording changed the way a changed client would differ from it.
struct Changed {
    const char *name;
    void (*change)(std::vector<json> &events);
    std::vector<std::string> message;  // fragments of the failure
};

// The index of the last request event of procedure `proc`.
std::size_t lastRequest(const std::vector<json> &events, int proc) {
    for (std::size_t i = events.size(); i-- > 0;)
        if (events[i]["event"] == "request" && events[i]["proc"] == proc) return i;
    return events.size();
}

TEST(Replay, AClientThatDiffersFromTheRecordingFailsAtTheFirstDifference) {
    const Changed cases[] = {
        {"one argument different",
         [](std::vector<json> &e) {
             json &alert = e[lastRequest(e, 1008)];
             alert["args"]["message"] = "Goodbye";
             alert["args_xdr"] = "00000000";
         },
         {"replay:", "1008 (api_tn_alert_1)", "args.message is \"Hello from the sample document.\"",
          "recorded \"Goodbye\""}},
        {"one request more", [](std::vector<json> &e) { e.erase(e.begin() + static_cast<long>(lastRequest(e, 1008))); },
         {"replay:", "recorded 1002 (api_tn_over_1), the client sent 1008 (api_tn_alert_1)"}},
        {"one request less",
         [](std::vector<json> &e) {
             json extra = e[lastRequest(e, 1008)];
             e.insert(e.begin() + static_cast<long>(lastRequest(e, 1008)) + 1, extra);
         },
         {"replay:", "recorded 1008 (api_tn_alert_1), the client sent 1002 (api_tn_over_1)"}},
    };
    const std::string recording = tempFile("base.jsonl");
    ASSERT_EQ(record(recordedSessions()[0].scenario, recording).status, 0);
    for (const Changed &c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<json> events = readEvents(recording);
        c.change(events);
        const std::string changed = tempFile("changed.jsonl");
        writeEvents(changed, events);
        Transcript run = replay(changed);
        EXPECT_EQ(run.status, 1) << run.text();
        bool found = true;  // in the host's own words on standard error
        for (const std::string &f : c.message) found = found && run.err.find(f) != std::string::npos;
        EXPECT_TRUE(found) << run.err;
    }
}

TEST(Replay, MalformedRecordingsAreRefusedNamingTheLine) {
    const std::string start =
        R"({"event":"start","how":"launched","pid":1,"name":"x","number":-1,"argv":["/bin/true"]})";
    const struct {
        std::vector<std::string> lines;
        std::string message;
    } cases[] = {
        {{"not json"}, ":1: not a JSON object"},
        {{R"({"event":"request","proc":1008})"}, ":1: a request event outside a session"},
        {{start, R"({"event":"bounce"})"}, ":2: unknown event \"bounce\""},
        {{start, R"({"event":"request","proc":99999,"stub":"x","args":null,"args_xdr":"","result":{}})"},
         ":2: no procedure 99999"},
        {{start, R"({"event":"request","proc":1008,"stub":"api_tn_alert_1","args":{},"args_xdr":"zz","result":{}})"},
         ":2: \"args_xdr\" is not an XDR encoding in hex"},
        {{start, R"({"event":"callback","proc":2,"args":{"bogus":1}})"}, "bogus"},
        {{}, "no session recorded"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.message);
        const std::string file = tempFile("bad.jsonl");
        std::ofstream(file) << [&] {
            std::string all;
            for (const std::string &l : c.lines) all += l + "\n";
            return all;
        }();
        Transcript run = replay(file);
        EXPECT_EQ(run.status, 2);
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

// The requests the host served, as its transcript shows them, without the
// acknowledgement's process number.
std::vector<std::string> served(const Transcript &run) {
    std::vector<std::string> out;
    for (const std::string &l : run.lines)
        if (l.rfind("request ", 0) == 0 && l.find("proc=1000 ") == std::string::npos) out.push_back(l);
    return out;
}

TEST(Trace, ADestinationThatFailsOrASlowTraceFunctionChangesNothing) {
    const json scenario = recordedSessions()[3].scenario;
    const std::string good = tempFile("good.jsonl");
    Transcript baseline = record(scenario, good);
    ASSERT_EQ(baseline.status, 0) << baseline.text();
    // A named pipe whose reader never reads, made small so it fills at once.
    const std::string fifo = tempFile("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const int reader = open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(reader, 0);
    (void)fcntl(reader, F_SETPIPE_SZ, 4096);
    const struct {
        const char *name;
        std::string destination;
        json env;
        std::string says;  // on the client's standard error, or its output
    } cases[] = {
        {"a full disk", "/dev/full", json::object(), "tarnel trace: stopped writing /dev/full"},
        {"a folder that does not exist", "/nonexistent/t.jsonl", json::object(), "tarnel trace: cannot write"},
        {"a reader that does not keep up", fifo, json::object(), "the reader does not keep up"},
        {"a slow trace function", tempFile("slow.jsonl"), {{"EVERY_REQUEST_SLOW_TRACE", "2"}}, "traced "},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Transcript run = record(scenario, c.destination, c.env);
        EXPECT_EQ(run.status, 0) << run.text();
        EXPECT_EQ(served(run), served(baseline));
        EXPECT_FALSE(run.find({c.says}).empty()) << run.text();
    }
    close(reader);
}

}  // namespace
