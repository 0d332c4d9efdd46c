// The library's default main and callbacks stand in separate archive members:
// a client that defines a callback gets its own, one that does not gets the
// library's silent default, and both still hand control back.
#include <gtest/gtest.h>

#include "host_launcher.h"

namespace tarnel_test {
namespace {

// Per client: what its own callbacks printed, and what must not show.
TEST(Defaults, ClientDefinitionsReplaceTheLibraryDefaults) {
    struct Case {
        const char *path;
        std::vector<std::string> shown, silent;
    } cases[] = {
        {SESSION_MINIMAL_PATH,
         {"text=\"minimal init 0", "text=\"minimal command 11"},
         {"text=\"message", "text=\"dialog-event"}},
        {SESSION_CLIENT_PATH, {"text=\"message [hi] 1 2", "text=\"dialog-event 4 5 6"}, {}},
    };
    for (const Case &c : cases) {
        Transcript run =
            runHost({{"steps", session(c.path, {callback("init", {{"initialization", 0}}),
                                                callback("message", {{"message", "hi"}, {"uint1", 1}, {"uint2", 2}}),
                                                callback("dialog_event", {{"int1", 4}, {"int2", 5}, {"int3", 6}}),
                                                callback("command", {{"command", 11}})})}});
        ASSERT_EQ(run.status, 0) << run.text();
        for (const std::string &line : c.shown) EXPECT_TRUE(run.has({line})) << run.text();
        for (const std::string &line : c.silent) EXPECT_FALSE(run.has({line})) << run.text();
        // init, message, dialog event and command each end with an over.
        EXPECT_EQ(run.find({"over client=c1"}).size(), 4u) << run.text();
    }
}

}  // namespace
}  // namespace tarnel_test
