/* A client that defines only the three callbacks without a library default:
 * main, T_ApiMessage, T_ApiDialogEvent and T_ApiEmergency come from the
 * library. Each of its callbacks prints a line so the host sees it ran. */
#include <stdio.h>

#include <tarnel/tnapi_session.h>

void T_ApiInitialize(int initialization) { printf("minimal init %d\n", initialization); }

void T_ApiNotify(int notification, unsigned int objId, StringT text, int number) {
    (void)text;
    printf("minimal notify %d %u %d\n", notification, objId, number);
}

void T_ApiCommand(int command) { printf("minimal command %d\n", command); }
