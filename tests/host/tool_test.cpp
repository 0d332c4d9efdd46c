// tnhost as a client programmer's test bench: expectations on what a client
// sent, a client's end noticed at once, the binder left clean however the run
// ends, the JSON-lines transcript, and its messages for bad input.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <rpc/pmap_clnt.h>

#include <chrono>
#include <fstream>

#include "host_launcher.h"

namespace tarnel_test {
namespace {

// The dialog client's initialisation 1 opens modal dialog 3 of object 77
// (procedure 1316, record fields int1 and uint1); the rule ends it.
json modalRun(const json &check, json top = json::object()) {
    top["requests"] = {{{"proc", 1316}, {"modal_result", 42}}};
    top["steps"] = session(DIALOG_CLIENT_PATH, {callback("init", {{"initialization", 1}, {"over", 0}}), check});
    return top;
}

TEST(Expectations, MatchArgumentsByFieldNameAndCount) {
    const json dialog = {{"int1", 3}, {"uint1", 77}}, mail = {{"proc", 1008}};
    const struct {
        json check, top;
        int status;
        const char *message;  // in the fail line ("" when the run passes)
    } cases[] = {
        {step("wait_request", {{"proc", 1316}, {"args", dialog}}), {}, 0, ""},
        {step("wait_request", {{"proc", 1316}, {"args", {{"int1", 4}}}, {"timeout_ms", 200}}),
         {},
         1,
         "for request 1316 with args {\\\"int1\\\":4}: args.int1 is 3, expected 4"},
        {step("expect_request", {{"proc", 1316}, {"client", "c1"}, {"args", dialog}}), {}, 0, ""},
        {step("expect_request", {{"proc", 1316}, {"args", {{"uint1", 78}}}}),
         {},
         1,
         "among those served: args.uint1 is 77, expected 78"},
        {step("expect_request", mail), {}, 1, "expect_request: no request 1008 among those served"},
        {step("expect_request", {{"proc", 1008}, {"count", 0}}), {}, 0, ""},
        {step("wait_request", {{"proc", 1316}, {"count", 0}}), {}, 1, "1316 was called (client c1), expected never"},
        {step("serve", {{"ms", 1}}), {{"forbid", {1316}}}, 1, "1316 (api_tn_modal_dialog_1) from c1 is forbidden"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.check.dump());
        Transcript run = runHost(modalRun(c.check, c.top));
        EXPECT_EQ(run.status, c.status) << run.text();
        EXPECT_TRUE(!*c.message || run.has({"fail message=", c.message})) << run.text();
    }
}

TEST(Expectations, ClientEndingFailsTheStepAtOnce) {
    const struct {
        const char *path;
        json args;
        const char *how, *stderrLine;
    } cases[] = {
        {"/nonexistent/client", json::array(), "status=127", "tnhost: cannot run /nonexistent/client"},
        {"/bin/sh", {"-c", "echo dying >&2; kill -ABRT $$"}, "signal=6", "dying"},
    };
    for (const auto &c : cases) {
        const auto started = std::chrono::steady_clock::now();
        Transcript run = runHost({{"steps", {launch(c.path, {{"args", c.args}}), step("wait_ack")}}});
        const auto took = std::chrono::steady_clock::now() - started;
        EXPECT_EQ(run.status, 1) << run.text();
        EXPECT_LT(took, std::chrono::milliseconds(2500)) << run.text();
        EXPECT_TRUE(run.has({"fail message=\"c1 ended (", c.how, ") while waiting for the acknowledgement of c1",
                             "last stderr: \\\"", c.stderrLine}))
            << run.text();
    }
}

// The callback program of the launch line, asked of the binder after the run.
bool stillRegistered(const Transcript &run) {
    const auto launched = run.find({"launch client=c1 "});
    if (launched.empty()) return false;
    const std::string &l = launched[0];
    const unsigned long prog = std::stoul(l.substr(l.find(" callback=") + 10));
    sockaddr_in binder = {};
    binder.sin_family = AF_INET;
    binder.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return pmap_getport(&binder, prog, 1, IPPROTO_TCP) != 0;
}

TEST(Cleanup, CallbackProgramsWithdrawnHoweverTheRunEnds) {
    const json awake = {launch(SESSION_CLIENT_PATH), step("wait_ack"), callback("init", {{"over", 0}})};
    const struct {
        const char *name;
        json last;
        int stopAfterMs, status;
    } cases[] = {{"pass", callback("quit"), -1, 0},
                 {"fail", step("wait_exit", {{"timeout_ms", 50}}), -1, 1},
                 {"SIGTERM", step("serve", {{"ms", 20000}}), 1500, 128 + 15}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        json steps = awake;
        steps.push_back(c.last);
        Transcript run = runHost({{"steps", steps}}, 30, {}, c.stopAfterMs);
        EXPECT_EQ(run.status, c.status) << run.text();
        EXPECT_FALSE(stillRegistered(run)) << run.text();
    }
}

TEST(Transcript, JsonLinesCarryTheTextLinesFields) {
    const std::string file = testing::TempDir() + "tnhost_transcript.jsonl";
    Transcript run = runHost(modalRun(step("expect_request", {{"proc", 1008}})), 30, {"--jsonl", file});
    std::ifstream in(file);
    std::vector<json> events;
    for (std::string l; std::getline(in, l);) events.push_back(json::parse(l));
    ASSERT_EQ(events.size(), run.lines.size()) << run.text();
    for (std::size_t i = 0; i < events.size(); ++i) {
        const std::string &text = run.lines[i];
        EXPECT_EQ(text.substr(0, text.find(' ')), events[i]["event"]) << text;
        json fields = events[i];
        fields.erase("event");
        if (fields.contains("result")) fields.update(fields["result"]), fields.erase("result");
        for (auto &[key, value] : fields.items()) {
            // Bare or quoted (JSON's quoting agrees with the line's for these texts); a flag bare.
            const std::string bare = value.is_string() ? value.get<std::string>() : value.dump();
            const std::string shown = value.is_boolean() ? " " + key : key + "=" + bare;
            EXPECT_TRUE(text.find(shown) != std::string::npos ||
                        text.find(key + "=" + value.dump()) != std::string::npos)
                << key << " of " << text;
        }
    }
    EXPECT_EQ(events.back()["event"], "end");
    EXPECT_EQ(events.back()["status"], 1);
}

TEST(BadInput, SaysWhatAndWhere) {
    const std::string file = testing::TempDir() + "tnhost_bad.json";
    std::ofstream(file) << R"({"steps": [{"do": "serve"}, {"do": "wait_request", "proc": "x"}]})";
    const struct {
        std::vector<std::string> args;
        int status;
        std::string message;
    } cases[] = {
        {{"--timeout=abc", "--json", "{}"}, 2, "tnhost: --timeout: \"abc\" is not a number"},
        {{"--timeout", "abc", "--json", "{}"}, 2, "tnhost: --timeout: \"abc\" is not a number"},
        {{"--bogus"}, 2, "tnhost: unknown option --bogus"},
        {{"--timing=1"}, 2, "tnhost: --timing takes no value"},
        {{"--version"}, 0, "tnhost 0."},
        {{"--timeout=5", "--json={}"}, 0, "end status=0"},
        {{"--scenario", file}, 2, "tnhost: " + file + ": steps[1].proc: must be an integer"},
        {{"--json", "{\"steps\": [\n{]}"}, 2, "tnhost: scenario: line 2, column 2: not valid JSON here"},
        {{"--json", "{\"steps\": ["}, 2, "tnhost: scenario: line 1, column 12: the JSON text ends too soon"},
        {{"--json", R"({"steps": [{"do": "wait_request", "proc": 1316, "args": {"bad": 1}}]})"},
         2,
         "steps[0].args.bad: ApiTnDoDialogArgT has no such field (it has int1, uint1)"},
        {{"--json", R"({"documents": ["/no/d.json"]})"}, 2, "scenario: documents[0]: /no/d.json: cannot read the file"},
        {{"--json", R"({"steps": [{"do": "open", "file": "/no/d.json"}]})"},
         2,
         "scenario: steps[0]: /no/d.json: cannot read the file"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args[0]);
        Transcript run = runTnhost(c.args, 10);
        EXPECT_EQ(run.status, c.status) << run.text();
        EXPECT_NE(run.text().find(c.message), std::string::npos) << run.text();
    }
}

}  // namespace
}  // namespace tarnel_test
