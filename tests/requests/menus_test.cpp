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
        ROW(T_ApiMenuExists, 1003, (S("File")), "1", kRefused, false, "-1", xdr_ApiTnExistsArgT, S("File")),
        ROW(T_ApiShortcutExists, 1004, (S("^T")), "0", kRefused, false, "-1", xdr_ApiTnExistsArgT, S("^T")),
        STATUS(T_ApiAddMenu, 1005, (S(""), S("Tools"), S("Tools")), xdr_ApiTnAddMenuArgT, S(""), S("Tools"),
               S("Tools")),
        STATUS(T_ApiAddCommand, 1007, (11, S("Tools"), S("Sort"), S("Sort Lines"), S("^T")), xdr_ApiTnAddCommandArgT,
               11, S("Tools"), S("Sort"), S("Sort Lines"), S("^T")),
        STATUS(T_ApiRemoveMenu, 1006, (S("Tools"), S("Sort")), xdr_ApiTnRemoveMenuArgT, S("Tools"), S("Sort")),
        GET(T_ApiDefineCommand, 1250, (12, S("Count"), S("Count Words"), S("^K")), shown(kCount), zeroId,
            xdr_ApiTnDefineCommandArgT, 12, S("Count"), S("Count Words"), S("^K")),
        GET(T_ApiDefineMenu, 1251, (S("Extras"), S("Extras")), shown(kExtras), zeroId, xdr_ApiTnDefineMenuArgT,
            S("Extras"), S("Extras")),
        STATUS(T_ApiAddCommandToMenu, 1252, (kExtras, kCount), xdr_ApiTnAddCommandToMenuArgT, kExtras, kCount),
        STATUS(T_ApiAddMenuToMenu, 1253, (kTools, kExtras), xdr_ApiTnAddMenuToMenuArgT, kTools, kExtras),
        GET(T_ApiDefineAndAddCommand, 1254, (13, kExtras, S("Wrap"), S("Wrap Text"), S("")), shown(kWrap), zeroId,
            xdr_ApiTnDefineAndAddCommandArgT, 13, kExtras, S("Wrap"), S("Wrap Text"), S("")),
        GET(T_ApiDefineAndAddMenu, 1255, (kTools, S("More"), S("More")), shown(kMore), zeroId,
            xdr_ApiTnDefineAndAddMenuArgT, kTools, S("More"), S("More")),
        STATUS(T_ApiLoadMenuCustomizationFile, 1256, (S("/etc/passwd"), 1), xdr_ApiTnLoadMenuCustomizationFileArgT,
               S("/etc/passwd"), 1),
        STATUS(T_ApiAnimateMenu, 1257, (kExtras, kCount, 1, S("Count!"), 0, 1), xdr_ApiTnAnimateMenuArgT, kExtras,
               kCount, 1, S("Count!"), 0, 1),
        // Searched through the submenus: Tools holds Extras, which holds Count.
        GET(T_ApiMenuItemInMenu, 1258, (kTools, kCount, 1), shown(kExtras), zeroId, xdr_ApiTnMenuItemInMenuArgT, kTools,
            kCount, 1),
    });
}

}  // namespace
}  // namespace requests_test
