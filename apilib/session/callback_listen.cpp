// The callback program's listening socket. Every connection is judged when
// it is accepted, before a byte of it is read; one that fails is closed at
// once, so a flood of strangers never holds a descriptor and can never
// crowd out the host's own connection.
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <new>
#include <vector>

#include "callback_endpoint.h"
#include "callback_service.h"

namespace tarnel::session {

namespace {
constexpr int kAcceptsPerPass = 64;
}  // namespace

class Listener final : public Endpoint {
  public:
    Listener(int fd, const sockaddr_in &local, CallbackAccess access);
    void acceptAll();
    void forget(Endpoint *connection) {
        connections_.erase(std::remove(connections_.begin(), connections_.end(), connection), connections_.end());
    }

  private:
    void closing() override;
    bool acceptWhenFull();

    sockaddr_in local_;
    CallbackAccess access_;
    std::vector<Endpoint *> connections_;
    // Held so that, with every descriptor taken, a pending connection can
    // still be taken off the queue and closed instead of waking the loop
    // forever.
    int spare_ = open("/dev/null", O_RDONLY | O_CLOEXEC);
};

void connectionGone(Listener *owner, Endpoint *connection) { owner->forget(connection); }

namespace {

Listener *listener(SVCXPRT *xprt) { return static_cast<Listener *>(Endpoint::of(xprt)); }

bool_t recvOp(SVCXPRT *xprt, rpc_msg *) {
    listener(xprt)->acceptAll();
    return FALSE;  // accepting is all; calls come on the connections
}
xprt_stat statOp(SVCXPRT *) { return XPRT_IDLE; }
bool_t getargsOp(SVCXPRT *, xdrproc_t, void *) { return FALSE; }
bool_t replyOp(SVCXPRT *, rpc_msg *) { return FALSE; }
bool_t freeargsOp(SVCXPRT *, xdrproc_t, void *) { return FALSE; }
void destroyOp(SVCXPRT *xprt) { Endpoint::of(xprt)->destroy(); }
bool_t controlOp(SVCXPRT *, const u_int, void *) { return FALSE; }

const struct SVCXPRT::xp_ops kOps = {recvOp, statOp, getargsOp, replyOp, freeargsOp, destroyOp};
const struct SVCXPRT::xp_ops2 kOps2 = {controlOp};

}  // namespace

Listener::Listener(int fd, const sockaddr_in &local, CallbackAccess access)
    : Endpoint(fd), local_(local), access_(std::move(access)) {
    xprt_.xp_ops = &kOps;
    xprt_.xp_ops2 = &kOps2;
    xprt_.xp_port = ntohs(local_.sin_port);
    // Registration with the binder publishes this address.
    xprt_.xp_ltaddr = {sizeof local_, sizeof local_, &local_};
}

void Listener::closing() {
    const std::vector<Endpoint *> open = std::move(connections_);
    connections_.clear();
    for (Endpoint *c : open) c->destroy();
    if (spare_ >= 0) close(spare_);
    spare_ = -1;
}

bool Listener::acceptWhenFull() {
    if (spare_ < 0) return false;
    close(spare_);
    const int fd = accept4(xprt_.xp_fd, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd >= 0) close(fd);
    spare_ = open("/dev/null", O_RDONLY | O_CLOEXEC);
    return fd >= 0;
}

void Listener::acceptAll() {
    for (int i = 0; i < kAcceptsPerPass; ++i) {
        sockaddr_in peer = {};
        socklen_t length = sizeof peer;
        const int fd = accept4(xprt_.xp_fd, reinterpret_cast<sockaddr *>(&peer), &length, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0) {
            if (errno == EINTR || errno == ECONNABORTED) continue;
            if ((errno == EMFILE || errno == ENFILE) && acceptWhenFull()) continue;
            return;
        }
        sockaddr_in here = {};
        socklen_t hereLength = sizeof here;
        Endpoint *c = nullptr;
        if (length == sizeof peer && getsockname(fd, reinterpret_cast<sockaddr *>(&here), &hereLength) == 0 &&
            access_.admits(peer, here)) {
            try {
                connections_.reserve(connections_.size() + 1);
                c = openCallbackConnection(fd, this, peer);
            } catch (const std::bad_alloc &) {}
        }
        if (c == nullptr) {
            close(fd);
            continue;
        }
        connections_.push_back(c);
    }
}

SVCXPRT *listenForCallbacks(in_addr_t address, CallbackAccess access) {
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) return nullptr;
    sockaddr_in local = {};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = address;
    socklen_t length = sizeof local;
    Listener *l = nullptr;
    if (bind(fd, reinterpret_cast<sockaddr *>(&local), sizeof local) == 0 && listen(fd, SOMAXCONN) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr *>(&local), &length) == 0) {
        try {
            l = new Listener(fd, local, std::move(access));
        } catch (const std::bad_alloc &) {}
    }
    if (l == nullptr) {
        close(fd);
        return nullptr;
    }
    xprt_register(l->transport());
    return l->transport();
}

}  // namespace tarnel::session
