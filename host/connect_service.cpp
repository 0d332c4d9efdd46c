// The connection service through which a client that was not launched asks
// for a session: UDP, version 1, procedures 0 and 108, on the loopback
// address (or --listen's).
#include <rpc/rpc.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>

#include "host.h"
#include "rpc_service.h"
#include "tarnel/api_to_tn.h"

namespace tarnel::host {
namespace {

SVCXPRT *connectTransport = nullptr;
bool registered = false;
constexpr u_long kConnectVers = 1;

ClientSession *sessionForAttach(Host &host) {
    const ConnectSpec &cs = host.scenario.connect;
    if (!cs.launchId.empty()) return host.find(cs.launchId);
    for (auto it = host.clients.rbegin(); it != host.clients.rend(); ++it)
        if (!(*it)->acked && !(*it)->attached) return it->get();
    // Nobody launched it: a session of its own.
    auto c = std::make_unique<ClientSession>();
    c->id = "a" + std::to_string(host.clients.size() + 1);
    c->callbackProg = host.scenario.apiProg + static_cast<int>(host.clients.size()) + 1;
    c->launchedAt = Clock::now();
    host.clients.push_back(std::move(c));
    return host.clients.back().get();
}

// The caller's address: where the client runs, and so where its callback
// program and the binder that knows it are.
std::optional<in_addr> callerAddress(SVCXPRT *xprt) {
    const netbuf *caller = svc_getrpccaller(xprt);
    sockaddr_in sa{};
    if (!caller || !caller->buf || caller->len < sizeof sa) return std::nullopt;
    std::memcpy(&sa, caller->buf, sizeof sa);
    if (sa.sin_family != AF_INET) return std::nullopt;
    return sa.sin_addr;
}

void connect108(Host &host, SVCXPRT *xprt) {
    TnRpcApiConnectArgT arg{};
    if (!svc_getargs(xprt, as_xdrproc(xdr_TnRpcApiConnectArgT), reinterpret_cast<caddr_t>(&arg))) {
        svcerr_decode(xprt);
        say(trace::Event("attach").number("proc", 108).then().flag("garbage_args"));
        fail("cannot decode a connection request");
        svc_freeargs(xprt, as_xdrproc(xdr_TnRpcApiConnectArgT), reinterpret_cast<caddr_t>(&arg));
        return;
    }
    const ConnectSpec &cs = host.scenario.connect;
    const std::optional<in_addr> from = callerAddress(xprt);
    trace::Event line = trace::Event("attach")
                            .number("proc", 108)
                            .number("pid", arg.clientPid)
                            .text("string", arg.clientString ? arg.clientString : "")
                            .text("addr", arg.clientAddr ? arg.clientAddr : "")
                            .word("from", from ? dotted(*from) : "?");
    if (!cs.answer108) {
        svcerr_noproc(xprt);
        say(line.then().flag("proc_unavail"));
    } else {
        TnRpcApiConnectReturnT ret{};
        // A client on another machine must be told an address it can reach.
        std::string hostName = cs.hostName.value_or(host.listen.empty() ? "localhost" : host.listen);
        ret.hostName = const_cast<char *>(hostName.c_str());
        ret.status = cs.status;
        ClientSession *c = nullptr;
        if (cs.status == 0) {
            c = sessionForAttach(host);
            if (c) {
                c->clientPid = arg.clientPid;
                c->attached = true;
                c->attachedFrom = from;
            }
            ret.clientProg = cs.clientProg.value_or(c ? c->callbackProg : 0);
            ret.clientVers = cs.clientVers.value_or(c ? c->callbackVers : 1);
            ret.hostProg = cs.hostProg.value_or(host.scenario.apiProg);
            ret.hostVers = cs.hostVers.value_or(host.scenario.apiVers);
            ret.hostPid = cs.hostPid.value_or(static_cast<int>(getpid()));
        }
        if (ret.clientProg) host.callbackPrograms.insert({ret.clientProg, ret.clientVers});
        bool sent = svc_sendreply(xprt, as_xdrproc(xdr_TnRpcApiConnectReturnT), reinterpret_cast<caddr_t>(&ret));
        line.then().number("status", cs.status);
        if (c)
            line.word("client", c->id)
                .word("callback", std::to_string(ret.clientProg) + "." + std::to_string(ret.clientVers));
        if (!sent) line.flag("reply-failed");
        say(line);
        if (c) host.attachesSeen++;
    }
    if (!svc_freeargs(xprt, as_xdrproc(xdr_TnRpcApiConnectArgT), reinterpret_cast<caddr_t>(&arg)))
        fail("cannot release a connection request");
}

void dispatch(struct svc_req *rq, SVCXPRT *xprt) {
    Host &host = *theHost;
    switch (rq->rq_proc) {
    case 0:
        svc_sendreply(xprt, as_xdrproc(xdr_void), nullptr);
        say(trace::Event("attach").number("proc", 0).then().flag("reply"));
        break;
    case 108: connect108(host, xprt); break;
    default:
        svcerr_noproc(xprt);
        say(trace::Event("attach").number("proc", rq->rq_proc).then().flag("proc_unavail"));
        break;
    }
}

}  // namespace

bool startConnectService(Host &host) {
    int fd = serviceSocket(SOCK_DGRAM, host.listenAddr);
    if (fd < 0) return false;
    connectTransport = svc_dg_create(fd, 0, 0);
    if (!connectTransport) {
        fail("cannot create the connection service transport");
        close(fd);
        return false;
    }
    registered = registerService(connectTransport, static_cast<u_long>(host.scenario.connect.program), kConnectVers,
                                 "udp", dispatch);
    if (!registered) {
        fail("cannot register the connection service with rpcbind");
        return false;
    }
    return true;
}

void stopConnectService(Host &host) {
    stopService(connectTransport, registered, static_cast<u_long>(host.scenario.connect.program), kConnectVers);
}

}  // namespace tarnel::host
