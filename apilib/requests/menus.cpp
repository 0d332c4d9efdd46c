// Menus and commands of the host that later reach the client as command
// callbacks. Names, labels, shortcuts and flags pass through unchanged.
#include "call.h"

using namespace tarnel::requests;

extern "C" {

int T_ApiMenuExists(StringT name) {
    ApiTnExistsArgT a = {name};
    return plain(api_tn_menu_exists_1, &a, -1);
}

int T_ApiShortcutExists(StringT shortcut) {
    ApiTnExistsArgT a = {shortcut};
    return plain(api_tn_shortcut_exists_1, &a, -1);
}

int T_ApiAddMenu(StringT s1, StringT s2, StringT s3) {
    ApiTnAddMenuArgT a = {s1, s2, s3};
    return status(api_tn_add_menu_1, &a);
}

int T_ApiRemoveMenu(StringT s1, StringT s2) {
    ApiTnRemoveMenuArgT a = {s1, s2};
    return status(api_tn_remove_menu_1, &a);
}

int T_ApiAddCommand(int cmd, StringT s1, StringT s2, StringT s3, StringT s4) {
    ApiTnAddCommandArgT a = {cmd, s1, s2, s3, s4};
    return status(api_tn_add_command_1, &a);
}

unsigned int T_ApiDefineCommand(int cmd, StringT s1, StringT s2, StringT s3) {
    ApiTnDefineCommandArgT a = {cmd, s1, s2, s3};
    return value(api_tn_define_command_1, &a, &ApiTnObjRetT::objId);
}

unsigned int T_ApiDefineMenu(StringT s1, StringT s2) {
    ApiTnDefineMenuArgT a = {s1, s2};
    return value(api_tn_define_menu_1, &a, &ApiTnObjRetT::objId);
}

int T_ApiAddCommandToMenu(unsigned int id1, unsigned int id2) {
    ApiTnAddCommandToMenuArgT a = {id1, id2};
    return status(api_tn_add_command_to_menu_1, &a);
}

int T_ApiAddMenuToMenu(unsigned int id1, unsigned int id2) {
    ApiTnAddMenuToMenuArgT a = {id1, id2};
    return status(api_tn_add_menu_to_menu_1, &a);
}

unsigned int T_ApiDefineAndAddCommand(int cmd, unsigned int menuId, StringT s1, StringT s2, StringT s3) {
    ApiTnDefineAndAddCommandArgT a = {cmd, menuId, s1, s2, s3};
    return value(api_tn_define_and_add_command_1, &a, &ApiTnObjRetT::objId);
}

unsigned int T_ApiDefineAndAddMenu(unsigned int menuId, StringT s1, StringT s2) {
    ApiTnDefineAndAddMenuArgT a = {menuId, s1, s2};
    return value(api_tn_define_and_add_menu_1, &a, &ApiTnObjRetT::objId);
}

int T_ApiLoadMenuCustomizationFile(StringT fileName, int flag) {
    ApiTnLoadMenuCustomizationFileArgT a = {fileName, flag};
    return status(api_tn_load_menu_customization_file_1, &a);
}

int T_ApiAnimateMenu(unsigned int id1, unsigned int id2, int num1, StringT text, unsigned int id3, int num2) {
    ApiTnAnimateMenuArgT a = {id1, id2, num1, text, id3, num2};
    return status(api_tn_animate_menu_1, &a);
}

unsigned int T_ApiMenuItemInMenu(unsigned int menuId, unsigned int itemId, int flag) {
    ApiTnMenuItemInMenuArgT a = {menuId, itemId, flag};
    return value(api_tn_menu_item_in_menu_1, &a, &ApiTnObjRetT::objId);
}
}
