// Calls of the client's callback program, found through the RPC binder of
// the client's machine: this one for a launched client, the one its attach
// came from for an attached client. Only the main loop calls here, never a
// dispatcher: a client may be waiting for the reply to its own request.
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <rpc/rpc.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "host.h"
#include "tarnel/api_to_tn.h"
#include "trace/values.h"
#include "wire/callback_table.h"

namespace tarnel::host {
namespace {

using Expect = CallbackSpec::Expect;

const char *expectName(Expect e) {
    switch (e) {
    case Expect::Ok: return "ok";
    case Expect::ProcUnavail: return "proc_unavail";
    case Expect::GarbageArgs: return "garbage_args";
    case Expect::NoReply: return "no_reply";
    case Expect::Error: return "error";
    case Expect::Any: return "any";
    }
    return "?";
}

// A socket of the type bound to `address` (any port); -1 with errno set when
// the address is not this machine's or the socket cannot be made.
int boundSocket(int type, in_addr address) {
    const int sock = socket(AF_INET, type | SOCK_CLOEXEC, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr = address;
    if (sock >= 0 && bind(sock, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0) return sock;
    const int error = errno;
    if (sock >= 0) close(sock);
    errno = error;
    return -1;
}

// Whether an address is one of this machine's own: it can be bound here.
bool ownAddress(in_addr address) {
    if ((ntohl(address.s_addr) >> 24) == 127) return true;
    const int sock = boundSocket(SOCK_DGRAM, address);
    if (sock >= 0) close(sock);
    return sock >= 0;
}

bool connectCallback(const Host &host, ClientSession &c, std::string &error) {
    if (c.callback) return true;
    // A client on this machine listens on loopback only, whichever of the
    // machine's addresses it attached from.
    const bool remote = c.attachedFrom && !ownAddress(*c.attachedFrom);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (remote) addr.sin_addr = *c.attachedFrom;
    addr.sin_port = 0;  // asks the binder on the client's machine
    const bool bound = remote && !host.listen.empty();
    // Bound to the address the host listens on, so that the client sees its
    // callbacks come from the address it attached to.
    int sock = bound ? boundSocket(SOCK_STREAM, host.listenAddr) : RPC_ANYSOCK;
    if (bound && sock < 0) {
        error = "bind " + dotted(host.listenAddr) + ": " + std::strerror(errno);
        return false;
    }
    c.callback =
        clnttcp_create(&addr, static_cast<u_long>(c.callbackProg), static_cast<u_long>(c.callbackVers), &sock, 0, 0);
    if (!c.callback) {
        error = clnt_spcreateerror("connect");
        while (!error.empty() && error.back() == '\n') error.pop_back();
        if (bound) close(sock);
        return false;
    }
    // The handle closes only the sockets it made itself.
    if (bound) clnt_control(c.callback, CLSET_FD_CLOSE, nullptr);
    c.callbackSocket = sock;
    // A callback is one record that waits for its reply: send it at once.
    const int nodelay = 1;
    (void)setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &nodelay, sizeof nodelay);
    return true;
}

}  // namespace

void closeCallback(ClientSession &c) {
    if (c.callback) clnt_destroy(c.callback);
    c.callback = nullptr;
    c.callbackSocket = -1;
}

std::shared_ptr<OpenControl> sendCallback(Host &host, ClientSession &c, const CallbackSpec &spec) {
    int n = ++c.callbackCount;
    trace::Event line = trace::Event("callback")
                            .word("client", c.id)
                            .number("n", n)
                            .number("proc", spec.proc)
                            .word("name", callbackName(spec.proc));

    TnApiInitArgT init{spec.initialization};
    TnApiCommandArgT command{spec.command};
    TnApiMessageArgT message{const_cast<char *>(spec.message.c_str()), spec.uint1, spec.uint2};
    Tn4ApiNotifyArgT old{spec.notification, spec.objId, const_cast<char *>(spec.text.c_str())};
    TnApiDialogEventArgT dialog{spec.int1, spec.int2, spec.int3};
    TnApiNotifyArgT notify{spec.notification, spec.objId, const_cast<char *>(spec.text.c_str()), spec.number};
    xdrproc_t argProc = as_xdrproc(xdr_void);
    void *arg = nullptr;
    switch (spec.proc) {
    case 2:
        argProc = as_xdrproc(xdr_TnApiInitArgT), arg = &init;
        break;
    case 3:
        argProc = as_xdrproc(xdr_TnApiCommandArgT), arg = &command;
        break;
    case 4:
        argProc = as_xdrproc(xdr_TnApiMessageArgT), arg = &message;
        break;
    case 5:
        argProc = as_xdrproc(xdr_Tn4ApiNotifyArgT), arg = &old;
        break;
    case 6:
        argProc = as_xdrproc(xdr_TnApiDialogEventArgT), arg = &dialog;
        break;
    case 7:
        argProc = as_xdrproc(xdr_TnApiNotifyArgT), arg = &notify;
        break;
    default: break;
    }
    // The record's fields by the names the protocol gives them.
    if (arg) line.spread(trace::valueNode(wire::findCallback(spec.proc)->argType, arg));
    if (spec.garbage) {
        // No argument bytes at all: no callback record decodes from nothing.
        argProc = as_xdrproc(xdr_void), arg = nullptr;
        line.flag("garbage");
    }

    Expect got;
    std::string outcome;  // a word, unless `error` says what went wrong
    Clock::time_point sentAt = Clock::now();
    std::string error;
    if (!connectCallback(host, c, error)) {
        got = Expect::Error;
    } else {
        timeval tv{spec.timeoutMs / 1000, (spec.timeoutMs % 1000) * 1000};
        enum clnt_stat st = clnt_call(c.callback, static_cast<rpcproc_t>(spec.proc), argProc, static_cast<caddr_t>(arg),
                                      as_xdrproc(xdr_void), nullptr, tv);
        switch (st) {
        case RPC_SUCCESS: got = Expect::Ok, outcome = "ok"; break;
        case RPC_TIMEDOUT:
            got = Expect::NoReply, outcome = "no-reply";
            // The TCP handle cannot be trusted after a time-out (its record
            // stream stops mid-read): the next callback connects afresh.
            closeCallback(c);
            break;
        case RPC_PROCUNAVAIL: got = Expect::ProcUnavail, outcome = "proc_unavail"; break;
        case RPC_CANTDECODEARGS: got = Expect::GarbageArgs, outcome = "garbage_args"; break;
        default:
            got = Expect::Error;
            error = clnt_sperrno(st);
            // The connection is in an unknown state; the next callback reconnects.
            closeCallback(c);
            break;
        }
    }
    line.then();
    if (got == Expect::Error) {
        line.text("error", error);
        outcome = "error=" + trace::quotedText(error);
    } else {
        line.flag(outcome);
    }
    say(line);
    if (spec.expect != Expect::Any && got != spec.expect)
        fail("callback " + std::to_string(n) + " to " + c.id + ": expected " + expectName(spec.expect) + ", got " +
             outcome);
    if (got != Expect::Ok || !spec.expectsOver()) return nullptr;
    auto control =
        openControl(c, "callback-" + std::to_string(n),
                    spec.over == CallbackSpec::Over::Value ? std::optional<int>(spec.overValue) : std::nullopt);
    control->since = sentAt;  // the round trip counts from the call
    return control;
}

}  // namespace tarnel::host
