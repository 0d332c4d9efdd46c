// tnhost as a client programmer's test bench: expectations on what a client
// sent and what a failed one saw, a client's end noticed at once, the binder
// left clean however the run ends, the transcript of writes and its JSON
// lines, the CTest function's time-out, and its messages for bad input.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <rpc/pmap_clnt.h>

#include <tarnel/api_to_tn.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

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
        const char *message, *more;  // in the fail line ("" when the run passes)
    } cases[] = {
        {step("wait_request", {{"proc", 1316}, {"args", dialog}}), {}, 0, "", ""},
        {step("wait_request", {{"proc", 1316}, {"args", {{"int1", 4}}}, {"timeout_ms", 200}}),
         {},
         1,
         "\"no request 1316 holding args.int1 = 4 within 200 ms; closest: args.int1 is 3, expected 4\"",
         ""},
        {step("wait_request", {{"proc", 1008}, {"timeout_ms", 200}}),
         {},
         1,
         "\"no request 1008 within 200 ms; served instead: 1000 (1), ",
         ""},
        {step("expect_request", {{"proc", 1316}, {"client", "c1"}, {"args", dialog}}), {}, 0, "", ""},
        {step("expect_request", {{"proc", 1316}, {"args", {{"uint1", 78}}}}),
         {},
         1,
         "\"expect_request: no request 1316 holding args.uint1 = 78 among the ",
         " served; closest: args.uint1 is 77, expected 78\""},
        {step("expect_request", mail),
         {},
         1,
         "expect_request: no request 1008 among the ",
         " served; served instead: "},
        {step("expect_request", {{"proc", 1008}, {"count", 0}}), {}, 0, "", ""},
        {step("wait_request", {{"proc", 1316}, {"count", 0}}),
         {},
         1,
         "request 1316 was called (client c1), expected never",
         ""},
        {step("serve", {{"ms", 1}}), {{"forbid", {1316}}}, 1, "1316 (api_tn_modal_dialog_1) from c1 is forbidden", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.check.dump());
        Transcript run = runHost(modalRun(c.check, c.top));
        EXPECT_EQ(run.status, c.status) << run.text();
        EXPECT_TRUE(!*c.message || run.has({"fail message=", c.message, c.more})) << run.text();
    }
}

// A failed wait names how many requests held the arguments and, of those
// that did not, the one that came closest (fewest differing fields).
TEST(Expectations, FailureNamesTheClosestRequest) {
    const json wait = step(
        "wait_request", {{"proc", 1065}, {"count", 2}, {"args", {{"objId", 1}, {"value", 515}}}, {"timeout_ms", 1500}});
    ServedHost h(json::array(), {{"steps", {wait}}});
    ASSERT_TRUE(h.ready());
    const struct {
        u_int obj;
        int value;
    } writes[] = {{2, 516}, {1, 516}, {1, 515}};
    for (const auto &w : writes) {
        ApiTnSetIntArgT a = {0, w.obj, {610, nullptr}, w.value};
        EXPECT_NE(api_tn_set_int_1(&a, h.client()), nullptr);
    }
    for (const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
         h.text().find("end status=") == std::string::npos && std::chrono::steady_clock::now() < until;)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_NE(h.text().find("fail message=\"1 of 2 requests 1065 holding args.objId = 1, args.value = 515 within 1500 "
                            "ms; closest: args.value is 516, expected 515\""),
              std::string::npos)
        << h.text();
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

// A write's request line shows every field of its argument, and its JSON
// line the same values as JSON.
TEST(Transcript, WritesShowWhatTheyWrite) {
    const std::string file = testing::TempDir() + "tnhost_writes.jsonl";
    ServedHost h(json::array(), json::object(), nullptr, {"--jsonl", file});
    ASSERT_TRUE(h.ready());
    CLIENT *c = h.client();
    int counting[20];
    for (int i = 0; i < 20; ++i) counting[i] = i;
    StringT words[] = {const_cast<StringT>("a"), const_cast<StringT>("b")};
    T_PropValT props[2] = {};
    props[0].ident.num = 600;
    props[0].value.kind = TA_KIND_INT;
    props[0].value.u.ival = 12;
    props[1].ident.name = const_cast<StringT>("k");
    props[1].value.kind = TA_KIND_STRINGS;
    props[1].value.u.strings = {2, words};
    ApiTnSetIntArgT number = {0, 0, {610, nullptr}, 515};
    ApiTnSetStringArgT text = {0, 0, {0, const_cast<StringT>("title")}, const_cast<StringT>("say \"hi\"\n")};
    ApiTnSetIntsArgT list = {0, 0, {611, nullptr}, {20, counting}};
    ApiTnSetPropsArgT many = {0, 0, {2, props}};
    ASSERT_NE(api_tn_set_int_1(&number, c), nullptr);
    ASSERT_NE(api_tn_set_string_1(&text, c), nullptr);
    ASSERT_NE(api_tn_set_ints_1(&list, c), nullptr);
    ASSERT_NE(api_tn_set_props_1(&many, c), nullptr);

    const struct {
        int proc;
        const char *shown;  // on the request line
        const char *key;
        json value;  // in the JSON line
    } cases[] = {
        {1065, R"( docId=0 objId=0 ident={num=610,name=""} value=515 args=)", "value", 515},
        {1071, R"( ident={num=0,name="title"} value="say \"hi\"\n" args=)", "value", "say \"hi\"\n"},
        {1093,
         " value=[0,1,2,3,4,5,6,7,8,9,10,11,12,13,14,15,...+4] args=",
         "value",
         {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19}},  // the line cuts, JSON does not
        {1063,
         R"( props=[{ident={num=600,name=""},value={int=12}},{ident={num=0,name="k"},value={strings=["a","b"]}}] )",
         "props", json::parse(R"([{"ident":{"num":600,"name":""},"value":{"int":12}},
                         {"ident":{"num":0,"name":"k"},"value":{"strings":["a","b"]}}])")},
    };
    std::vector<json> events;
    h.lines();  // every line written
    std::ifstream in(file);
    for (std::string l; std::getline(in, l);) events.push_back(json::parse(l));
    for (const auto &k : cases) {
        SCOPED_TRACE(k.proc);
        EXPECT_NE(h.lineOf(k.proc).find(k.shown), std::string::npos) << h.lineOf(k.proc);
        auto e =
            std::find_if(events.begin(), events.end(), [&](const json &j) { return j.value("proc", 0) == k.proc; });
        ASSERT_NE(e, events.end());
        EXPECT_EQ((*e)[k.key], k.value) << e->dump();
    }
}

