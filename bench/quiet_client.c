/* A client whose callbacks return at once and print nothing: the callback
 * round trip without any work of the client's own. */
#include <tarnel/tnapi_session.h>

void T_ApiInitialize(int initialization) { (void)initialization; }

void T_ApiNotify(int notification, unsigned int objId, StringT text, int number) {
    (void)notification, (void)objId, (void)text, (void)number;
}

void T_ApiCommand(int command) { (void)command; }
