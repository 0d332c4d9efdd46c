// One checked callback connection. Its records are read without blocking,
// as far as the bytes that have arrived go, and handed to the dispatch only
// when whole: a peer that stops in the middle of one costs nothing until it
// goes on, and a record announcing more than the limit ends the connection.
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include <wire/record_reader.h>
#include <wire/xdrproc.h>

#include "callback_endpoint.h"
#include "callback_service.h"

namespace tarnel::session {
namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
// Bytes read in one pass before other descriptors get their turn.
constexpr std::size_t kReadPerPass = 1 << 20;
// A reply is a few words; a peer that leaves even those unread is gone.
constexpr int kReplyWaitMs = 2000;

class Connection final : public Endpoint {
  public:
    Connection(int fd, Listener *owner, const sockaddr_in &peer);
    bool receive(rpc_msg *msg);
    xprt_stat status() const;
    bool arguments(xdrproc_t routine, void *arguments);
    bool reply(rpc_msg *msg);

  private:
    void closing() override {
        if (owner_ != nullptr) connectionGone(owner_, this);
        owner_ = nullptr;
    }
    bool fail() {
        dead_ = true;
        return false;
    }
    bool decodeCall(rpc_msg *msg);

    Listener *owner_;
    sockaddr_in peer_;
    wire::RecordReader reader_{kMaxCallbackRecord};
    std::unique_ptr<char[]> inbox_{new char[kReadChunk]};
    std::size_t inboxPos_ = 0, inboxLen_ = 0;
    XDR call_ = {};
    bool callOpen_ = false;
    u_int32_t xid_ = 0;
    bool dead_ = false;
};

Connection *connection(SVCXPRT *xprt) { return static_cast<Connection *>(Endpoint::of(xprt)); }

bool_t recvOp(SVCXPRT *xprt, rpc_msg *msg) { return connection(xprt)->receive(msg); }
xprt_stat statOp(SVCXPRT *xprt) { return connection(xprt)->status(); }
bool_t getargsOp(SVCXPRT *xprt, xdrproc_t routine, void *arguments) {
    return connection(xprt)->arguments(routine, arguments);
}
bool_t replyOp(SVCXPRT *xprt, rpc_msg *msg) { return connection(xprt)->reply(msg); }
// Releasing decoded arguments reads nothing from the stream.
bool_t freeargsOp(SVCXPRT *, xdrproc_t routine, void *arguments) {
    xdr_free(routine, static_cast<char *>(arguments));
    return TRUE;
}
void destroyOp(SVCXPRT *xprt) { Endpoint::of(xprt)->destroy(); }
bool_t controlOp(SVCXPRT *, const u_int, void *) { return FALSE; }

const struct SVCXPRT::xp_ops kOps = {recvOp, statOp, getargsOp, replyOp, freeargsOp, destroyOp};
const struct SVCXPRT::xp_ops2 kOps2 = {controlOp};

Connection::Connection(int fd, Listener *owner, const sockaddr_in &peer) : Endpoint(fd), owner_(owner), peer_(peer) {
    xprt_.xp_ops = &kOps;
    xprt_.xp_ops2 = &kOps2;
    xprt_.xp_rtaddr = {sizeof peer_, sizeof peer_, &peer_};
    xprt_.xp_addrlen = sizeof peer_;
    std::memcpy(&xprt_.xp_raddr, &peer_, sizeof peer_);
}

bool Connection::receive(rpc_msg *msg) {
    callOpen_ = false;
    if (dead_ || closed()) return false;
    for (std::size_t readNow = 0;;) {
        if (inboxPos_ < inboxLen_) {
            std::size_t used;
            const auto state = reader_.take(inbox_.get() + inboxPos_, inboxLen_ - inboxPos_, used);
            inboxPos_ += used;
            if (state == wire::RecordReader::State::Complete) return decodeCall(msg);
            if (state != wire::RecordReader::State::Partial) return fail();
        }
        if (readNow >= kReadPerPass) return false;
        const ssize_t n = read(xprt_.xp_fd, inbox_.get(), kReadChunk);
        inboxPos_ = 0;
        inboxLen_ = n > 0 ? static_cast<std::size_t>(n) : 0;
        if (n > 0) {
            readNow += inboxLen_;
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR)) return false;
        return fail();  // the peer closed, or the connection broke
    }
}

bool Connection::decodeCall(rpc_msg *msg) {
    xdrmem_create(&call_, const_cast<char *>(reader_.data()), static_cast<u_int>(reader_.size()), XDR_DECODE);
    if (!xdr_callmsg(&call_, msg)) return fail();
    // The host calls without credentials; other kinds are not ours to check.
    const auto flavor = msg->rm_call.cb_cred.oa_flavor;
    if (flavor != AUTH_NONE && flavor != AUTH_SYS) return fail();
    xid_ = msg->rm_xid;
    callOpen_ = true;
    return true;
}

xprt_stat Connection::status() const {
    if (dead_ || closed()) return XPRT_DIED;
    return inboxPos_ < inboxLen_ ? XPRT_MOREREQS : XPRT_IDLE;
}

bool Connection::arguments(xdrproc_t routine, void *arguments) {
    if (!callOpen_) return false;
    // Through the RPC library, so the routine is called with its own type.
    caddr_t target = static_cast<caddr_t>(arguments);
    return xdr_reference(&call_, &target, 0, routine);
}

bool Connection::reply(rpc_msg *msg) {
    if (dead_ || closed()) return false;
    msg->rm_xid = xid_;
    const xdrproc_t routine = wire::as_xdrproc(xdr_replymsg);
    const unsigned long size = xdr_sizeof(routine, msg);
    std::vector<char> record;
    try {
        record.resize(4 + size);
    } catch (const std::bad_alloc &) { return fail(); }
    XDR out;
    xdrmem_create(&out, record.data() + 4, static_cast<u_int>(size), XDR_ENCODE);
    const bool encoded = xdr_replymsg(&out, msg);
    const u_int length = xdr_getpos(&out);
    xdr_destroy(&out);
    if (!encoded || size == 0) return false;
    const u_int32_t mark = htonl(0x80000000u | length);
    std::memcpy(record.data(), &mark, 4);
    for (std::size_t sent = 0; sent < 4 + length;) {
        const ssize_t n = send(xprt_.xp_fd, record.data() + sent, 4 + length - sent, MSG_NOSIGNAL);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        pollfd writable = {xprt_.xp_fd, POLLOUT, 0};
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && poll(&writable, 1, kReplyWaitMs) > 0) continue;
        return fail();
    }
    return true;
}

}  // namespace

Endpoint *openCallbackConnection(int fd, Listener *owner, const sockaddr_in &peer) {
    // Replies go out at once: the host waits for each before its next call.
    const int nodelay = 1;
    (void)setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &nodelay, sizeof nodelay);
    Connection *c;
    try {
        c = new Connection(fd, owner, peer);
    } catch (const std::bad_alloc &) { return nullptr; }
    xprt_register(c->transport());
    return c;
}

}  // namespace tarnel::session
