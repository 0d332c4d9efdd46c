#include "rpc_service.h"

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "host.h"

namespace tarnel::host {

int serviceSocket(int type, in_addr address) {
    int fd = socket(AF_INET, type | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        fail(std::string("socket: ") + std::strerror(errno));
        return -1;
    }
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr = address;
    bool stream = type == SOCK_STREAM;
    if (bind(fd, reinterpret_cast<sockaddr *>(&sa), sizeof sa) != 0 || (stream && listen(fd, 16) != 0)) {
        fail(std::string(stream ? "bind/listen " : "bind ") + dotted(address) + ": " + std::strerror(errno));
        close(fd);
        return -1;
    }
    return fd;
}

bool binderRunning() {
    int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in sa{};
    sa.sin_family = AF_INET;
    sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    sa.sin_port = htons(111);
    bool up = fd >= 0 && connect(fd, reinterpret_cast<sockaddr *>(&sa), sizeof sa) == 0;
    if (fd >= 0) close(fd);
    return up;
}

bool registerService(SVCXPRT *transport, u_long prog, u_long vers, const char *netid, Dispatcher dispatch) {
    svc_unreg(prog, vers);
    netconfig *nc = getnetconfigent(netid);
    bool registered = nc && svc_reg(transport, prog, vers, dispatch, nc);
    if (nc) freenetconfigent(nc);
    return registered;
}

void stopService(SVCXPRT *&transport, bool &registered, u_long prog, u_long vers) {
    if (registered) svc_unreg(prog, vers);
    registered = false;
    if (transport) svc_destroy(transport);
    transport = nullptr;
}

}  // namespace tarnel::host
