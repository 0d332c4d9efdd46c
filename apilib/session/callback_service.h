// The transport of the client's callback program: a listening socket of our
// own whose connections are checked when accepted, before a byte is read,
// and whose records are read without blocking and handed whole to the RPC
// library's dispatch. Both ends plug into the RPC library's service table,
// so the service loop's descriptor set and dispatch serve them unchanged.
#ifndef TARNEL_SESSION_CALLBACK_SERVICE_H
#define TARNEL_SESSION_CALLBACK_SERVICE_H

#include <netinet/in.h>
#include <rpc/rpc.h>
#include <sys/types.h>

#include <cstddef>
#include <vector>

namespace tarnel::session {

// Largest callback record served; a record announcing more closes its
// connection at once.
inline constexpr std::size_t kMaxCallbackRecord = 16u << 20;

// Who may connect. A host on this machine: a loopback peer whose socket
// belongs to one of `users`. A host elsewhere: a peer at one of `hosts`.
// An address of the loopback network, 127/8.
inline bool isLoopback(in_addr_t address) { return (ntohl(address) >> 24) == 127; }

struct CallbackAccess {
    bool remote = false;
    std::vector<in_addr_t> hosts;  // network byte order
    std::vector<uid_t> users;

    bool admits(const sockaddr_in &peer, const sockaddr_in &local) const;
};

// The owner of the TCP socket at `peer` that is connected to `local`, from
// the kernel's socket diagnostics or, where they cannot tell, its socket
// table in procfs; false when no such socket is found.
bool tcpSocketOwner(const sockaddr_in &peer, const sockaddr_in &local, uid_t &owner);
bool tcpSocketOwnerFromDiag(const sockaddr_in &peer, const sockaddr_in &local, uid_t &owner);
bool tcpSocketOwnerFromTable(const sockaddr_in &peer, const sockaddr_in &local, uid_t &owner);

// A listening transport bound to `address` (any port), serving calls through
// whatever the RPC library has registered for them; null on failure.
SVCXPRT *listenForCallbacks(in_addr_t address, CallbackAccess access);

// Serves the calls that have arrived on the callback connections in `ready`.
void serveReady(fd_set &ready);

// Counts nested passes of the service loop, so that a transport destroyed
// inside a callback outlives the dispatch that still holds it: it is freed
// when the outermost pass ends.
struct ServicePass {
    ServicePass();
    ~ServicePass();
    ServicePass(const ServicePass &) = delete;
    ServicePass &operator=(const ServicePass &) = delete;
};

}  // namespace tarnel::session

#endif
