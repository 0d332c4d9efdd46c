// A filter notification (75) reaches the client's notify callback with its
// byte-30-separated text split into the argument record; other notifications
// keep their text.
#include <gtest/gtest.h>

#include "host_launcher.h"

namespace tarnel_test {
namespace {

TEST(Filter, NotificationSeventyFiveArrivesSplit) {
    std::string text = "in.doc\x1eout.txt\x1e\x1e"
                       "4\x1e"
                       "5\x1e"
                       "6\x1eseventh";
    Transcript run = runHost(
        {{"steps", session(SESSION_CLIENT_PATH,
                           {callback("notify", {{"notification", 75}, {"objId", 9}, {"text", text}, {"number", 3}}),
                            callback("notify", {{"notification", 76},
                                                {"objId", 9},
                                                {"text", "a\x1e"
                                                         "b"}})})}});
    ASSERT_EQ(run.status, 0) << run.text();
    EXPECT_TRUE(run.has({"text=\"filter 9 [in.doc] [out.txt] [] extra=1 [seventh] 3"})) << run.text();
    EXPECT_TRUE(run.has({"text=\"notify 76 9 [a\\x1Eb] 0\""})) << run.text();
}

}  // namespace
}  // namespace tarnel_test
