// Modal waits: completion by dialog event 0, nesting, a completion that
// comes without a wait, and quit during a wait.
#include <gtest/gtest.h>

#include "host_launcher.h"

namespace tarnel_test {
namespace {

TEST(Modal, CompletionReturnsInt3WithoutDialogEvent) {
    Transcript run =
        runHost({{"requests", {{{"proc", 1316}, {"status", 0}, {"modal_result", 42}}}},
                 {"steps", session(SESSION_CLIENT_PATH, {callback("init", {{"initialization", 4}, {"over", 0}})})}});
    ASSERT_EQ(run.status, 0) << run.text();
    EXPECT_TRUE(run.has({"proc=1316 stub=api_tn_modal_dialog_1 dialogNum=1", "-> reply status=0"})) << run.text();
    EXPECT_TRUE(run.has({"text=\"modal=42"})) << run.text();
    EXPECT_FALSE(run.has({"text=\"dialog-event"})) << run.text();
    // The completion is a callback of its own with its own over, inside init's.
    EXPECT_EQ(run.find({"over client=c1"}), (std::vector<std::string>{"over client=c1 value=0 for=callback-2",
                                                                      "over client=c1 value=0 for=callback-1"}))
        << run.text();
}

TEST(Modal, NestedWaitsEndInnermostFirst) {
    json outer = {
        {"proc", 1316},
        {"times", 1},
        {"then", {{{"proc", "command"}, {"command", 7}}, {{"proc", "dialog_event"}, {"int1", 0}, {"int3", 1}}}}};
    json inner = {{"proc", 1316}, {"times", 1}, {"modal_result", 2}};
    Transcript run = runHost({{"requests", {outer, inner}},
                              {"steps", session(SESSION_CLIENT_PATH, {callback("init", {{"initialization", 4}})})}});
    ASSERT_EQ(run.status, 0) << run.text();
    int innerDone = run.indexOf("text=\"inner-modal=2");
    int outerDone = run.indexOf("text=\"modal=1");
    EXPECT_TRUE(innerDone >= 0 && innerDone < outerDone) << run.text();
}

TEST(Modal, CompletionWithoutWaitIsCountedForTheNextWait) {
    Transcript run =
        runHost({{"requests", {{{"proc", 1316}, {"modal_result", 9}}}},
                 {"steps", session(SESSION_CLIENT_PATH, {callback("dialog_event", {{"int1", 0}, {"int3", 7}}),
                                                         callback("init", {{"initialization", 4}})})}});
    ASSERT_EQ(run.status, 0) << run.text();
    EXPECT_TRUE(run.has({"text=\"modal=9"})) << run.text();
    EXPECT_FALSE(run.has({"text=\"dialog-event"})) << run.text();
}

TEST(Modal, QuitDuringWaitWaitsForCompletionThenEnds) {
    json rule = {{"proc", 1316}, {"then", {{{"proc", "quit"}}, {{"proc", "dialog_event"}, {"int1", 0}, {"int3", 5}}}}};
    Transcript run = runHost(
        {{"requests", {rule}},
         {"steps", session(SESSION_CLIENT_PATH,
                           {callback("init", {{"initialization", 4}, {"over", 1}}), step("wait_exit", {{"status", 0}})},
                           {}, false)}});
    ASSERT_EQ(run.status, 0) << run.text();
    int quit = run.indexOf("name=quit -> ok");
    int result = run.indexOf("text=\"modal=5");
    EXPECT_TRUE(quit >= 0 && result >= 0) << run.text();
    EXPECT_TRUE(run.has({"over client=c1 value=1 for=callback-1"})) << run.text();
}

}  // namespace
}  // namespace tarnel_test
