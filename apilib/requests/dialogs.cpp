// The client's dialog resources, modal and modeless.
#include "call.h"

using namespace tarnel::requests;

extern "C" {

unsigned int T_ApiOpenResource(int type, StringT name) {
    ApiTnOpenResourceArgT a = {type, name};
    return value(api_tn_open_resource_1, &a, &ApiTnObjRetT::objId);
}

// Dialog number 0 returns the host's answer at once. Otherwise the host has
// opened the dialog and ends it with a dialog event of its own; meanwhile
// the client serves callbacks (quit included, so the host stays in
// control), and the result is what that event carries.
int T_ApiModalDialog(int dialogNum, unsigned int dialogId) {
    ApiTnDoDialogArgT a = {dialogNum, dialogId};
    int *reply = send(api_tn_modal_dialog_1, &a);
    if (reply == nullptr) return 0;
    const int answer = *reply;
    if (dialogNum == 0) return answer;
    // The answer is no status: a host may answer non-zero and still end the
    // dialog with its completion, whose value only the wait can return.
    return T_ApiServiceModalCallbacks();
}

int T_ApiModelessDialog(int dialogNum, unsigned int dialogId) {
    ApiTnDoDialogArgT a = {dialogNum, dialogId};
    return plain(api_tn_modeless_dialog_1, &a, 0);
}

unsigned int T_ApiDialogItemId(unsigned int dialogId, int itemNum) {
    ApiTnDialogItemIdArgT a = {dialogId, itemNum};
    return value(api_tn_dialog_item_id_1, &a, &ApiTnObjRetT::objId);
}

int T_ApiUserInteractSelection(int n) {
    ApiTnUserInteractSelectionArgT a = {n};
    return status(api_tn_user_interact_selection_1, &a);
}
}
