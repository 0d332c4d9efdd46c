// Who may open a callback connection, decided from the peer's address and,
// on this machine, from the owner of the peer's socket as the kernel keeps
// it: nothing the peer sends is read before the decision.
#include <arpa/inet.h>
#include <linux/inet_diag.h>
#include <linux/netlink.h>
#include <linux/sock_diag.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <cstring>

#include "callback_service.h"

namespace tarnel::session {

// The exact lookup of one socket through the kernel's socket diagnostics:
// the peer's socket has the peer's address as source, ours as destination.
bool tcpSocketOwnerFromDiag(const sockaddr_in &peer, const sockaddr_in &local, uid_t &owner) {
    const int fd = socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
    if (fd < 0) return false;
    const timeval patience = {1, 0};  // the kernel answers at once, or never
    (void)setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
    struct {
        nlmsghdr header;
        inet_diag_req_v2 request;
    } query = {};
    query.header.nlmsg_len = sizeof query;
    query.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    query.header.nlmsg_flags = NLM_F_REQUEST;
    query.request.sdiag_family = AF_INET;
    query.request.sdiag_protocol = IPPROTO_TCP;
    query.request.idiag_states = ~0u;
    query.request.id.idiag_sport = peer.sin_port;
    query.request.id.idiag_dport = local.sin_port;
    query.request.id.idiag_src[0] = peer.sin_addr.s_addr;
    query.request.id.idiag_dst[0] = local.sin_addr.s_addr;
    query.request.id.idiag_cookie[0] = query.request.id.idiag_cookie[1] = INET_DIAG_NOCOOKIE;
    sockaddr_nl kernel = {};
    kernel.nl_family = AF_NETLINK;
    bool found = false;
    if (sendto(fd, &query, sizeof query, 0, reinterpret_cast<sockaddr *>(&kernel), sizeof kernel) ==
        static_cast<ssize_t>(sizeof query)) {
        alignas(nlmsghdr) char answer[1024];
        const ssize_t n = recv(fd, answer, sizeof answer, 0);
        const auto *reply = reinterpret_cast<const nlmsghdr *>(answer);
        if (n >= static_cast<ssize_t>(sizeof(nlmsghdr)) && NLMSG_OK(reply, static_cast<unsigned>(n)) &&
            reply->nlmsg_type == SOCK_DIAG_BY_FAMILY && reply->nlmsg_len >= NLMSG_LENGTH(sizeof(inet_diag_msg))) {
            owner = static_cast<const inet_diag_msg *>(NLMSG_DATA(reply))->idiag_uid;
            found = true;
        }
    }
    close(fd);
    return found;
}

// The same from the table in procfs, where the diagnostics are not offered
// (or their TCP part is not loaded, which they report as "no such socket"):
// addresses as the kernel stores them (hex of the network-order word), ports
// in hex.
bool tcpSocketOwnerFromTable(const sockaddr_in &peer, const sockaddr_in &local, uid_t &owner) {
    std::FILE *table = std::fopen("/proc/net/tcp", "re");
    if (table == nullptr) return false;
    char line[512];
    bool found = false;
    // The column titles first: a table without them lists no socket.
    const bool titled = std::fgets(line, sizeof line, table) != nullptr;
    while (titled && !found && std::fgets(line, sizeof line, table) != nullptr) {
        unsigned int from, fromPort, to, toPort;
        unsigned long uid;
        if (std::sscanf(line, " %*u: %8X:%4X %8X:%4X %*x %*x:%*x %*x:%*x %*x %lu", &from, &fromPort, &to, &toPort,
                        &uid) != 5)
            continue;
        if (from == peer.sin_addr.s_addr && fromPort == ntohs(peer.sin_port) && to == local.sin_addr.s_addr &&
            toPort == ntohs(local.sin_port)) {
            owner = static_cast<uid_t>(uid);
            found = true;
        }
    }
    std::fclose(table);
    return found;
}

bool tcpSocketOwner(const sockaddr_in &peer, const sockaddr_in &local, uid_t &owner) {
    return tcpSocketOwnerFromDiag(peer, local, owner) || tcpSocketOwnerFromTable(peer, local, owner);
}

bool CallbackAccess::admits(const sockaddr_in &peer, const sockaddr_in &local) const {
    if (peer.sin_family != AF_INET) return false;
    if (remote) return std::find(hosts.begin(), hosts.end(), peer.sin_addr.s_addr) != hosts.end();
    uid_t owner;
    return isLoopback(peer.sin_addr.s_addr) && tcpSocketOwner(peer, local, owner) &&
           std::find(users.begin(), users.end(), owner) != users.end();
}

}  // namespace tarnel::session
