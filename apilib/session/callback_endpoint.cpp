#include "callback_endpoint.h"

#include <unistd.h>

#include <memory>
#include <new>
#include <vector>

#include "callback_service.h"

namespace tarnel::session {
namespace {

// Transports destroyed while a service pass may still hold them.
std::vector<std::unique_ptr<Endpoint>> destroyed;
int passes = 0;
char kNetId[] = "tcp";

void releaseDestroyed() { destroyed.clear(); }

}  // namespace

Endpoint::Endpoint(int fd) {
    xprt_.xp_fd = fd;
    xprt_.xp_p1 = this;
    xprt_.xp_p3 = &ext_;
    xprt_.xp_netid = kNetId;
}

Endpoint::~Endpoint() = default;

void Endpoint::destroy() {
    if (closed()) return;
    closing();
    xprt_unregister(&xprt_);
    close(xprt_.xp_fd);
    xprt_.xp_fd = -1;
    // The RPC library asks a transport's state after its dispatch returns,
    // and a callback may have destroyed it meanwhile: free it later.
    try {
        destroyed.emplace_back(this);
    } catch (const std::bad_alloc &) {
        // Kept, not freed: freeing it now could be freeing it under a caller.
    }
    if (passes == 0) releaseDestroyed();
}

ServicePass::ServicePass() { ++passes; }
ServicePass::~ServicePass() {
    if (--passes == 0) releaseDestroyed();
}

}  // namespace tarnel::session
