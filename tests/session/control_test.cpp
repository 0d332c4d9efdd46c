// Hand-over of control: the over request and its value, T_ApiDoneCommand,
// T_ApiTakeControl, refused nested callbacks, and the dispatcher's replies to
// what it cannot serve.
#include <gtest/gtest.h>

#include "host_launcher.h"

namespace tarnel_test {
namespace {

TEST(Control, BailOutInInitSendsOverWith1AndEndsTheClient) {
    Transcript run = runHost(
        {{"steps", session(SESSION_CLIENT_PATH,
                           {callback("init", {{"initialization", 2}, {"over", 1}}), step("wait_exit", {{"status", 0}})},
                           {}, false)}});
    ASSERT_EQ(run.status, 0) << run.text();
    EXPECT_EQ(run.find({"over client=c1"}), std::vector<std::string>{"over client=c1 value=1 for=callback-1"})
        << run.text();
}

TEST(Control, DoneCommandTwiceGivesOneOverAndMinus1) {
    Transcript run =
        runHost({{"steps", session(SESSION_CLIENT_PATH, {callback("init", {{"initialization", 3}, {"over", 0}}),
                                                         callback("command", {{"command", 9}})})}});
    ASSERT_EQ(run.status, 0) << run.text();  // a second over would have no callback to close
    EXPECT_TRUE(run.has({"text=\"done=0 again=-1"})) << run.text();
    EXPECT_EQ(run.find({"over client=c1"}).size(), 2u) << run.text();
}

TEST(Control, TakeControlInsideACallbackAfterHandingBack) {
    Transcript run =
        runHost({{"steps", session(SESSION_CLIENT_PATH, {callback("init", {{"initialization", 5}}),
                                                         step("wait_request", {{"proc", 1002}, {"count", 2}})})}});
    ASSERT_EQ(run.status, 0) << run.text();
    EXPECT_TRUE(run.has({"text=\"take-held=-1 done=0 take=0"})) << run.text();
    int handBack = run.indexOf("over client=c1 value=0 for=callback-1");
    int take = run.indexOf("take-control client=c1");
    int release = run.indexOf("over client=c1 value=0 for=take-control");
    EXPECT_TRUE(handBack >= 0 && handBack < take && take < release) << run.text();
}

TEST(Control, CallbackWhileClientHoldsControlIsRefusedWithoutOver) {
    Transcript run = runHost(
        {{"steps",
          session(SESSION_DRIVER_PATH,
                  {step("wait_request", {{"proc", 1343}}), callback("init", {{"initialization", 1}, {"over", false}}),
                   step("wait_request", {{"proc", 1002}, {"timeout_ms", 5000}}), callback("command", {{"command", 4}})},
                  {{"args", {"take"}}})}});
    ASSERT_EQ(run.status, 0) << run.text();
    EXPECT_TRUE(run.has({"stderr client=c1 text=\"Tarnel API client \\\"session_driver\\\": Nested "
                         "API_Init/T_ApiNotify/T_ApiMessage/T_ApiCommand."}))
        << run.text();
    EXPECT_FALSE(run.has({"text=\"init 1"})) << run.text();
    // The only over before the command is the one ending take-control.
    EXPECT_EQ(run.find({"over client=c1"}), (std::vector<std::string>{"over client=c1 value=0 for=take-control",
                                                                      "over client=c1 value=0 for=callback-2"}))
        << run.text();
    EXPECT_TRUE(run.has({"text=\"take=0"}) && run.has({"text=\"done=0"})) << run.text();
}

TEST(Control, DispatcherRepliesToWhatItCannotServe) {
    Transcript run =
        runHost({{"steps", session(SESSION_CLIENT_PATH,
                                   {callback("null"),
                                    {{"do", "callback"}, {"proc", 8}},
                                    callback("init", {{"garbage", true}}),
                                    callback("old_notify", {{"notification", 2}, {"text", "x"}}),
                                    callback("message", {{"message", "hello"}, {"uint1", 1}, {"uint2", 2}}),
                                    callback("notify", {{"notification", 2}, {"objId", 17}, {"number", 5}})})}});
    ASSERT_EQ(run.status, 0) << run.text();
    EXPECT_TRUE(run.has({"proc=0 name=null -> ok"})) << run.text();
    EXPECT_TRUE(run.has({"proc=8 name=unknown -> proc_unavail"})) << run.text();
    EXPECT_TRUE(run.has({"proc=2 name=init", "garbage -> garbage_args"})) << run.text();
    EXPECT_TRUE(run.has({"proc=5 name=old_notify", "-> no-reply"})) << run.text();
    EXPECT_TRUE(run.has({"stderr client=c1 text=\"Tarnel API client \\\"session_client\\\": Tarnel "
                         "process sent old-style notification."}))
        << run.text();
    // None of them ran a callback or asked for an over; the later ones still work.
    EXPECT_EQ(run.find({"over client=c1"}).size(), 2u) << run.text();
    EXPECT_TRUE(run.has({"text=\"message [hello] 1 2"})) << run.text();
    EXPECT_TRUE(run.has({"text=\"notify 2 17 [] 5"})) << run.text();
    EXPECT_FALSE(run.has({"text=\"init"})) << run.text();
}

TEST(Control, DescriptorChangesAreReported) {
    Transcript run = runHost({{"steps", session(SESSION_DRIVER_PATH,
                                                {callback("init", {{"initialization", 1}}), step("close_callback"),
                                                 step("serve", {{"ms", 300}}), callback("command", {{"command", 1}})},
                                                {{"args", {"fds"}}})}});
    ASSERT_EQ(run.status, 0) << run.text();
    // Installed after start-up: the listening socket is reported at once.
    int installing = run.indexOf("text=\"installing");
    int previous = run.indexOf("text=\"previous=none");
    ASSERT_GE(installing, 0) << run.text();
    ASSERT_GT(previous, installing + 1) << run.text();
    std::vector<std::string> added = run.find({"stdout client=c1 text=\"fd ", " added"});
    std::vector<std::string> removed = run.find({"stdout client=c1 text=\"fd ", " removed"});
    // Listening socket, first callback connection, and the one after it closed.
    EXPECT_EQ(added.size(), 3u) << run.text();
    ASSERT_EQ(removed.size(), 1u) << run.text();
    std::string fd = removed[0].substr(0, removed[0].size() - std::string(" removed\"").size());
    EXPECT_TRUE(run.has({fd + " added"})) << run.text();
}

}  // namespace
}  // namespace tarnel_test
