/* The session with the host: start-up, the service loop, hand-over of
 * control, and the callbacks every client fills in. */
#ifndef TARNEL_TNAPI_SESSION_H
#define TARNEL_TNAPI_SESSION_H

#include <rpc/rpc.h>
#include <tarnel/cdecls.h>
#include <tarnel/api_values.h>

TARNEL_BEGIN_DECLS

/* Session globals. */
extern int TA_errno;
extern int TA_bailout;
extern int TA_clientno;
extern struct timeval TA_TimeOut; /* 0,0 selects seven days */
extern unsigned int TA_SelectMask;
extern CLIENT *tarnel_client;

typedef void (*T_ApiFdFuncT)(int fd, int added);

/* Start-up and connection. */
const char *T_ApiStartUp(T_ApiFdFuncT fdFunc);
int T_ApiConnectToSession(StringT clientString, StringT hostName, int program);
void T_ApiErr(const char *message);

/* Service loop and control. */
int T_ApiRun(void);
int T_ApiService(unsigned int *mask);
int T_ApiTarnelAlive(void);
void T_ApiShutDown(void);
int T_ApiServiceModalCallbacks(void);
int T_ApiDoneCommand(void);
int T_ApiTakeControl(void);
void T_ApiBailOut(void);
T_ApiFdFuncT T_ApiSetFdFunc(T_ApiFdFuncT function);

/* Callbacks: the client defines the first three; the library has defaults
 * for the rest, which a client's own definition replaces at link time. */
void T_ApiInitialize(int initialization);
void T_ApiNotify(int notification, unsigned int objId, StringT text, int number);
void T_ApiCommand(int command);
void T_ApiMessage(StringT message, unsigned int uint1, unsigned int uint2);
void T_ApiDialogEvent(int int1, int int2, int int3);
void T_ApiEmergency(void);

TARNEL_END_DECLS

#endif
