// The library's default main and callbacks stand in separate archive members:
// a client that defines a callback gets its own, one that does not gets the
// library's silent default, and both still hand control back.
#include <gtest/gtest.h>

#include "host_launcher.h"

namespace tarnel_test {
namespace {

json messageAndDialog() {
    return {callback("message", {{"message", "hi"}, {"uint1", 1}, {"uint2", 2}}),
            callback("dialog_event", {{"int1", 4}, {"int2", 5}, {"int3", 6}}), callback("command", {{"command", 11}})};
}

Transcript runClient(const char *path) {
    json steps = {launch(path), step("wait_ack"), callback("init", {{"initialization", 0}})};
    for (const json &s : messageAndDialog()) steps.push_back(s);
    steps.push_back(callback("quit"));
    steps.push_back(step("wait_exit", {{"status", 0}}));
    return runHost({{"steps", steps}});
}

TEST(Defaults, ClientWithoutMessageCallbackGetsTheSilentDefault) {
    Transcript run = runClient(SESSION_MINIMAL_PATH);
    ASSERT_EQ(run.status, 0) << run.text();
    EXPECT_TRUE(run.has({"text=minimal init 0"})) << run.text();
    EXPECT_TRUE(run.has({"text=minimal command 11"})) << run.text();
    EXPECT_FALSE(run.has({"text=message"})) << run.text();
    EXPECT_FALSE(run.has({"text=dialog-event"})) << run.text();
    // init, message, dialog event and command each end with an over.
    EXPECT_EQ(run.find({"over client=c1"}).size(), 4u) << run.text();
}

TEST(Defaults, ClientDefinitionReplacesTheLibraryDefault) {
    Transcript run = runClient(SESSION_CLIENT_PATH);
    ASSERT_EQ(run.status, 0) << run.text();
    EXPECT_TRUE(run.has({"text=message [hi] 1 2"})) << run.text();
    EXPECT_TRUE(run.has({"text=dialog-event 4 5 6"})) << run.text();
    EXPECT_EQ(run.find({"over client=c1"}).size(), 4u) << run.text();
}

}  // namespace
}  // namespace tarnel_test
