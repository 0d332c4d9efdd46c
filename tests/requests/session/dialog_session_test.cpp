// Modal dialogs and leaving the session, run by a real client under the
// simulated host: callbacks are served inside the modal call.
#include <gtest/gtest.h>

#include "host_launcher.h"

namespace tarnel_test {
namespace {

json run(json rules, int initialization, json initExtra = json::object()) {
    json init = {{"initialization", initialization}};
    init.update(initExtra);
    return {{"requests", rules},
            {"steps",
             {launch(DIALOG_CLIENT_PATH), step("wait_ack"), callback("init", init), callback("quit"),
              step("wait_exit", {{"status", 0}})}}};
}

TEST(ModalDialogRequest, ServesCallbacksUntilTheHostEndsTheDialog) {
    // The host's answer is no status: a non-zero one is waited past too.
    json rule = {
        {"proc", 1316},
        {"status", 5},
        {"then",
         {{{"proc", "command"}, {"command", 5}}, {{"proc", "dialog_event"}, {"int1", 4}, {"int2", 1}, {"int3", 2}}}},
        {"modal_result", 42}};
    Transcript r = runHost(run(json::array({rule}), 1, {{"over", 0}}));
    ASSERT_EQ(r.status, 0) << r.text();
    EXPECT_TRUE(r.has({"proc=1316", "dialogNum=3 dialogId=77"})) << r.text();
    const int command = r.indexOf("text=\"command 5");
    const int event = r.indexOf("text=\"dialog-event 4 1 2");
    const int result = r.indexOf("text=\"modal=42 errno=0");
    EXPECT_TRUE(command >= 0 && command < event && event < result) << r.text();
    // Each callback of the wait hands control back, the init's own last.
    const auto overs = r.find({"over client=c1"});
    ASSERT_EQ(overs.size(), 4u) << r.text();
    EXPECT_NE(overs.back().find("value=0 for=callback-1"), std::string::npos) << r.text();
}

// The host's answer comes back as the result and leaves TA_errno; the session ends anyway.
TEST(DisconnectRequest, HandsBackControlAndEndsTheClient) {
    json scenario = {{"requests", {{{"proc", 1376}, {"status", 6}}}},
                     {"steps",
                      {launch(DIALOG_CLIENT_PATH), step("wait_ack"),
                       callback("init", {{"initialization", 3}, {"over", 0}}), step("wait_exit", {{"status", 0}})}}};
    Transcript r = runHost(scenario);
    ASSERT_EQ(r.status, 0) << r.text();
    EXPECT_TRUE(r.has({"text=\"disconnect=6 bailout=1 connected=0 errno=0"})) << r.text();
    // One over only: the handler sends none after the client's own.
    EXPECT_EQ(r.find({"over client=c1"}).size(), 1u) << r.text();
}

// Another client is called by name: the host hands it the text as a message.
TEST(CallClientRequest, ReachesTheNamedClient) {
    json scenario = {
        {"steps",
         {launch(SESSION_CLIENT_PATH, {{"client", "p"}, {"name", "peer"}}), step("wait_ack"),
          launch(DIALOG_CLIENT_PATH, {{"client", "a"}, {"name", "asker"}}), step("wait_ack"),
          callback("init", {{"client", "a"}, {"initialization", 4}}),
          step("wait_output", {{"client", "p"}, {"stream", "stdout"}, {"text", "message [hello] 0 0"}}),
          callback("quit", {{"client", "a"}}), callback("quit", {{"client", "p"}}),
          step("wait_exit", {{"client", "a"}, {"status", 0}}), step("wait_exit", {{"client", "p"}, {"status", 0}})}}};
    Transcript r = runHost(scenario);
    ASSERT_EQ(r.status, 0) << r.text();
    EXPECT_TRUE(r.has({"client=a text=\"number=-1 name=asker called=yes errno=0"})) << r.text();
}

}  // namespace
}  // namespace tarnel_test
