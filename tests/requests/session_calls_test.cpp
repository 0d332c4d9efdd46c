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
        NOARG(T_ApiClientNumber, 1340, "-1", kRefused, false, "-1"),
        NOARG(T_ApiClientName, 1341, "\"\"", "\"\"", false, "null"),
        NOARG(T_ApiClientDir, 1342, cwd, cwd, false, "null"),
        ROW(T_ApiSetClientDir, 1344, (S("/tmp")), "0", kRefused, false, "-1", xdr_StringT, S("/tmp")),
        // Shown end to end, where another client can be called.
        GET(T_ApiCallClient, 1016, (S("peer"), S("hi")), "", "0", xdr_ApiTnCallClientArgT, S("peer"), S("hi")),
        ROW(T_ApiReturnValue, 1375, (12), "0", kRefused, false, "0", xdr_int, 12),
        ROW(T_ApiNotification, 1015, (2, 1), "0", kRefused, true, "-1", xdr_ApiTnNotificationArgT, 2, 1),
        ROW(T_ApiFcodes, 1014, (3, codes), "0", kRefused, true, "-1", xdr_ApiTnFcodesArgT, {3, codes}),
        ROW(T_ApiHypertextCommand, 1310, (5, S("gotolink intro")), "0", kRefused, true, "-1",
            xdr_ApiTnHypertextCommandArgT, 5, S("gotolink intro")),
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
