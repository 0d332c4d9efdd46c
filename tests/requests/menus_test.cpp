// Menu and command calls. The accepting host starts with its menu bar
// (0x40000001) holding File, Edit, View and Help (0x40000002 to 0x40000005)
// and numbers what clients define from 0x40000006 on, so the rows build a
// small menu tree in order.
#include "call_table.h"

namespace requests_test {
namespace {

constexpr unsigned int kTools = 0x40000006, kCount = 0x40000008, kExtras = 0x40000009,
                       kWrap = 0x4000000A, kMore = 0x4000000B;

TEST(MenuCalls, EveryFunction) {
    const std::string refused = shown(kRefusal), zeroId = shown(0u);
    runCalls({
        {"T_ApiMenuExists", 1003, [] { return shown(T_ApiMenuExists(S("File"))); },
         sent(xdr_ApiTnExistsArgT, {S("File")}), "1", refused, false, "-1"},
        {"T_ApiShortcutExists", 1004, [] { return shown(T_ApiShortcutExists(S("^T"))); },
         sent(xdr_ApiTnExistsArgT, {S("^T")}), "0", refused, false, "-1"},
        {"T_ApiAddMenu", 1005, [] { return shown(T_ApiAddMenu(S(""), S("Tools"), S("Tools"))); },
         sent(xdr_ApiTnAddMenuArgT, {S(""), S("Tools"), S("Tools")}), "0", refused, true, "-1"},
        {"T_ApiAddCommand", 1007,
         [] { return shown(T_ApiAddCommand(11, S("Tools"), S("Sort"), S("Sort Lines"), S("^T"))); },
         sent(xdr_ApiTnAddCommandArgT, {11, S("Tools"), S("Sort"), S("Sort Lines"), S("^T")}), "0",
         refused, true, "-1"},
        {"T_ApiRemoveMenu", 1006, [] { return shown(T_ApiRemoveMenu(S("Tools"), S("Sort"))); },
         sent(xdr_ApiTnRemoveMenuArgT, {S("Tools"), S("Sort")}), "0", refused, true, "-1"},
        {"T_ApiDefineCommand", 1250,
         [] { return shown(T_ApiDefineCommand(12, S("Count"), S("Count Words"), S("^K"))); },
         sent(xdr_ApiTnDefineCommandArgT, {12, S("Count"), S("Count Words"), S("^K")}),
         shown(kCount), zeroId, true, zeroId},
        {"T_ApiDefineMenu", 1251, [] { return shown(T_ApiDefineMenu(S("Extras"), S("Extras"))); },
         sent(xdr_ApiTnDefineMenuArgT, {S("Extras"), S("Extras")}), shown(kExtras), zeroId, true,
         zeroId},
        {"T_ApiAddCommandToMenu", 1252,
         [] { return shown(T_ApiAddCommandToMenu(kExtras, kCount)); },
         sent(xdr_ApiTnAddCommandToMenuArgT, {kExtras, kCount}), "0", refused, true, "-1"},
        {"T_ApiAddMenuToMenu", 1253, [] { return shown(T_ApiAddMenuToMenu(kTools, kExtras)); },
         sent(xdr_ApiTnAddMenuToMenuArgT, {kTools, kExtras}), "0", refused, true, "-1"},
        {"T_ApiDefineAndAddCommand", 1254,
         [] {
             return shown(T_ApiDefineAndAddCommand(13, kExtras, S("Wrap"), S("Wrap Text"), S("")));
         },
         sent(xdr_ApiTnDefineAndAddCommandArgT, {13, kExtras, S("Wrap"), S("Wrap Text"), S("")}),
         shown(kWrap), zeroId, true, zeroId},
        {"T_ApiDefineAndAddMenu", 1255,
         [] { return shown(T_ApiDefineAndAddMenu(kTools, S("More"), S("More"))); },
         sent(xdr_ApiTnDefineAndAddMenuArgT, {kTools, S("More"), S("More")}), shown(kMore), zeroId,
         true, zeroId},
        {"T_ApiLoadMenuCustomizationFile", 1256,
         [] { return shown(T_ApiLoadMenuCustomizationFile(S("/etc/passwd"), 1)); },
         sent(xdr_ApiTnLoadMenuCustomizationFileArgT, {S("/etc/passwd"), 1}), "0", refused, true,
         "-1"},
        {"T_ApiAnimateMenu", 1257,
         [] { return shown(T_ApiAnimateMenu(kExtras, kCount, 1, S("Count!"), 0, 1)); },
         sent(xdr_ApiTnAnimateMenuArgT, {kExtras, kCount, 1, S("Count!"), 0, 1}), "0", refused,
         true, "-1"},
        // Searched through the submenus: Tools holds Extras, which holds Count.
        {"T_ApiMenuItemInMenu", 1258, [] { return shown(T_ApiMenuItemInMenu(kTools, kCount, 1)); },
         sent(xdr_ApiTnMenuItemInMenuArgT, {kTools, kCount, 1}), shown(kExtras), zeroId, true,
         zeroId},
    });
}

} // namespace
} // namespace requests_test