// Without TIMEOUT a client test may run for its scenario's limit and 30 s.
TEST(ClientTest, TimeoutDefaultsToTheScenarioLimit) {
    const std::string dir = testing::TempDir() + "tarnel_client_test_timeout";
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    std::ofstream(dir + "/own.json") << R"({"timeout_s": 5, "steps": []})";
    std::ofstream(dir + "/plain.json") << R"({"steps": []})";
    std::ofstream(dir + "/CMakeLists.txt")
        << "cmake_minimum_required(VERSION 3.20)\n"
           "project(timeouts NONE)\n"
           "enable_testing()\n"
           "add_executable(Tarnel::tnhost IMPORTED)\n"
           "set_target_properties(Tarnel::tnhost PROPERTIES IMPORTED_LOCATION /bin/true)\n"
           "include(" TARNEL_CLIENT_TEST_MODULE ")\n"
           "tarnel_add_client_test(NAME own CLIENT c SCENARIO own.json)\n"
           "tarnel_add_client_test(NAME plain CLIENT c SCENARIO plain.json)\n"
           "tarnel_add_client_test(NAME later CLIENT c SCENARIO made_later.json)\n"
           "tarnel_add_client_test(NAME given CLIENT c SCENARIO own.json TIMEOUT 7)\n";
    auto output = [](const std::string &command) {
        std::string out;
        FILE *p = popen(command.c_str(), "r");
        char buffer[4096];
        for (std::size_t n; p && (n = fread(buffer, 1, sizeof buffer, p)) > 0;) out.append(buffer, n);
        if (p) pclose(p);
        return out;
    };
    const std::string configured = output(std::string(TARNEL_CMAKE) + " -S " + dir + " -B " + dir + "/build 2>&1");
    const json shown = json::parse(
        output(std::string(TARNEL_CTEST) + " --test-dir " + dir + "/build --show-only=json-v1"), nullptr, false);
    ASSERT_TRUE(shown.contains("tests")) << configured;
    std::map<std::string, double> timeouts;
    for (const json &t : shown["tests"])
        for (const json &p : t.value("properties", json::array()))
            if (p["name"] == "TIMEOUT")
                timeouts[t["name"].get<std::string>()] =
                    p["value"].is_number() ? p["value"].get<double>() : std::stod(p["value"].get<std::string>());
    const std::map<std::string, double> expected = {{"own", 35}, {"plain", 90}, {"later", 90}, {"given", 7}};
    EXPECT_EQ(timeouts, expected) << shown.dump();
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
