// Host names and addresses of the session, and the one-shot UDP call used to
// reach a host's connection service.
#include <arpa/inet.h>
#include <netdb.h>
#include <unistd.h>

#include <cstring>

#include "session.h"

namespace {
char thishost_cache[256];
char ntoa_buffer[64];
}  // namespace

extern "C" {

int strEqual(const char *a, const char *b) { return std::strcmp(a ? a : "", b ? b : "") == 0; }

char *thishost(void) {
    if (thishost_cache[0] == '\0') {
        if (gethostname(thishost_cache, sizeof thishost_cache - 1) != 0) thishost_cache[0] = '\0';
        thishost_cache[sizeof thishost_cache - 1] = '\0';
    }
    return thishost_cache;
}

int hostnameToRealAddr(const char *name, struct sockaddr_in *address) {
    std::memset(address, 0, sizeof *address);
    if (name == nullptr || name[0] == '\0' || strEqual(name, "localhost")) {
        address->sin_family = AF_INET;
        address->sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        return 0;
    }
    address->sin_addr.s_addr = inet_addr(name);
    if (address->sin_addr.s_addr != INADDR_NONE) {
        address->sin_family = AF_INET;
        return 0;
    }
    const struct hostent *entry = gethostbyname(name);
    if (entry == nullptr || entry->h_addrtype != AF_INET || entry->h_addr_list[0] == nullptr) return -1;
    std::memcpy(&address->sin_addr, entry->h_addr_list[0], sizeof address->sin_addr);
    address->sin_family = AF_INET;
    return 0;
}

char *host_ntoa(const char *name) {
    struct sockaddr_in address;
    (void)hostnameToRealAddr(name, &address);
    std::strncpy(ntoa_buffer, inet_ntoa(address.sin_addr), sizeof ntoa_buffer - 1);
    return ntoa_buffer;
}

int apiLocalCall(const char *hostName, int program, int procedure, xdrproc_t argumentEncoder, void *argument,
                 xdrproc_t resultDecoder, void *result, struct timeval timeOut) {
    struct sockaddr_in address;
    if (hostnameToRealAddr(hostName, &address) != 0) return 0;
    int sock = RPC_ANYSOCK;
    CLIENT *handle = clntudp_create(&address, program, 1, timeOut, &sock);
    if (handle == nullptr) return 0;
    // We close the socket ourselves; the handle must not close it a second time.
    clnt_control(handle, CLSET_FD_NCLOSE, nullptr);
    enum clnt_stat status = clnt_call(handle, procedure, argumentEncoder, static_cast<char *>(argument), resultDecoder,
                                      static_cast<char *>(result), timeOut);
    close(sock);
    clnt_destroy(handle);
    return status == RPC_SUCCESS;
}
}
