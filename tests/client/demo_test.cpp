// What the demo relies on from the simulated host: notification requests kept
// under the client's name across its runs, documents opened during a run,
// notifications sent to the sessions that asked; and the demo itself.
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>

#include <fstream>

#include "host_launcher.h"

namespace {

using namespace tarnel_test;

const json kDocument = {{"name", "k.doc"}, {"props", {{{"num", 110}, {"int", 0}}}}};

json initStep(const char *client, int code, int over) {
    return callback("init", {{"client", client}, {"initialization", code}, {"over", over}});
}

TEST(KeptNotifications, ReachLiveSessionsOfTheSameNameOnly) {
    json steps = {launch(ALERT_CLIENT_PATH, {{"client", "first"}}),
                  step("wait_ack"),
                  initStep("first", 1, 1),
                  step("wait_exit", {{"status", 0}}),
                  launch(ALERT_CLIENT_PATH, {{"client", "other"}, {"name", "other_client"}}),
                  step("wait_ack"),
                  initStep("other", 0, 0),
                  launch(ALERT_CLIENT_PATH, {{"client", "second"}}),
                  step("wait_ack"),
                  initStep("second", 0, 0),
                  step("notify", {{"notification", 2}, {"doc", "k.doc"}, {"sessions", 1}, {"over", 0}}),
                  step("notify", {{"notification", 3}, {"objId", 1}, {"sessions", 0}}),
                  callback("quit", {{"client", "other"}}),
                  step("wait_exit", {{"client", "other"}}),
                  callback("quit", {{"client", "second"}}),
                  step("wait_exit", {{"client", "second"}})};
    Transcript run = runHost({{"documents", {kDocument}}, {"steps", steps}});
    ASSERT_EQ(run.status, 0) << run.text();
    EXPECT_TRUE(run.has({"kept client=second name=\"alert_client\" asked=2"})) << run.text();
    EXPECT_TRUE(run.find({"kept client=other"}).empty()) << run.text();
    // The first run asked too, but it has ended.
    EXPECT_TRUE(run.has({"notify notification=2 objId=1 sessions=second"})) << run.text();
    EXPECT_TRUE(run.has({"notify notification=3 objId=1 sessions=none"})) << run.text();
    auto notified = run.find({"name=notify"});
    ASSERT_EQ(notified.size(), 1u) << run.text();
    EXPECT_NE(notified[0].find("client=second"), std::string::npos);
}

#ifdef DIALOG_CLIENT_PATH
// A client that leaves the session withdraws what its name asked for.
TEST(KeptNotifications, DisconnectWithdrawsThem) {
    json steps = {launch(ALERT_CLIENT_PATH, {{"client", "first"}}),
                  step("wait_ack"),
                  initStep("first", 1, 1),
                  step("wait_exit", {{"status", 0}}),
                  launch(DIALOG_CLIENT_PATH, {{"client", "leaver"}, {"name", "alert_client"}}),
                  step("wait_ack"),
                  initStep("leaver", 3, 0),
                  step("wait_exit", {{"status", 0}}),
                  launch(ALERT_CLIENT_PATH, {{"client", "third"}}),
                  step("wait_ack"),
                  initStep("third", 0, 0),
                  step("notify", {{"notification", 2}, {"objId", 1}, {"sessions", 0}}),
                  callback("quit"),
                  step("wait_exit", {{"status", 0}})};
    Transcript run = runHost({{"documents", {kDocument}}, {"steps", steps}});
    ASSERT_EQ(run.status, 0) << run.text();
    EXPECT_TRUE(run.has({"kept client=leaver", "asked=2"})) << run.text();
    EXPECT_TRUE(run.has({"disconnect client=leaver"})) << run.text();
    EXPECT_TRUE(run.find({"kept client=third"}).empty()) << run.text();
}
#endif

TEST(OpenStep, LoadsOnceAndNotifyNeedsAnOpenDocument) {
    Transcript run = runHost({{"steps",
                               {step("open", {{"file", TNHOST_SAMPLE}}), step("open", {{"file", TNHOST_SAMPLE}}),
                                step("notify", {{"notification", 2}, {"doc", "nope.doc"}})}}});
    EXPECT_EQ(run.status, 1) << run.text();
    EXPECT_EQ(run.find({"open doc=1 name=\"sample.doc\""}).size(), 2u) << run.text();
    EXPECT_TRUE(run.has({"open doc=1", "already-open"})) << run.text();
    EXPECT_TRUE(run.has({"fail message=\"notify: no open document \\\"nope.doc\\\"\""})) << run.text();
}

// The demo script on the built programs (no set-up, no build); returns its
// exit status and fills `out` with what it printed.
int runDemo(const std::string &document, std::string &out) {
    setenv("TARNEL_DEMO_TNHOST", TNHOST_PATH, 1);
    setenv("TARNEL_DEMO_CLIENT", ALERT_CLIENT_PATH, 1);
    std::string command = std::string("bash ") + DEMO_SCRIPT + " " + document + " 2>&1";
    FILE *p = popen(command.c_str(), "r");
    if (!p) return -1;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, p)) > 0;) out.append(buffer, n);
    int st = pclose(p);
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

TEST(Demo, ShowsTheAlertOfTheSampleAndOfAnotherDocument) {
    std::string out;
    ASSERT_EQ(runDemo("", out), 0) << out;
    EXPECT_NE(out.find("kept client=second name=\"alert_client\" asked=2"), std::string::npos) << out;
    EXPECT_NE(out.find("\nALERT: Hello from the sample document.\ndemo: OK\n"), std::string::npos) << out;

    std::string file = testing::TempDir() + "demo_other.json";
    json doc = {
        {"name", "other.doc"},
        {"props", {{{"num", 110}, {"int", 1}}, {{"num", 116}, {"id", "a"}}}},
        {"objects",
         {{{"key", "a"}, {"props", {{{"num", 20}, {"string", "Alert"}}, {{"num", 1050}, {"string", "Say \"hi\""}}}}}}}};
    std::ofstream(file) << doc.dump();
    out.clear();
    ASSERT_EQ(runDemo(file, out), 0) << out;
    EXPECT_NE(out.find("\nALERT: Say \"hi\"\n"), std::string::npos) << out;

    // A broken document: the host's own words, not a guess about the alert.
    std::ofstream(file) << "{\"name\": ";
    out.clear();
    EXPECT_EQ(runDemo(file, out), 1) << out;
    EXPECT_NE(out.find("demo_other.json: line 1, column 10: the JSON text ends too soon"), std::string::npos) << out;
    EXPECT_EQ(out.find("no alert was shown"), std::string::npos) << out;

    // A document that does not qualify: the host's words, then what the document lacks.
    std::ofstream(file) << json{{"name", "plain.doc"}, {"props", {{{"num", 110}, {"int", 0}}}}}.dump();
    out.clear();
    EXPECT_EQ(runDemo(file, out), 1) << out;
    EXPECT_NE(out.find("no request 1008 of second within"), std::string::npos) << out;
    EXPECT_NE(out.find("demo: no alert was shown"), std::string::npos) << out;
}

}  // namespace
