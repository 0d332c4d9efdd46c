// The texts of the TA_errno codes.
#include <climits>
#include <set>
#include <string>

#include <gtest/gtest.h>
#include <tarnel/tnapi_errors.h>
#include <tarnel/tnapi_status.h>

TEST(ErrorText, EveryNamedCodeHasItsOwnText) {
    const int codes[] = {TA_ERR_NONE,           TA_ERR_NO_REPLY,       TA_ERR_BIT_NOT_IN_STATUS,
                         TA_ERR_NO_STATUS_PROP, TA_ERR_CONNECT_FAILED, TA_ERR_SERVICE_UNREACHABLE,
                         TA_ERR_SETUP_FAILED,   TA_ERR_NOT_PIPELINABLE};
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

TEST(ErrorText, AHostStatusShowsItsNameWhenTheSimulatedHostHasOne) {
    const struct {
        int code;
        const char *text;
    } cases[] = {
        {TA_HOST_NO_PROPERTY, "the host refused the request: no such property (status -3)"},
        {TA_HOST_CANCELLED, "the host refused the request: the user cancelled (status -30)"},
        {5, "the host refused the request (status 5)"},
        {-15, "the host refused the request (status -15)"},
        {INT_MIN, "the host refused the request (status -2147483648)"},
        {INT_MAX, "the host refused the request (status 2147483647)"},
    };
    for (const auto &c : cases) EXPECT_STREQ(T_ApiErrorText(c.code), c.text) << c.code;
}

// Every status of the simulated host has a name of its own, none the text
// of another code.
TEST(ErrorText, EveryHostStatusIsNamed) {
    const int codes[] = {TA_HOST_NO_OBJECT,    TA_HOST_NO_PROPERTY, TA_HOST_WRONG_KIND,      TA_HOST_OUT_OF_BOUNDS,
                         TA_HOST_NOT_FOUND,    TA_HOST_FILE_FAILED, TA_HOST_EMPTY_CLIPBOARD, TA_HOST_WRONG_TYPE,
                         TA_HOST_BAD_ARGUMENT, TA_HOST_MODIFIED,    TA_HOST_CANCELLED};
    std::set<std::string> texts;
    for (int code : codes) {
        const std::string text = T_ApiErrorText(code);
        EXPECT_EQ(text.rfind("the host refused the request: ", 0), 0u) << code;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), std::size(codes));
}
