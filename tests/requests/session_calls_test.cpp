// Session and client calls, notifications and function codes; leaving the
// session with and without a host.
#include <unistd.h>

#include <climits>

#include "call_table.h"

namespace requests_test {
namespace {

std::string workingDirectory() {
    char dir[PATH_MAX];
    return getcwd(dir, sizeof dir) != nullptr ? dir : "";
}

TEST(SessionCalls, EveryFunction) {
    static int codes[] = {3, 1, 4};
    const std::string cwd = "\"" + workingDirectory() + "\"";
    // The host serves this process as a client it never launched: it has no
    // number and an empty name, and works in the host's directory.
    runCalls({
        {"T_ApiClientNumber", 1340, [] { return shown(T_ApiClientNumber()); }, "", "-1", shown(kRefusal), false, "-1"},
        {"T_ApiClientName", 1341, [] { return shown(T_ApiClientName()); }, "", "\"\"", "\"\"", false, "null"},
        {"T_ApiClientDir", 1342, [] { return shown(T_ApiClientDir()); }, "", cwd, cwd, false, "null"},
        {"T_ApiSetClientDir", 1344, [] { return shown(T_ApiSetClientDir(S("/tmp"))); }, sent(xdr_StringT, S("/tmp")),
         "0", shown(kRefusal), false, "-1"},
        // Shown end to end, where another client can be called.
        GET(T_ApiCallClient, 1016, (S("peer"), S("hi")), "", "0", xdr_ApiTnCallClientArgT, S("peer"), S("hi")),
        {"T_ApiReturnValue", 1375, [] { return shown(T_ApiReturnValue(12)); }, sent(xdr_int, 12), "0", shown(kRefusal),
         false, "0"},
        {"T_ApiNotification", 1015, [] { return shown(T_ApiNotification(2, 1)); },
         sent(xdr_ApiTnNotificationArgT, {2, 1}), "0", shown(kRefusal), true, "-1"},
        {"T_ApiFcodes", 1014, [] { return shown(T_ApiFcodes(3, codes)); }, sent(xdr_ApiTnFcodesArgT, {{3, codes}}), "0",
         shown(kRefusal), true, "-1"},
        {"T_ApiHypertextCommand", 1310, [] { return shown(T_ApiHypertextCommand(5, S("gotolink intro"))); },
         sent(xdr_ApiTnHypertextCommandArgT, {5, S("gotolink intro")}), "0", shown(kRefusal), true, "-1"},
    });
}

// A length that cannot describe an array never reaches the host; an empty
// list does.
TEST(SessionCalls, FcodesSendsOnlyWhatItCanDescribe) {
    ServedHost host;
    ASSERT_TRUE(host.ready()) << host.text();
    int code = 1;
    TA_errno = 0;
    EXPECT_EQ(T_ApiFcodes(-1, &code), -1);
    EXPECT_EQ(TA_errno, -1);
    TA_errno = 0;
    EXPECT_EQ(T_ApiFcodes(2, nullptr), -1);
    EXPECT_EQ(TA_errno, -1);
    TA_errno = 0;
    EXPECT_EQ(T_ApiFcodes(0, nullptr), 0);
    EXPECT_EQ(TA_errno, 0);
    EXPECT_EQ(host.argsOf(1014), sent(xdr_ApiTnFcodesArgT, {{0, nullptr}}));
    int sentCount = 0;
    for (const std::string &l : host.lines()) sentCount += l.find(" proc=1014 ") != std::string::npos;
    EXPECT_EQ(sentCount, 1) << host.text();
}

// Leaving the session tears the connection down whatever the host answers.
TEST(SessionCalls, DisconnectEndsTheSessionEvenWithoutAHost) {
    for (bool gone : {false, true}) {
        SCOPED_TRACE(gone ? "host gone" : "host answers");
        ServedHost host(json::array({{{"proc", 1376}, {"status", 6}}}));
        ASSERT_TRUE(host.ready()) << host.text();
        if (gone) host.vanish();
        TA_errno = kUntouched;
        TA_bailout = 0;
        EXPECT_EQ(T_ApiDisconnectFromSession(), gone ? -1 : 6);
        EXPECT_EQ(TA_errno, gone ? -1 : kUntouched);
        EXPECT_EQ(TA_bailout, 1);
        EXPECT_EQ(tarnel_client, nullptr);
        if (!gone) { EXPECT_NE(host.lineOf(1376), ""); }
        TA_bailout = 0;
    }
}

}  // namespace
}  // namespace requests_test
