// Attaching through the connection service, and each way it can fail.
#include <gtest/gtest.h>

#include "host_launcher.h"

namespace tarnel_test {
namespace {

json attacher() { return launch(SESSION_DRIVER_PATH, {{"tnapix", "missing"}, {"args", {"attach", "{connect_prog}"}}}); }

TEST(Attach, AcceptedClientIsServedLikeALaunchedOne) {
    Transcript run =
        runHost({{"steps",
                  {attacher(), step("wait_attach"), step("wait_ack"), callback("init", {{"initialization", 1}}),
                   callback("quit"), step("wait_exit", {{"status", 0}})}}});
    ASSERT_EQ(run.status, 0) << run.text();
    EXPECT_TRUE(run.has({"attach proc=0 -> reply"})) << run.text();
    EXPECT_TRUE(run.has({"attach proc=108", "string=\"session-driver\"", "-> status=0 client=c1"})) << run.text();
    EXPECT_TRUE(run.has({"text=\"connect=0 errno=0"})) << run.text();
    EXPECT_TRUE(run.has({"over client=c1 value=0 for=callback-1"})) << run.text();
}

struct Failure {
    const char *what;
    json service;
    int code;
};

TEST(Attach, FailuresReportTheirCodes) {
    const Failure cases[] = {
        {"refused", {{"status", -5}}, -5},
        {"no service", {{"run", false}}, -20},
        {"second call fails", {{"answer_108", false}}, -7},
        // Accepted, but the API program it names is registered nowhere.
        {"hookup fails", {{"hostProg", 0x3FFFFFF0}}, -22},
    };
    for (const Failure &f : cases) {
        Transcript run =
            runHost({{"connect_service", f.service}, {"steps", {attacher(), step("wait_exit", {{"status", 3}})}}});
        std::string expected =
            "stdout client=c1 text=\"connect=" + std::to_string(f.code) + " errno=" + std::to_string(f.code);
        EXPECT_EQ(run.status, 0) << f.what << "\n" << run.text();
        EXPECT_TRUE(run.has({expected})) << f.what << "\n" << run.text();
        EXPECT_FALSE(run.has({"proc=1000"})) << f.what << "\n" << run.text();
    }
}

}  // namespace
}  // namespace tarnel_test
