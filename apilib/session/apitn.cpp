// The client's callback program: its dispatcher, the handlers of procedures
// 0 to 7, and the hand-over of control to and from the host.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <tarnel/api_to_tn.h>
#include <tarnel/tnapi_values.h>

#include "session.h"
#include "trace/client_trace.h"

namespace {

constexpr int kFilterNotification = 75;

char quit_result;  // any non-null address: the dispatcher sends the empty reply

void reply_empty(struct svc_req *request) { svc_sendreply(request->rq_xprt, as_xdrproc(xdr_void), nullptr); }

// Procedures 2, 3, 4, 6 and 7: reply first so the host's call returns, refuse
// a callback while the client holds control, run it, then hand control back
// unless the callback did so itself.
template <typename Run> void *run_callback(struct svc_req *request, Run run) {
    reply_empty(request);
    if (turn_over_needed) {
        T_ApiErr("Nested API_Init/T_ApiNotify/T_ApiMessage/T_ApiCommand");
        return nullptr;
    }
    turn_over_needed = 1;
    run();
    if (turn_over_needed) Tapitn_TurnOverControl(&TA_bailout);
    turn_over_needed = 0;
    return nullptr;
}

using Handler = void *(*)(void *, struct svc_req *);

// Adapts a typed handler to the dispatcher's untyped argument area.
template <typename Arg, void *(*Fn)(Arg *, struct svc_req *)> void *untyped(void *argument, struct svc_req *request) {
    return Fn(static_cast<Arg *>(argument), request);
}

}  // namespace

extern "C" {

void Tapitn_TurnOverControl(int *flag) {
    if (tarnel_client != nullptr) (void)api_tn_over_1(flag, tarnel_client);
}

void Tapitn_TakeControl(void) {
    int none = 0;
    if (tarnel_client != nullptr) (void)api_tn_take_control_1(&none, tarnel_client);
}

void T_ApiBailOut(void) { TA_bailout = 1; }

int T_ApiDoneCommand(void) {
    if (!turn_over_needed) return -1;
    Tapitn_TurnOverControl(&TA_bailout);
    turn_over_needed = 0;
    return 0;
}

int T_ApiTakeControl(void) {
    if (turn_over_needed) return -1;
    Tapitn_TakeControl();
    turn_over_needed = 1;
    return 0;
}

void *tn_api_quit_1(void *, struct svc_req *) {
    TA_bailout = 1;
    return &quit_result;
}

void *tn_api_init_1(TnApiInitArgT *argument, struct svc_req *request) {
    return run_callback(request, [&] { T_ApiInitialize(argument->initialization); });
}

void *tn_api_command_1(TnApiCommandArgT *argument, struct svc_req *request) {
    return run_callback(request, [&] { T_ApiCommand(argument->command); });
}

void *tn_api_message_1(TnApiMessageArgT *argument, struct svc_req *request) {
    return run_callback(request, [&] { T_ApiMessage(argument->message, argument->uint1, argument->uint2); });
}

void *tn4_api_notify_1(Tn4ApiNotifyArgT *, struct svc_req *) {
    T_ApiErr("Tarnel process sent old-style notification");
    return nullptr;
}

void *tn_api_dialog_event_1(TnApiDialogEventArgT *argument, struct svc_req *request) {
    return run_callback(request, [&] {
        if (argument->int1 == 0) {
            --callbacksDone;
            modalRetval = argument->int3;
        } else {
            T_ApiDialogEvent(argument->int1, argument->int2, argument->int3);
        }
    });
}

void *tn_api_notify_1(TnApiNotifyArgT *argument, struct svc_req *request) {
    return run_callback(request, [&] {
        // A filter notification carries its arguments packed in the text; the
        // client receives them split.
        if (argument->notification == kFilterNotification)
            translateFileToFile(argument->objId, argument->text, argument->number);
        else
            T_ApiNotify(argument->notification, argument->objId, argument->text, argument->number);
    });
}

void tn_api_prog_1(struct svc_req *request, SVCXPRT *transport) {
    union {
        TnApiInitArgT init;
        TnApiCommandArgT command;
        TnApiMessageArgT message;
        Tn4ApiNotifyArgT old_notify;
        TnApiDialogEventArgT dialog_event;
        TnApiNotifyArgT notify;
    } argument;
    xdrproc_t decode;
    Handler run;

    switch (request->rq_proc) {
    case 0: svc_sendreply(transport, as_xdrproc(xdr_void), nullptr); return;
    case 1:
        decode = as_xdrproc(xdr_void);
        run = tn_api_quit_1;
        break;
    case 2:
        decode = as_xdrproc(xdr_TnApiInitArgT);
        run = untyped<TnApiInitArgT, tn_api_init_1>;
        break;
    case 3:
        decode = as_xdrproc(xdr_TnApiCommandArgT);
        run = untyped<TnApiCommandArgT, tn_api_command_1>;
        break;
    case 4:
        decode = as_xdrproc(xdr_TnApiMessageArgT);
        run = untyped<TnApiMessageArgT, tn_api_message_1>;
        break;
    case 5:
        decode = as_xdrproc(xdr_Tn4ApiNotifyArgT);
        run = untyped<Tn4ApiNotifyArgT, tn4_api_notify_1>;
        break;
    case 6:
        decode = as_xdrproc(xdr_TnApiDialogEventArgT);
        run = untyped<TnApiDialogEventArgT, tn_api_dialog_event_1>;
        break;
    case 7:
        decode = as_xdrproc(xdr_TnApiNotifyArgT);
        run = untyped<TnApiNotifyArgT, tn_api_notify_1>;
        break;
    default: svcerr_noproc(transport); return;
    }

    std::memset(&argument, 0, sizeof argument);
    if (!svc_getargs(transport, decode, reinterpret_cast<char *>(&argument))) {
        tarnel::trace::callbackReceived(static_cast<int>(request->rq_proc), decode, nullptr);
        svcerr_decode(transport);
        // Strings decoded before the failing field must not leak.
        (void)svc_freeargs(transport, decode, reinterpret_cast<char *>(&argument));
        return;
    }
    tarnel::trace::callbackReceived(static_cast<int>(request->rq_proc), decode, &argument);
    void *result = run(&argument, request);
    if (result != nullptr && !svc_sendreply(transport, as_xdrproc(xdr_void), nullptr)) svcerr_systemerr(transport);
    if (!svc_freeargs(transport, decode, reinterpret_cast<char *>(&argument))) {
        std::fputs("unable to free arguments\n", stderr);
        std::exit(1);
    }
}
}
