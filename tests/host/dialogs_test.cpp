// Alerts, prompts answered from the scenario, dialog resources and the host
// services that must never run what a client sends.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <string>

#include "host_calls.h"

namespace host_test {
namespace {

using HostDialogs = HostTest;

// What the scenario's answers mean; each prompt's accepted answer is in the
// request tests.
TEST(HostPrompts, TakeTheScenariosAnswersInOrder) {
    ServedHost h({}, json{{"answers",
                           {{"1010", {{{"status", 0}, {"text", "hello"}}, {{"status", 0}}}},
                            {"1009", {{"status", 0}}},
                            {"1013", {{"status", 0}, {"value", 5}}},
                            {"1028", {{"status", 0}}},
                            {"1017", {{"status", 0}}},
                            {"1305", {{"status", -7}}}}}});
    CLIENT *c = h.client();
    ASSERT_TRUE(c);
    auto promptString = [&]() {
        auto r = call(c, api_tn_prompt_string_1, xdr_ApiTnPromptStringRetT, ApiTnPromptArgT{S("Name?"), S("default")});
        return r->status ? std::to_string(r->status) : std::string(r->text);
    };
    // The last answer keeps answering: status 0 alone accepts the default.
    EXPECT_EQ(promptString(), "hello");
    EXPECT_EQ(promptString(), "default");
    EXPECT_EQ(promptString(), "default");
    auto i = call(c, api_tn_prompt_int_1, xdr_ApiTnPromptIntRetT, ApiTnPromptArgT{S("N?"), S("12")});
    EXPECT_EQ(i->value, 12);
    EXPECT_EQ(call(c, api_tn_prompt_int_1, xdr_ApiTnPromptIntRetT, ApiTnPromptArgT{S("N?"), S("1x")})->status, -13);
    auto chosen = call(c, api_tn_choose_file_1, xdr_ApiTnChooseFileRetT,
                       ApiTnChooseFileArgT{S("Open"), S("/tmp"), S("a.doc"), 0, S("*.doc")});
    EXPECT_STREQ(chosen->text, "/tmp/a.doc");
    StringT items[] = {S("a"), S("b"), S("c")};
    EXPECT_EQ(
        call(c, api_tn_quick_select_1, xdr_ApiTnQuickSelectRetT, ApiTnQuickSelectArgT{1, S("Pick"), {3, items}})->value,
        0);
    EXPECT_EQ(
        call(c, api_tn_scroll_box_1, xdr_ApiTnScrollBoxRetT, ApiTnScrollBoxArgT{S("Pick"), 1, {3, items}})->status,
        -13);  // no item 5
    EXPECT_EQ(call(c, api_tn_prompt_rect_1, xdr_ApiTnPromptRectRetT, ApiTnPromptRectArgT{1, 2, 0})->status, -7);
    // Without an answer the user cancels.
    EXPECT_EQ(call(c, old_api_tn_choose_file_1, xdr_ApiTnChooseFileRetT,
                   oldApiTnChooseFileArgT{S("Open"), S("/tmp"), S("a.doc"), 0})
                  ->status,
              -30);
}

TEST_F(HostDialogs, ResourcesAndDialogs) {
    auto open = [&](int type, const char *name) {
        auto r = call(c, api_tn_open_resource_1, xdr_ApiTnObjRetT, ApiTnOpenResourceArgT{type, S(name)});
        return r->status ? static_cast<u_int>(r->status) : r->objId;
    };
    u_int find = open(1, "Find");
    EXPECT_EQ(open(1, "Find"), find);
    EXPECT_NE(open(2, "Find"), find);
    EXPECT_EQ(open(1, ""), static_cast<u_int>(-13));

    auto item = [&](u_int dialog, int n) {
        auto r = call(c, api_tn_dialog_item_id_1, xdr_ApiTnObjRetT, ApiTnDialogItemIdArgT{dialog, n});
        return r->status ? static_cast<u_int>(r->status) : r->objId;
    };
    u_int three = item(find, 3);
    EXPECT_EQ(item(find, 3), three);
    EXPECT_NE(item(find, 4), three);
    EXPECT_EQ(item(find, 300), static_cast<u_int>(-13));
    EXPECT_EQ(item(4242, 1), static_cast<u_int>(-2));

    EXPECT_EQ(*call(c, api_tn_modeless_dialog_1, xdr_int, ApiTnDoDialogArgT{1, 4242}), -2);
}

TEST_F(HostDialogs, AlertsAndServicesAreRecordedNotRun) {
    EXPECT_EQ(*call(c, api_tn_alert_1, xdr_int, ApiTnAlertArgT{S("Careful \"now\""), 2}), 0);
    EXPECT_NE(h.lineOf(1008).find(R"( type=2 text="Careful \"now\"" )"), std::string::npos) << h.lineOf(1008);

    std::string marker = "/tmp/tnhost-never-" + std::to_string(getpid());
    std::string shell = "touch " + marker;
    EXPECT_EQ(*call(c, api_tn_system_shell_1, xdr_int, S(shell.c_str())), 0);
    EXPECT_NE(h.lineOf(1373).find("command=\"" + shell + "\""), std::string::npos);
    StringT args[] = {S(marker.c_str())};
    EXPECT_EQ(*call(c, api_tn_fork_and_exec_1, xdr_int, ApiTnForkAndExecArgT{S("/usr/bin/touch"), {1, args}}), 0);
    EXPECT_NE(h.lineOf(1374).find("path=\"/usr/bin/touch\" argc=1"), std::string::npos);
    EXPECT_NE(access(marker.c_str(), F_OK), 0) << "the host ran a client's command";
    EXPECT_EQ(*call(c, api_tn_system_shell_1, xdr_int, S("")), -13);

    // Sleeps are cut short.
    auto start = std::chrono::steady_clock::now();
    int seconds = 30;
    EXPECT_TRUE(api_tn_sleep_1(&seconds, c));
    EXPECT_TRUE(api_tn_usleep_1(&seconds, c));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

}  // namespace
}  // namespace host_test
