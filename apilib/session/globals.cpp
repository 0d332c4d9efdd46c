// The session's globals: one session per process.
#include "session.h"

extern "C" {

int TA_errno = 0;
int TA_bailout = 0;
int TA_clientno = -1;
struct timeval TA_TimeOut = {0, 0};
unsigned int TA_SelectMask = 0;
CLIENT *tarnel_client = nullptr;

int myprog = 0, myvers = 0, hisprog = 0, hisvers = 0, hispid = 0;
SVCXPRT *client_transp = nullptr;
int client_socket = -1;
char myname[256] = "???";

int turn_over_needed = 0;
int callbacksDone = 0;
int modalRetval = 0;

struct timeval get_TA_TimeOut(void) {
    constexpr long kDefaultTimeOutSeconds = 604800;  // seven days
    if (TA_TimeOut.tv_sec == 0 && TA_TimeOut.tv_usec == 0) TA_TimeOut.tv_sec = kDefaultTimeOutSeconds;
    return TA_TimeOut;
}
}
