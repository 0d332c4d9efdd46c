// Internal state and entry points of the session runtime, shared by its units.
#ifndef TARNEL_SESSION_INTERNAL_H
#define TARNEL_SESSION_INTERNAL_H

#include <netinet/in.h>
#include <rpc/rpc.h>
#include <tarnel/api_to_tn.h>
#include <tarnel/tnapi_session.h>
#include <wire/xdrproc.h>

TARNEL_BEGIN_DECLS

// Numbers of the current session, from TNAPIX or the connection reply.
extern int myprog, myvers, hisprog, hisvers, hispid;
extern SVCXPRT *client_transp;
extern int client_socket;
extern char myname[256];

// Control state of the service loop.
extern int turn_over_needed;
extern int callbacksDone;
extern int modalRetval;

const char *hookup(int callbackProg, int callbackVers, int hostProg, int hostVers, int hostPid, const char *hostName);
struct timeval get_TA_TimeOut(void);
char *thishost(void);
int hostnameToRealAddr(const char *name, struct sockaddr_in *address);
char *host_ntoa(const char *name);
int apiLocalCall(const char *hostName, int program, int procedure, xdrproc_t argumentEncoder, void *argument,
                 xdrproc_t resultDecoder, void *result, struct timeval timeOut);
void *Tapitn_InitAck(int *pid);
void Tapitn_TurnOverControl(int *flag);
void Tapitn_TakeControl(void);
int strEqual(const char *a, const char *b);

void call_fd_func(void);
void un_portmap(void);

// The callback program: dispatcher and handlers.
void tn_api_prog_1(struct svc_req *request, SVCXPRT *transport);
void *tn_api_quit_1(void *argument, struct svc_req *request);
void *tn_api_init_1(TnApiInitArgT *argument, struct svc_req *request);
void *tn_api_command_1(TnApiCommandArgT *argument, struct svc_req *request);
void *tn_api_message_1(TnApiMessageArgT *argument, struct svc_req *request);
void *tn4_api_notify_1(Tn4ApiNotifyArgT *argument, struct svc_req *request);
void *tn_api_dialog_event_1(TnApiDialogEventArgT *argument, struct svc_req *request);
void *tn_api_notify_1(TnApiNotifyArgT *argument, struct svc_req *request);

TARNEL_END_DECLS

using tarnel::wire::as_xdrproc;

#endif
