// A client written as a class under the simulated host: every callback
// reaches its override, and an exception ends only the callback it left.
#include <gtest/gtest.h>

#include "host_launcher.h"

namespace tarnel_test {
namespace {

TEST(ClassClient, EveryCallbackReachesItsOverride) {
    Transcript run = runHost(
        {{"steps",
          {launch(CPP_CLASS_CLIENT_PATH), step("wait_ack"), callback("init", {{"initialization", 4}}),
           callback("notify", {{"notification", 2}, {"objId", 17}, {"text", "doc"}, {"number", 5}}),
           callback("notify", {{"notification", 75}, {"objId", 9}, {"text", "in.doc\x1eout.txt"}, {"number", 3}}),
           callback("command", {{"command", 13}}), callback("command", {{"command", 7}}),
           callback("message", {{"message", "hello"}, {"uint1", 1}, {"uint2", 2}}),
           callback("dialog_event", {{"int1", 3}, {"int2", 4}, {"int3", 5}}), callback("quit"),
           step("wait_exit", {{"status", 0}})}}});
    ASSERT_EQ(run.status, 0) << run.text();
    for (const char *line : {"text=init 4", "text=notify 2 17 [doc] 5", "text=filter 9 [in.doc] [out.txt] 3",
                             "a callback ended by unlucky command", "text=command 7 client=", "text=message [hello] 1 2",
                             "text=dialog 3 4 5"})
        EXPECT_TRUE(run.has({line})) << line << "\n" << run.text();
}

}  // namespace
}  // namespace tarnel_test
