/* A client that opens modal dialogs and leaves its session through the
 * request functions, printing each result so that the host's transcript
 * shows it. The initialisation code selects what it does:
 *   1  modal dialog 3 of object 77
 *   3  disconnect from the session
 *   4  tell who it is, and call the client named "peer" */
#include <stdio.h>

#include <tarnel/tnapi.h>

void T_ApiInitialize(int initialization) {
    switch (initialization) {
    case 1: {
        int result = T_ApiModalDialog(3, 77);
        printf("modal=%d errno=%d\n", result, TA_errno);
        break;
    }
    case 3: {
        int result = T_ApiDisconnectFromSession();
        printf("disconnect=%d bailout=%d connected=%d errno=%d\n", result, TA_bailout, tarnel_client != NULL, TA_errno);
        break;
    }
    case 4: {
        StringT name = T_ApiClientName();
        int pid = T_ApiCallClient("peer", "hello");
        printf("number=%d name=%s called=%s errno=%d\n", T_ApiClientNumber(), name, pid > 0 ? "yes" : "no", TA_errno);
        T_ApiDeallocateString(&name);
        break;
    }
    default: break;
    }
}

/* Callbacks served while a dialog is open. */
void T_ApiCommand(int command) { printf("command %d\n", command); }

void T_ApiDialogEvent(int int1, int int2, int int3) { printf("dialog-event %d %d %d\n", int1, int2, int3); }

void T_ApiNotify(int notification, unsigned int objId, StringT text, int number) {
    (void)text;
    printf("notify %d %u %d\n", notification, objId, number);
}
