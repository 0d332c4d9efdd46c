// Host services: user cancel, sleeping, and running commands or programs.
#include "call.h"

using namespace tarnel::requests;

extern "C" {

int T_ApiUserCancel(void) { return plain(api_tn_user_cancel_1, -1); }

// The reply is empty: its arrival is the success. With no reply the
// argument comes back, as the time not slept.
int T_ApiSleep(int seconds) { return send(api_tn_sleep_1, &seconds) != nullptr ? 0 : seconds; }

int T_ApiUSleep(int microseconds) { return send(api_tn_usleep_1, &microseconds) != nullptr ? 0 : microseconds; }

int T_ApiSystemShell(StringT command) { return plain(api_tn_system_shell_1, &command, -1); }

int T_ApiForkAndExec(StringT path, T_StringsT *args) {
    ApiTnForkAndExecArgT a = {path, headerOf(args)};
    return plain(api_tn_fork_and_exec_1, &a, -1);
}
}
