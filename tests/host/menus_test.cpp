// Clients, notifications and the menu and command registry, through the
// protocol against a running tnhost.
#include <gtest/gtest.h>

#include <string>

#include "host_calls.h"

namespace host_test {
namespace {

using HostMenus = HostTest;

// What an unlaunched client gets is in the request tests; here what the
// host refuses.
TEST_F(HostMenus, ClientCallsAndNotifications) {
    EXPECT_EQ(*call(c, api_set_client_directory_1, xdr_int, S("/")), 0);
    EXPECT_EQ(*call(c, api_set_client_directory_1, xdr_int, S("/no/such/dir")), -10);
    EXPECT_EQ(*call(c, api_set_client_directory_1, xdr_int, S("")), -13);
    Reply<StringT> dir(api_client_directory_1(nullptr, c), reinterpret_cast<xdrproc_t>(xdr_StringT));
    EXPECT_STREQ(dir ? *dir : "", "/");
    // Nobody of that name runs.
    EXPECT_EQ(call(c, api_tn_call_client_1, xdr_ApiTnGetIntRetT, ApiTnCallClientArgT{S("other"), S("hi")})->status, -9);

    // Notifications are kept per session.
    auto notify = [&](int n, int state) {
        return *call(c, api_tn_notification_1, xdr_int, ApiTnNotificationArgT{n, state});
    };
    EXPECT_EQ(notify(2, 1), 0);
    EXPECT_EQ(notify(75, 1), 0);
    EXPECT_NE(h.lineOf(1015).find(" asked=2,75 "), std::string::npos) << h.lineOf(1015);
    EXPECT_EQ(notify(2, 0), 0);
    EXPECT_NE(h.lineOf(1015).find(" asked=75 "), std::string::npos) << h.lineOf(1015);
    EXPECT_EQ(notify(0, 1), -13);

    int codes[] = {4, -1};
    EXPECT_EQ(*call(c, api_tn_fcodes_1, xdr_int, ApiTnFcodesArgT{{2, codes}}), -13);
    EXPECT_EQ(*call(c, api_tn_hypertext_command_1, xdr_int, ApiTnHypertextCommandArgT{3, S("")}), -13);
}

TEST_F(HostMenus, MenusByNameAndTheirRemoval) {
    auto menuExists = [&](const char *n) { return *call(c, api_tn_menu_exists_1, xdr_int, ApiTnExistsArgT{S(n)}); };
    auto shortcutExists = [&](const char *s) {
        return *call(c, api_tn_shortcut_exists_1, xdr_int, ApiTnExistsArgT{S(s)});
    };
    auto addCommand = [&](int n, const char *menu, const char *name, const char *shortcut) {
        return *call(c, api_tn_add_command_1, xdr_int,
                     ApiTnAddCommandArgT{n, S(menu), S(name), S("Label"), S(shortcut)});
    };
    EXPECT_EQ(menuExists("File"), 1);
    EXPECT_EQ(menuExists("Tools"), 0);
    EXPECT_EQ(*call(c, api_tn_add_menu_1, xdr_int, ApiTnAddMenuArgT{S(""), S("Tools"), S("Tools")}), 0);
    EXPECT_EQ(menuExists("Tools"), 1);
    EXPECT_EQ(addCommand(5, "Tools", "Count", "^K"), 0);
    EXPECT_EQ(menuExists("Count"), 0);  // a command, not a menu
    EXPECT_EQ(shortcutExists("^K"), 1);
    EXPECT_EQ(addCommand(6, "Tools", "Count", ""), -13);    // name taken
    EXPECT_EQ(addCommand(6, "Tools", "Other", "^K"), -13);  // shortcut taken
    EXPECT_EQ(addCommand(5, "Tools", "Other", ""), -13);    // command number taken
    EXPECT_EQ(addCommand(6, "Nope", "Other", ""), -9);
    EXPECT_EQ(addCommand(6, "Count", "Other", ""), -12);  // not a menu

    // Taking the menu out of the menu bar forgets it and what only it held.
    EXPECT_EQ(*call(c, api_tn_remove_menu_1, xdr_int, ApiTnRemoveMenuArgT{S("Edit"), S("Tools")}), -9);
    EXPECT_EQ(*call(c, api_tn_remove_menu_1, xdr_int, ApiTnRemoveMenuArgT{S(""), S("Tools")}), 0);
    EXPECT_EQ(menuExists("Tools"), 0);
    EXPECT_EQ(shortcutExists("^K"), 0);
    EXPECT_EQ(addCommand(5, "Edit", "Count", "^K"), 0);
}

TEST_F(HostMenus, MenusByIdAndDisconnection) {
    u_int menu = call(c, api_tn_define_menu_1, xdr_ApiTnObjRetT, ApiTnDefineMenuArgT{S("Extras"), S("Extras")})->objId;
    u_int cmd =
        call(c, api_tn_define_command_1, xdr_ApiTnObjRetT, ApiTnDefineCommandArgT{1, S("Run"), S("Run"), S("")})->objId;
    ASSERT_NE(menu, 0u);
    ASSERT_NE(cmd, 0u);
    auto addCmd = [&](u_int m, u_int i) {
        return *call(c, api_tn_add_command_to_menu_1, xdr_int, ApiTnAddCommandToMenuArgT{m, i});
    };
    auto addMenu = [&](u_int m, u_int i) {
        return *call(c, api_tn_add_menu_to_menu_1, xdr_int, ApiTnAddMenuToMenuArgT{m, i});
    };
    auto holder = [&](u_int m, u_int i, int deep) {
        auto r = call(c, api_tn_menu_item_in_menu_1, xdr_ApiTnObjRetT, ApiTnMenuItemInMenuArgT{m, i, deep});
        return r->status ? r->status : static_cast<int>(r->objId);
    };
    EXPECT_EQ(addCmd(menu, cmd), 0);
    EXPECT_EQ(addCmd(cmd, menu), -12);
    EXPECT_EQ(addCmd(menu, 12345), -2);
    EXPECT_EQ(addMenu(menu, menu), -13);

    u_int sub =
        call(c, api_tn_define_and_add_menu_1, xdr_ApiTnObjRetT, ApiTnDefineAndAddMenuArgT{menu, S("More"), S("More")})
            ->objId;
    ASSERT_NE(sub, 0u);
    EXPECT_EQ(addMenu(sub, menu), -13);  // would hold itself
    u_int deep = call(c, api_tn_define_and_add_command_1, xdr_ApiTnObjRetT,
                      ApiTnDefineAndAddCommandArgT{2, sub, S("Deep"), S("Deep"), S("")})
                     ->objId;
    ASSERT_NE(deep, 0u);
    EXPECT_EQ(holder(menu, deep, 0), -9);
    EXPECT_EQ(holder(menu, cmd, 0), static_cast<int>(menu));

    auto animate = [&](u_int m, u_int i) {
        return *call(c, api_tn_animate_menu_1, xdr_int, ApiTnAnimateMenuArgT{m, i, 0, S("Busy"), 0, 1});
    };
    EXPECT_EQ(animate(menu, deep), -9);
    EXPECT_EQ(animate(999, cmd), -2);

    EXPECT_EQ(*call(c, api_tn_load_menu_customization_file_1, xdr_int,
                    ApiTnLoadMenuCustomizationFileArgT{S("/no/such/file"), 0}),
              -10);

    // Leaving the session takes its menus and commands with it.
    EXPECT_EQ(*api_tn_disconnect_from_session_1(nullptr, c), 0);
    EXPECT_EQ(addCmd(menu, cmd), -2);
    EXPECT_EQ(*call(c, api_tn_menu_exists_1, xdr_int, ApiTnExistsArgT{S("Extras")}), 0);
    EXPECT_EQ(*call(c, api_tn_menu_exists_1, xdr_int, ApiTnExistsArgT{S("File")}), 1);
}

}  // namespace
}  // namespace host_test
