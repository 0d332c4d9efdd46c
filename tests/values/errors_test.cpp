// The texts of the TA_errno codes.
#include <climits>
#include <set>
#include <string>

#include <gtest/gtest.h>
#include <tarnel/tnapi_errors.h>

TEST(ErrorText, EveryNamedCodeHasItsOwnText) {
    const int codes[] = {TA_ERR_NONE,           TA_ERR_NO_REPLY,       TA_ERR_BIT_NOT_IN_STATUS,
                         TA_ERR_NO_STATUS_PROP, TA_ERR_CONNECT_FAILED, TA_ERR_SERVICE_UNREACHABLE,
                         TA_ERR_SETUP_FAILED};
    std::set<std::string> texts;
    for (int code : codes) {
        const char *text = T_ApiErrorText(code);
        ASSERT_NE(text, nullptr) << code;
        EXPECT_NE(std::string(text), "") << code;
        EXPECT_NE(std::string(text).rfind("the host refused", 0), 0u) << code;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), std::size(codes));
}

TEST(ErrorText, AHostStatusShowsItsNumber) {
    for (int code : {5, -2, INT_MIN, INT_MAX})
        EXPECT_EQ(T_ApiErrorText(code), "the host refused the request (status " + std::to_string(code) + ")");
}
