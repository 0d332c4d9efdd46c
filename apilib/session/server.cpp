// The service loop: waits on the callback program's descriptors (and the
// caller's), notices a vanished host, reports descriptor changes, shuts down.
#include <signal.h>
#include <sys/select.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "callback_service.h"
#include "session.h"
#include "pipeline/pipeline.h"
#include "trace/client_trace.h"

namespace {

constexpr int kLivenessSeconds = 22;

T_ApiFdFuncT fd_func = nullptr;
unsigned int old_svc_fds = 0;

// Descriptors 0 to 31 of a set, as one word (bit n is descriptor n).
unsigned int low_word(const fd_set &set) {
    unsigned int word = 0;
    for (int fd = 0; fd < 32; ++fd)
        if (FD_ISSET(fd, &set)) word |= 1u << fd;
    return word;
}

}  // namespace

void tarnel::session::serveReady(fd_set &ready) {
    const ServicePass pass;
    svc_getreqset(&ready);
}

extern "C" {

int T_ApiTarnelAlive(void) {
    if (hispid <= 0) return 1;
    return kill(hispid, 0) == 0;
}

void un_portmap(void) {
    if (myprog != 0) {
        rpcb_unset(myprog, myvers, nullptr);
        myprog = 0;
    }
}

void call_fd_func(void) {
    if (fd_func == nullptr) return;
    unsigned int now = low_word(svc_fdset);
    if (now == old_svc_fds) return;
    for (int fd = 0; fd < 32; ++fd)
        if ((old_svc_fds >> fd & 1u) && !(now >> fd & 1u)) fd_func(fd, 0);
    for (int fd = 0; fd < 32; ++fd)
        if (!(old_svc_fds >> fd & 1u) && (now >> fd & 1u)) fd_func(fd, 1);
    old_svc_fds = now;
}

T_ApiFdFuncT T_ApiSetFdFunc(T_ApiFdFuncT function) {
    T_ApiFdFuncT previous = fd_func;
    fd_func = function;
    call_fd_func();
    return previous;
}

int T_ApiService(unsigned int *mask) {
    // The whole RPC descriptor set is served, not only descriptors 0 to 31:
    // a client that opened many files before start-up still gets its calls.
    // TA_SelectMask and the caller's word keep their 32-descriptor form.
    for (;;) {
        const fd_set rpc = svc_fdset;
        const unsigned int rpc_word = low_word(rpc);
        const unsigned int caller = mask != nullptr ? *mask : 0;
        TA_SelectMask = rpc_word | caller;

        fd_set ready = rpc;
        int top = svc_maxfd;
        for (int fd = 0; fd < 32; ++fd)
            if (caller >> fd & 1u) {
                FD_SET(fd, &ready);
                top = std::max(top, fd);
            }
        struct timeval timeout = {kLivenessSeconds, 0};
        int count = select(top + 1, &ready, nullptr, nullptr, &timeout);

        if (count <= 0) {
            if (!T_ApiTarnelAlive()) {
                un_portmap();
                T_ApiEmergency();
                std::exit(1);
            }
            if (count == 0) continue;
            TA_SelectMask = 0;
        } else {
            TA_SelectMask = low_word(ready);
            fd_set rpc_ready;
            FD_ZERO(&rpc_ready);
            bool any = false;
            for (int fd = 0; fd <= top; ++fd)
                if (FD_ISSET(fd, &ready) && FD_ISSET(fd, &rpc)) {
                    FD_SET(fd, &rpc_ready);
                    any = true;
                }
            if (any) tarnel::session::serveReady(rpc_ready);
            // A nested pass inside a callback may have rewritten the mask;
            // what it left there is what this pass reports.
            TA_SelectMask &= ~rpc_word;
        }
        if (mask != nullptr) *mask = TA_SelectMask;
        call_fd_func();
        return count;
    }
}

int T_ApiServiceModalCallbacks(void) {
    const int saved_turn_over = turn_over_needed;
    const int saved_retval = modalRetval;
    turn_over_needed = 0;
    modalRetval = 0;
    const int level = callbacksDone;
    callbacksDone = level + 1;
    while (callbacksDone > level) T_ApiService(nullptr);
    turn_over_needed = saved_turn_over;
    const int result = modalRetval;
    modalRetval = saved_retval;
    return result;
}

int T_ApiRun(void) {
    const char *message = T_ApiStartUp(nullptr);
    if (message != nullptr) {
        T_ApiErr(message);
    } else {
        while (TA_bailout == 0) T_ApiService(nullptr);
    }
    T_ApiShutDown();
    return message != nullptr ? 1 : 0;
}

void T_ApiShutDown(void) {
    tarnel::pipeline::abandon();
    if (tarnel_client != nullptr) tarnel::trace::sessionEnded();
    un_portmap();
    if (client_transp != nullptr) {
        svc_destroy(client_transp);
        client_transp = nullptr;
    }
    if (client_socket >= 0) {
        close(client_socket);
        client_socket = -1;
    }
    if (tarnel_client != nullptr) {
        clnt_destroy(tarnel_client);
        tarnel_client = nullptr;
    }
}
}
