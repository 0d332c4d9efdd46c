// Start-up of a launched client: diagnostics, the launch fork, the name
// field, and descriptors beyond the first 32.
#include <gtest/gtest.h>

#include "host_launcher.h"

namespace tarnel_test {
namespace {

const std::string kNotCalled =
    "stderr client=c1 text=\"Tarnel API client \\\"???\\\": not called by a Tarnel product.\"";

TEST(StartUp, BrokenOrMissingTnapixIsDiagnosedWithExitStatus1) {
    for (json tnapix : {json("missing"), json{{"raw", "1.1 2.1 3.4"}}, json{{"raw", "1.1 2.1 x.4.name"}}}) {
        Transcript run = runHost(
            {{"steps", {launch(SESSION_CLIENT_PATH, {{"tnapix", tnapix}}), step("wait_exit", {{"status", 1}})}}});
        EXPECT_EQ(run.status, 0) << tnapix << "\n" << run.text();
        EXPECT_EQ(run.find({"stderr client=c1"}), std::vector<std::string>{kNotCalled}) << run.text();
        EXPECT_FALSE(run.has({"request "})) << run.text();
    }
}

// Number 3: the launcher forks and its child acknowledges; -2: the client
// itself, with the complement 1 (the pid check of the acknowledgement passed).
TEST(StartUp, ClientAcknowledgesForkedOrNot) {
    for (int number : {3, -2}) {
        const bool forks = number > 0;
        json steps = session(SESSION_CLIENT_PATH, {callback("init", {{"initialization", 1}, {"over", 0}})},
                             {{"number", number}});
        if (forks) steps.insert(steps.begin() + 1, step("wait_exit", {{"role", "launcher"}, {"status", 0}}));
        Transcript run = runHost({{"steps", steps}});
        ASSERT_EQ(run.status, 0) << run.text();
        EXPECT_TRUE(run.has({"stdout client=c1 text=\"init 1 clientno=" + std::to_string(forks ? 3 : 1)}))
            << run.text();
        EXPECT_EQ(run.find({"exit client=c1", "status=0"}).size(), forks ? 2u : 1u) << run.text();
        EXPECT_FALSE(run.has({"mismatch"})) << run.text();
    }
}

TEST(StartUp, OverlongNameIsCutNotOverrun) {
    std::string name(300, 'n');
    name.replace(250, 10, "0123456789");
    Transcript run =
        runHost({{"requests", {{{"proc", 1000}, {"drop", true}}}},
                 {"steps", {launch(SESSION_CLIENT_PATH, {{"name", name}}), step("wait_exit", {{"status", 1}})}}});
    ASSERT_EQ(run.status, 0) << run.text();
    std::string expected = "stderr client=c1 text=\"Tarnel API client \\\"" + name.substr(0, 255) +
                           "\\\": unable to make initial contact.\"";
    EXPECT_EQ(run.find({"stderr client=c1"}), std::vector<std::string>{expected}) << run.text();
}

TEST(StartUp, ClientWithDescriptorsAbove31IsStillServed) {
    Transcript run = runHost(
        {{"steps", session(SESSION_DRIVER_PATH, {callback("init", {{"initialization", 1}, {"over_timeout_ms", 5000}})},
                           {{"args", {"highfd"}}})}});
    EXPECT_EQ(run.status, 0) << run.text();
    EXPECT_TRUE(run.has({"over client=c1 value=0 for=callback-1"})) << run.text();
}

}  // namespace
}  // namespace tarnel_test
