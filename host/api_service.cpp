// The host's API program: a TCP service on the loopback address (or
// --listen's), registered with the local RPC binder. Every procedure goes
// through the procedure table: decode with its argument routine, run the
// family handler, apply the scenario's rule, send with its result routine,
// release both.
#include <rpc/rpc.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

#include "handlers/handlers.h"
#include "record_fields.h"
#include "trace/encoding.h"
#include "trace/values.h"
#include "replay.h"
#include "rpc_service.h"

namespace tarnel::host {
namespace {

using tarnel::wire::ProcEntry;

SVCXPRT *apiTransport = nullptr;
bool registered = false;

RequestRule *matchRule(Host &host, u_int proc, const ClientSession *client) {
    for (RequestRule &r : host.scenario.rules) {
        if (static_cast<u_int>(r.proc) != proc || r.times == 0) continue;
        if (!r.client.empty() && (!client || client->id != r.client)) continue;
        return &r;
    }
    return nullptr;
}

// A zeroed buffer for a record, never of size 0 so the pointer is valid.
void *zeroed(std::size_t size) { return std::calloc(1, size ? size : 1); }

void dispatch(struct svc_req *rq, SVCXPRT *xprt) {
    Host &host = *theHost;
    u_int proc = rq->rq_proc;
    if (proc == 0) {
        svc_sendreply(xprt, as_xdrproc(xdr_void), nullptr);
        return;
    }
    ClientSession *client = host.byApiFd(xprt->xp_fd);
    // The request line's leading fields; a handler may name the session anew.
    auto line = [](const ClientSession *c, u_int number) {
        return trace::Event("request").word("client", c ? c->id : "?").number("proc", number);
    };
    const ProcEntry *e = tarnel::wire::findProc(proc);
    if (!e) {
        svcerr_noproc(xprt);
        say(line(client, proc).flag("unknown").then().flag("proc_unavail"));
        fail("request for procedure " + std::to_string(proc) + ", which the program lacks");
        return;
    }
    void *arg = zeroed(e->argSize);
    void *res = zeroed(e->resSize);
    if (!svc_getargs(xprt, e->argProc, static_cast<caddr_t>(arg))) {
        svcerr_decode(xprt);
        say(line(client, proc).word("stub", e->stub).then().flag("garbage_args"));
        fail(std::string("cannot decode the arguments of ") + e->stub);
        svc_freeargs(xprt, e->argProc, static_cast<caddr_t>(arg));
        std::free(arg);
        std::free(res);
        return;
    }

    Request req{*e, client, xprt, arg, res, trace::Event("request"), {}};
    // A write shows what it writes: every field of its argument, from the
    // field table; its handler adds only what the argument does not say.
    // A replayed request shows its whole argument, as the trace does.
    if (storesValue(e->argType) || (host.replay && e->argSize)) req.detail.spread(argFields(e->argType, arg));
    if (host.scenario.logArgs) req.detail.word("args", trace::xdrHex(e->argProc, arg));
    Handler h = findHandler(proc);
    trace::Node replayed;
    if (host.replay)
        replayed = replayRequest(host, req);
    else if (h)
        h(host, req);
    else
        req.detail.flag("unhandled");
    const ClientSession *asked = client;
    client = req.client;
    host.served.push_back({client ? client->id : "?", static_cast<int>(proc),
                           host.scenario.keepArgs ? argsAsJson(e->argType, arg) : nullptr});
    if (host.scenario.forbid.count(static_cast<int>(proc)))
        fail("request " + std::to_string(proc) + " (" + e->stub + ") from " + host.served.back().client +
             " is forbidden");

    RequestRule *rule = host.replay ? nullptr : matchRule(host, proc, client);
    if (rule && rule->times > 0) rule->times--;
    // A handler that found the session names it; a connection that never
    // acknowledged stays "?".
    trace::Event event = line(client ? client : asked, proc).word("stub", e->stub).spread(req.detail.fields).then();
    if (host.replay) {
        event.spread(replayed);  // answered (or refused) from the recording
    } else if (rule && rule->drop) {
        // The library destroys the transport when its next read finds the
        // connection closed; destroying it here would pull it from under the
        // request handling that called us.
        shutdown(xprt->xp_fd, SHUT_RDWR);
        event.flag("dropped");
    } else {
        int *status = tarnel::wire::replyStatus(*e, res);
        if (rule && rule->status && status) *status = *rule->status;
        bool sent = svc_sendreply(xprt, e->resProc, static_cast<caddr_t>(res));
        if (!sent)
            event.flag("reply-failed");
        else if (e->resSize == 0)
            event.flag("reply");
        else if (status)
            event.flag("reply").number("status", *status);
        else
            event.flag("reply").flag("zero");
    }
    say(event);
    for (const trace::Event &after : req.events) say(after);

    if (!svc_freeargs(xprt, e->argProc, static_cast<caddr_t>(arg)))
        fail(std::string("cannot release the arguments of ") + e->stub);
    xdr_free(e->resProc, static_cast<char *>(res));
    std::free(arg);
    std::free(res);

    // Callbacks go out from the main loop once this reply is on its way.
    if (rule && !rule->drop && !rule->then.empty() && client)
        client->sequences.push_back(
            {std::deque<CallbackSpec>(rule->then.begin(), rule->then.end()), client->controls.size()});
}

}  // namespace

bool startApiService(Host &host) {
    installHandlers();
    int fd = serviceSocket(SOCK_STREAM, host.listenAddr);
    if (fd < 0) return false;
    apiTransport = svc_vc_create(fd, 0, 0);
    if (!apiTransport) {
        fail("cannot create the API service transport");
        close(fd);
        return false;
    }
    registered = registerService(apiTransport, static_cast<u_long>(host.scenario.apiProg),
                                 static_cast<u_long>(host.scenario.apiVers), "tcp", dispatch);
    if (!registered) {
        fail("cannot register the API program with rpcbind");
        return false;
    }
    return true;
}

void stopApiService(Host &host) {
    stopService(apiTransport, registered, static_cast<u_long>(host.scenario.apiProg),
                static_cast<u_long>(host.scenario.apiVers));
}

}  // namespace tarnel::host
