// The calling convention through a few property calls: what travels, what a
// refusal and a lost host leave behind.
#include <gtest/gtest.h>

#include <tarnel/tnapi.h>

#include "harness.h"

namespace requests_test {
namespace {

TEST(Convention, GetIntSendsTheRecordAndReportsRefusalAndLoss) {
    ServedHost host(json::array({{{"proc", 1064}, {"status", -3}, {"times", 1}}}));
    ASSERT_TRUE(host.ready()) << host.text();

    TA_errno = 0;
    EXPECT_EQ(T_ApiGetInt(7, 9, 110), 0);
    EXPECT_EQ(TA_errno, -3);
    ApiTnGetPropArgT expected = {7, 9, {110, nullptr}};
    EXPECT_EQ(host.argsOf(1064), hexOf(xdr_ApiTnGetPropArgT, expected));

    host.vanish();
    TA_errno = 0;
    EXPECT_EQ(T_ApiGetInt(7, 9, 110), 0);
    EXPECT_EQ(TA_errno, -1);
    EXPECT_EQ(T_ApiGetString(7, 9, 20), nullptr);
    T_StringsT none = T_ApiGetStrings(7, 9, 20);
    EXPECT_EQ(none.count, 0u);
    EXPECT_EQ(none.items, nullptr);
}

} // namespace
} // namespace requests_test
