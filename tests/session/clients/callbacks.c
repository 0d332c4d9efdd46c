/* Callbacks shared by the session test clients. Each prints one line per
 * event so that the host's transcript shows what ran; the initialisation
 * code and the command number select what the callback does. */
#include <stdio.h>
#include <stdlib.h>

#include <tarnel/api_to_tn.h>
#include <tarnel/tnapi_session.h>
#include <tarnel/tnapi_values.h>

#include "callbacks.h"

/* Opens a modal dialog through its stub and serves callbacks until the host
 * ends it. */
static int modal(int dialogNum) {
    ApiTnDoDialogArgT arg = {dialogNum, 0};
    int *accepted = api_tn_modal_dialog_1(&arg, tarnel_client);
    if (!accepted) {
        printf("modal-request-failed\n");
        return -1;
    }
    return T_ApiServiceModalCallbacks();
}

void T_ApiInitialize(int initialization) {
    printf("init %d clientno=%d\n", initialization, TA_clientno);
    switch (initialization) {
    case INIT_BAIL_OUT: T_ApiBailOut(); break;
    case INIT_DONE_TWICE: {
        int first = T_ApiDoneCommand();
        int second = T_ApiDoneCommand();
        printf("done=%d again=%d\n", first, second);
        break;
    }
    case INIT_MODAL: printf("modal=%d\n", modal(1)); break;
    case INIT_TAKE_CONTROL: {
        int held = T_ApiTakeControl(); /* inside a callback: already held */
        int done = T_ApiDoneCommand();
        int took = T_ApiTakeControl();
        printf("take-held=%d done=%d take=%d\n", held, done, took);
        break;
    }
    default: break;
    }
}

void T_ApiCommand(int command) {
    printf("command %d\n", command);
    if (command == COMMAND_INNER_MODAL) printf("inner-modal=%d\n", modal(2));
}

void T_ApiNotify(int notification, unsigned int objId, StringT text, int number) {
    if (notification == 75) { /* the filter notification: text is the split record */
        const TdeApiFilterArgsT *args = (const TdeApiFilterArgsT *)(const void *)text;
        printf("filter %u [%s] [%s] [%s] extra=%u [%s] %d\n", objId, args->arg1 ? args->arg1 : "(null)",
               args->arg2 ? args->arg2 : "(null)", args->arg3 ? args->arg3 : "(null)", args->extra.count,
               args->extra.count ? args->extra.items[0] : "", number);
        return;
    }
    printf("notify %d %u [%s] %d\n", notification, objId, text ? text : "(null)", number);
}

void T_ApiMessage(StringT message, unsigned int uint1, unsigned int uint2) {
    printf("message [%s] %u %u\n", message ? message : "(null)", uint1, uint2);
}

void T_ApiDialogEvent(int int1, int int2, int int3) { printf("dialog-event %d %d %d\n", int1, int2, int3); }

void T_ApiEmergency(void) {
    printf("EMERGENCY\n");
    fflush(stdout);
}
