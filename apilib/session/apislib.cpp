// Start-up of a session: from TNAPIX for a launched client, or through the
// host's connection service for one that attaches itself. Both end in hookup.
#include <netconfig.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <rpc/rpc.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <tarnel/api_to_tn.h>
#include <tarnel/tnapi_errors.h>

#include "callback_service.h"
#include "session.h"
#include "pipeline/pipeline.h"
#include "trace/client_trace.h"

namespace {

constexpr int kRemoteHostPid = -223;             // switches the liveness check off

const char *const kNotCalled = "not called by a Tarnel product";
const char *const kGetHostByName = "unable to gethostbyname";

// The users whose processes count as the host on this machine: the client's
// own, the host process's owner (a client may serve a host of another user),
// and root.
tarnel::session::CallbackAccess localAccess() {
    tarnel::session::CallbackAccess access;
    access.users = {getuid(), geteuid(), 0};
    struct stat process;
    const std::string path = "/proc/" + std::to_string(hispid);
    if (hispid > 0 && stat(path.c_str(), &process) == 0) access.users.push_back(process.st_uid);
    return access;
}

// Every address the host's name resolves to, and the one the client uses.
tarnel::session::CallbackAccess remoteAccess(const char *hostName, const struct sockaddr_in &host) {
    tarnel::session::CallbackAccess access;
    access.remote = true;
    access.hosts.push_back(host.sin_addr.s_addr);
    struct addrinfo hints = {};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    struct addrinfo *found = nullptr;
    if (hostName != nullptr && getaddrinfo(hostName, nullptr, &hints, &found) == 0) {
        for (const struct addrinfo *a = found; a != nullptr; a = a->ai_next)
            access.hosts.push_back(reinterpret_cast<const struct sockaddr_in *>(a->ai_addr)->sin_addr.s_addr);
        freeaddrinfo(found);
    }
    return access;
}

}  // namespace

