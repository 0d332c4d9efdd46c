// A host that vanishes: the idle client notices at its next 22-second check,
// runs T_ApiEmergency and ends with status 1.
#include <gtest/gtest.h>

#include "host_launcher.h"

namespace tarnel_test {
namespace {

TEST(VanishedHost, ClientRunsEmergencyAndExits1) {
    Transcript run = runHost({{"steps",
                               {launch(SESSION_CLIENT_PATH, {{"host_pid", "decoy"}}), step("wait_ack"),
                                callback("init", {{"initialization", 1}}), step("vanish"),
                                step("wait_exit", {{"status", 1}, {"timeout_ms", 40000}})}}},
                             60);
    ASSERT_EQ(run.status, 0) << run.text();
    int marker = run.indexOf("stdout client=c1 text=\"EMERGENCY");
    int vanish = run.indexOf("vanish client=c1");
    EXPECT_GT(marker, vanish) << run.text();
    EXPECT_TRUE(run.has({"exit client=c1 role=client", "status=1"})) << run.text();
}

}  // namespace
}  // namespace tarnel_test
