// Menu and command calls. The accepting host starts with its menu bar
// (0x40000001) holding File, Edit, View and Help (0x40000002 to 0x40000005)
// and numbers what clients define from 0x40000006 on, so the rows build a
// small menu tree in order.
#include "call_table.h"

namespace requests_test {
namespace {

constexpr unsigned int kTools = 0x40000006, kCount = 0x40000008, kExtras = 0x40000009, kWrap = 0x4000000A,
                       kMore = 0x4000000B;

TEST(MenuCalls, EveryFunction) {
    const std::string zeroId = shown(0u);
    runCalls({
        {"T_ApiMenuExists", 1003, [] { return shown(T_ApiMenuExists(S("File"))); },
         sent(xdr_ApiTnExistsArgT, {S("File")}), "1", kRefused, false, "-1"},
        {"T_ApiShortcutExists", 1004, [] { return shown(T_ApiShortcutExists(S("^T"))); },
         sent(xdr_ApiTnExistsArgT, {S("^T")}), "0", kRefused, false, "-1"},
        status(
            "T_ApiAddMenu", 1005, [] { return T_ApiAddMenu(S(""), S("Tools"), S("Tools")); },
            sent(xdr_ApiTnAddMenuArgT, {S(""), S("Tools"), S("Tools")})),
        status(
            "T_ApiAddCommand", 1007,
            [] { return T_ApiAddCommand(11, S("Tools"), S("Sort"), S("Sort Lines"), S("^T")); },
            sent(xdr_ApiTnAddCommandArgT, {11, S("Tools"), S("Sort"), S("Sort Lines"), S("^T")})),
        status(
            "T_ApiRemoveMenu", 1006, [] { return T_ApiRemoveMenu(S("Tools"), S("Sort")); },
            sent(xdr_ApiTnRemoveMenuArgT, {S("Tools"), S("Sort")})),
        row(
            "T_ApiDefineCommand", 1250,
            [] { return shown(T_ApiDefineCommand(12, S("Count"), S("Count Words"), S("^K"))); },
            sent(xdr_ApiTnDefineCommandArgT, {12, S("Count"), S("Count Words"), S("^K")}), shown(kCount), zeroId),
        row(
            "T_ApiDefineMenu", 1251, [] { return shown(T_ApiDefineMenu(S("Extras"), S("Extras"))); },
            sent(xdr_ApiTnDefineMenuArgT, {S("Extras"), S("Extras")}), shown(kExtras), zeroId),
        status(
            "T_ApiAddCommandToMenu", 1252, [] { return T_ApiAddCommandToMenu(kExtras, kCount); },
            sent(xdr_ApiTnAddCommandToMenuArgT, {kExtras, kCount})),
        status(
            "T_ApiAddMenuToMenu", 1253, [] { return T_ApiAddMenuToMenu(kTools, kExtras); },
            sent(xdr_ApiTnAddMenuToMenuArgT, {kTools, kExtras})),
        row(
            "T_ApiDefineAndAddCommand", 1254,
            [] { return shown(T_ApiDefineAndAddCommand(13, kExtras, S("Wrap"), S("Wrap Text"), S(""))); },
            sent(xdr_ApiTnDefineAndAddCommandArgT, {13, kExtras, S("Wrap"), S("Wrap Text"), S("")}), shown(kWrap),
            zeroId),
        row(
            "T_ApiDefineAndAddMenu", 1255, [] { return shown(T_ApiDefineAndAddMenu(kTools, S("More"), S("More"))); },
            sent(xdr_ApiTnDefineAndAddMenuArgT, {kTools, S("More"), S("More")}), shown(kMore), zeroId),
        status(
            "T_ApiLoadMenuCustomizationFile", 1256, [] { return T_ApiLoadMenuCustomizationFile(S("/etc/passwd"), 1); },
            sent(xdr_ApiTnLoadMenuCustomizationFileArgT, {S("/etc/passwd"), 1})),
        status(
            "T_ApiAnimateMenu", 1257, [] { return T_ApiAnimateMenu(kExtras, kCount, 1, S("Count!"), 0, 1); },
            sent(xdr_ApiTnAnimateMenuArgT, {kExtras, kCount, 1, S("Count!"), 0, 1})),
        // Searched through the submenus: Tools holds Extras, which holds Count.
        row(
            "T_ApiMenuItemInMenu", 1258, [] { return shown(T_ApiMenuItemInMenu(kTools, kCount, 1)); },
            sent(xdr_ApiTnMenuItemInMenuArgT, {kTools, kCount, 1}), shown(kExtras), zeroId),
    });
}

}  // namespace
}  // namespace requests_test