extern "C" {

void T_ApiErr(const char *message) { std::fprintf(stderr, "Tarnel API client \"%s\": %s.\n", myname, message); }

void *Tapitn_InitAck(int *pid) { return api_tn_init_ack_5_1(pid, tarnel_client); }

const char *hookup(int callbackProg, int callbackVers, int hostProg, int hostVers, int hostPid, const char *hostName) {
    myprog = callbackProg;
    myvers = callbackVers;
    hisprog = hostProg;
    hisvers = hostVers;
    hispid = hostPid;

    rpcb_unset(myprog, myvers, nullptr);

    // A request to a host that has gone writes to a closed connection; that
    // must fail the call (TA_errno -1), not kill the client with SIGPIPE.
    struct sigaction pipe_action;
    if (sigaction(SIGPIPE, nullptr, &pipe_action) == 0 && pipe_action.sa_handler == SIG_DFL) signal(SIGPIPE, SIG_IGN);

    struct sockaddr_in self, host;
    if (hostnameToRealAddr(thishost(), &self) != 0) return kGetHostByName;
    if (hostnameToRealAddr(hostName, &host) != 0) return kGetHostByName;

    // A host on this machine is reached over loopback and keeps its process
    // number for the liveness check. Any 127/8 address is this machine too:
    // many systems resolve their own name to 127.0.1.1, not 127.0.0.1.
    const bool local =
        host.sin_addr.s_addr == self.sin_addr.s_addr || tarnel::session::isLoopback(host.sin_addr.s_addr);

    // Only the host may call back: on this machine the service listens on
    // loopback for the users the host runs as; for a host elsewhere it
    // listens where that host can reach it, for the host's addresses only.
    client_transp = tarnel::session::listenForCallbacks(htonl(local ? INADDR_LOOPBACK : INADDR_ANY),
                                                        local ? localAccess() : remoteAccess(hostName, host));
    if (client_transp == nullptr) return "unable to create TCP service";

    struct netconfig *nconf = getnetconfigent("tcp");
    bool registered = nconf != nullptr && svc_reg(client_transp, myprog, myvers, tn_api_prog_1, nconf);
    if (nconf != nullptr) freenetconfigent(nconf);
    if (!registered) return "unable to register TCP client).";

    if (local) {
        host.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    } else {
        hispid = kRemoteHostPid;
    }

    client_socket = RPC_ANYSOCK;
    tarnel_client = clnttcp_create(&host, hisprog, hisvers, &client_socket, 0, 0);
    if (tarnel_client == nullptr) return "unable to create TCP client";
    // The socket is closed by T_ApiShutDown itself; the handle must not close
    // it again when destroyed (the number may have been reused by then).
    clnt_control(tarnel_client, CLSET_FD_NCLOSE, nullptr);
    // Every request is one record that waits for its reply: nothing is
    // gained by holding back a short segment, and a record sent in pieces
    // would stall on the host's delayed acknowledgement.
    const int nodelay = 1;
    (void)setsockopt(client_socket, IPPROTO_TCP, TCP_NODELAY, &nodelay, sizeof nodelay);
    struct timeval timeout = get_TA_TimeOut();
    clnt_control(tarnel_client, CLSET_TIMEOUT, reinterpret_cast<char *>(&timeout));

    tarnel::pipeline::serveCallbacksHook = &tarnel::session::serveReady;
    tarnel::trace::sessionStarted(hostName == nullptr ? "launched" : "attached", myprog, myvers, hisprog, hisvers);
    int pid = getpid();
    if (Tapitn_InitAck(&pid) == nullptr) return "unable to make initial contact";
    return nullptr;
}

const char *T_ApiStartUp(T_ApiFdFuncT fdFunc) {
    setvbuf(stdout, nullptr, _IONBF, 0);

    struct rlimit limit = {256, 256};
    (void)setrlimit(RLIMIT_NOFILE, &limit);

    sigset_t all;
    sigfillset(&all);
    (void)sigprocmask(SIG_UNBLOCK, &all, nullptr);

    T_ApiSetFdFunc(fdFunc);

    const char *env = std::getenv("TNAPIX");
    if (env == nullptr) return kNotCalled;

    // The name field is bounded by myname's size; a longer name is cut there.
    int callbackProg, callbackVers, hostProg, hostVers, hostPid;
    if (std::sscanf(env, "%d.%d %d.%d %d.%d.%255s", &callbackProg, &callbackVers, &hostProg, &hostVers, &hostPid,
                    &TA_clientno, myname) != 7)
        return kNotCalled;

    tarnel::trace::launchNumber = TA_clientno;
    if (TA_clientno >= 0) {
        pid_t child = fork();
        if (child < 0) return "unable to fork";
        if (child > 0) _exit(0);
    } else {
        TA_clientno = ~TA_clientno;
    }

    const char *message = hookup(callbackProg, callbackVers, hostProg, hostVers, hostPid, nullptr);
    if (message != nullptr) return message;
    call_fd_func();
    return nullptr;
}

int T_ApiConnectToSession(StringT clientString, StringT hostName, int program) {
    struct timeval timeout = get_TA_TimeOut();
    TA_bailout = 0;
    const char *host = (hostName == nullptr || hostName[0] == '\0') ? thishost() : hostName;

    int code;
    if (!apiLocalCall(host, program, 0, as_xdrproc(xdr_void), nullptr, as_xdrproc(xdr_void), nullptr, timeout)) {
        code = TA_ERR_SERVICE_UNREACHABLE;
    } else {
        TnRpcApiConnectArgT argument;
        argument.clientPid = getpid();
        argument.clientAddr = host_ntoa(thishost());
        argument.clientString = clientString;
        TnRpcApiConnectReturnT reply;
        std::memset(&reply, 0, sizeof reply);

        if (!apiLocalCall(host, program, 108, as_xdrproc(xdr_TnRpcApiConnectArgT), &argument,
                          as_xdrproc(xdr_TnRpcApiConnectReturnT), &reply, timeout)) {
            code = TA_ERR_CONNECT_FAILED;
        } else {
            code = reply.status;
        }
        if (code == 0) {
            tarnel::trace::connectProgram = program;
            if (hookup(reply.clientProg, reply.clientVers, reply.hostProg, reply.hostVers, reply.hostPid,
                       reply.hostName) != nullptr)
                code = TA_ERR_SETUP_FAILED;
            else
                call_fd_func();
        }
        xdr_free(as_xdrproc(xdr_TnRpcApiConnectReturnT), reinterpret_cast<char *>(&reply));
    }
    TA_errno = code;
    return code;
}
}
