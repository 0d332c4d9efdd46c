// Prompts answered from the scenario, dialog resources, the client registry,
// menus and commands, and the host services that must never run what a
// client sends.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>

#include "host_calls.h"

namespace host_test {
namespace {

using HostDialogs = HostTest;
using HostMenus = HostTest;

// What the scenario's answers mean; each prompt's accepted answer is in the
// request tests.
TEST(HostPrompts, TakeTheScenariosAnswersInOrder) {
    Host h(json::parse(R"({"answers": {"1010": [{"status": 0, "text": "hello"}, {"status": 0}], "1009": {"status": 0},
        "1013": {"status": 0, "value": 5}, "1028": {"status": 0}, "1017": {"status": 0}, "1305": {"status": -7}}})"));
    ASSERT_TRUE(h.c);
    auto promptString = [&] {
        auto r = h.call(api_tn_prompt_string_1, {S("Name?"), S("default")});
        return r->status ? std::to_string(r->status) : std::string(r->text);
    };
    // The last answer keeps answering: status 0 alone accepts the default.
    EXPECT_EQ(promptString(), "hello");
    EXPECT_EQ(promptString(), "default");
    EXPECT_EQ(promptString(), "default");
    EXPECT_EQ(h.call(api_tn_prompt_int_1, {S("N?"), S("12")})->value, 12);
    EXPECT_EQ(h.status(api_tn_prompt_int_1, {S("N?"), S("1x")}), -13);
    EXPECT_STREQ(h.call(api_tn_choose_file_1, {S("Open"), S("/tmp"), S("a.doc"), 0, S("*.doc")})->text, "/tmp/a.doc");
    StringT items[] = {S("a"), S("b"), S("c")};
    EXPECT_EQ(h.call(api_tn_quick_select_1, {1, S("Pick"), {3, items}})->value, 0);
    EXPECT_EQ(h.status(api_tn_scroll_box_1, {S("Pick"), 1, {3, items}}), -13);  // no item 5
    EXPECT_EQ(h.status(api_tn_prompt_rect_1, {1, 2, 0}), -7);
    // Without an answer the user cancels.
    EXPECT_EQ(h.status(old_api_tn_choose_file_1, {S("Open"), S("/tmp"), S("a.doc"), 0}), -30);
}

TEST_F(HostDialogs, ResourcesDialogsAlertsAndServicesThatAreRecordedNotRun) {
    u_int find = call(api_tn_open_resource_1, {1, S("Find")})->objId;
    EXPECT_EQ(call(api_tn_open_resource_1, {1, S("Find")})->objId, find);
    EXPECT_NE(call(api_tn_open_resource_1, {2, S("Find")})->objId, find);
    EXPECT_EQ(status(api_tn_open_resource_1, {1, S("")}), -13);
    u_int three = call(api_tn_dialog_item_id_1, {find, 3})->objId;
    EXPECT_EQ(call(api_tn_dialog_item_id_1, {find, 3})->objId, three);
    EXPECT_NE(call(api_tn_dialog_item_id_1, {find, 4})->objId, three);
    EXPECT_EQ(status(api_tn_dialog_item_id_1, {find, 300}), -13);
    EXPECT_EQ(status(api_tn_dialog_item_id_1, {4242, 1}), -2);
    EXPECT_EQ(status(api_tn_modeless_dialog_1, {1, 4242}), -2);

    // Alerts and services are recorded, not run.
    EXPECT_EQ(status(api_tn_alert_1, {S("Careful \"now\""), 2}), 0);
    EXPECT_NE(h.lineOf(1008).find(R"( type=2 text="Careful \"now\"" )"), std::string::npos) << h.lineOf(1008);

    const std::string marker = "/tmp/tnhost-never-" + std::to_string(getpid()), shell = "touch " + marker;
    EXPECT_EQ(status(api_tn_system_shell_1, S(shell.c_str())), 0);
    EXPECT_NE(h.lineOf(1373).find("command=\"" + shell + "\""), std::string::npos);
    StringT args[] = {S(marker.c_str())};
    EXPECT_EQ(status(api_tn_fork_and_exec_1, {S("/usr/bin/touch"), {1, args}}), 0);
    EXPECT_NE(h.lineOf(1374).find("path=\"/usr/bin/touch\" argc=1"), std::string::npos);
    EXPECT_NE(access(marker.c_str(), F_OK), 0) << "the host ran a client's command";
    EXPECT_EQ(status(api_tn_system_shell_1, S("")), -13);

    // Sleeps are cut short.
    auto start = std::chrono::steady_clock::now();
    int seconds = 30;
    EXPECT_TRUE(api_tn_sleep_1(&seconds, c));
    EXPECT_TRUE(api_tn_usleep_1(&seconds, c));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

// What an unlaunched client gets is in the request tests; here what the
// host refuses.
TEST_F(HostMenus, ClientCallsNotificationsAndMenusByName) {
    EXPECT_EQ(status(api_set_client_directory_1, S("/")), 0);
    EXPECT_EQ(status(api_set_client_directory_1, S("/no/such/dir")), -10);
    EXPECT_EQ(status(api_set_client_directory_1, S("")), -13);
    auto dir = call(api_client_directory_1);
    EXPECT_STREQ(dir ? *dir : "", "/");
    EXPECT_EQ(status(api_tn_call_client_1, {S("other"), S("hi")}), -9);  // nobody of that name runs

    // Notifications are kept per session.
    EXPECT_EQ(status(api_tn_notification_1, {2, 1}), 0);
    EXPECT_EQ(status(api_tn_notification_1, {75, 1}), 0);
    EXPECT_NE(h.lineOf(1015).find(" asked=2,75 "), std::string::npos) << h.lineOf(1015);
    EXPECT_EQ(status(api_tn_notification_1, {2, 0}), 0);
    EXPECT_NE(h.lineOf(1015).find(" asked=75 "), std::string::npos) << h.lineOf(1015);
    EXPECT_EQ(status(api_tn_notification_1, {0, 1}), -13);

    int codes[] = {4, -1};
    EXPECT_EQ(status(api_tn_fcodes_1, {{2, codes}}), -13);
    EXPECT_EQ(status(api_tn_hypertext_command_1, {3, S("")}), -13);

    // Menus by name, and taking them out of the menu bar.
    auto menuExists = [&](const char *n) { return status(api_tn_menu_exists_1, {S(n)}); };
    auto addCommand = [&](int n, const char *menu, const char *name, const char *shortcut) {
        return status(api_tn_add_command_1, {n, S(menu), S(name), S("Label"), S(shortcut)});
    };
    EXPECT_EQ(menuExists("Tools"), 0);
    EXPECT_EQ(status(api_tn_add_menu_1, {S(""), S("Tools"), S("Tools")}), 0);
    EXPECT_EQ(menuExists("Tools"), 1);
    EXPECT_EQ(addCommand(5, "Tools", "Count", "^K"), 0);
    EXPECT_EQ(menuExists("Count"), 0);  // a command, not a menu
    EXPECT_EQ(status(api_tn_shortcut_exists_1, {S("^K")}), 1);
    EXPECT_EQ(addCommand(6, "Tools", "Count", ""), -13);    // name taken
    EXPECT_EQ(addCommand(6, "Tools", "Other", "^K"), -13);  // shortcut taken
    EXPECT_EQ(addCommand(5, "Tools", "Other", ""), -13);    // command number taken
    EXPECT_EQ(addCommand(6, "Nope", "Other", ""), -9);
    EXPECT_EQ(addCommand(6, "Count", "Other", ""), -12);  // not a menu

    // Taking the menu out of the menu bar forgets it and what only it held.
    EXPECT_EQ(status(api_tn_remove_menu_1, {S("Edit"), S("Tools")}), -9);
    EXPECT_EQ(status(api_tn_remove_menu_1, {S(""), S("Tools")}), 0);
    EXPECT_EQ(menuExists("Tools"), 0);
    EXPECT_EQ(status(api_tn_shortcut_exists_1, {S("^K")}), 0);
    EXPECT_EQ(addCommand(5, "Edit", "Count", "^K"), 0);
}

TEST_F(HostMenus, MenusByIdAndDisconnection) {
    u_int menu = call(api_tn_define_menu_1, {S("Extras"), S("Extras")})->objId;
    u_int cmd = call(api_tn_define_command_1, {1, S("Run"), S("Run"), S("")})->objId;
    ASSERT_NE(menu, 0u);
    ASSERT_NE(cmd, 0u);
    EXPECT_EQ(status(api_tn_add_command_to_menu_1, {menu, cmd}), 0);
    EXPECT_EQ(status(api_tn_add_command_to_menu_1, {cmd, menu}), -12);
    EXPECT_EQ(status(api_tn_add_command_to_menu_1, {menu, 12345}), -2);
    EXPECT_EQ(status(api_tn_add_menu_to_menu_1, {menu, menu}), -13);
    u_int sub = call(api_tn_define_and_add_menu_1, {menu, S("More"), S("More")})->objId;
    ASSERT_NE(sub, 0u);
    EXPECT_EQ(status(api_tn_add_menu_to_menu_1, {sub, menu}), -13);  // would hold itself
    u_int deep = call(api_tn_define_and_add_command_1, {2, sub, S("Deep"), S("Deep"), S("")})->objId;
    ASSERT_NE(deep, 0u);
    EXPECT_EQ(status(api_tn_menu_item_in_menu_1, {menu, deep, 0}), -9);
    EXPECT_EQ(call(api_tn_menu_item_in_menu_1, {menu, cmd, 0})->objId, menu);
    EXPECT_EQ(status(api_tn_animate_menu_1, {menu, deep, 0, S("Busy"), 0, 1}), -9);
    EXPECT_EQ(status(api_tn_animate_menu_1, {999, cmd, 0, S("Busy"), 0, 1}), -2);
    EXPECT_EQ(status(api_tn_load_menu_customization_file_1, {S("/no/such/file"), 0}), -10);

    // Leaving the session takes its menus and commands with it.
    EXPECT_EQ(*call(api_tn_disconnect_from_session_1), 0);
    EXPECT_EQ(status(api_tn_add_command_to_menu_1, {menu, cmd}), -2);
    EXPECT_EQ(status(api_tn_menu_exists_1, {S("Extras")}), 0);
    EXPECT_EQ(status(api_tn_menu_exists_1, {S("File")}), 1);
}

}  // namespace
}  // namespace host_test
