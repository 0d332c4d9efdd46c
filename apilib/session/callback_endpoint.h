// What the two ends of the callback transport share: an RPC service
// transport whose private pointer leads back to the C++ object, and a
// deferred release, because the RPC library and the dispatcher may still
// touch a transport that a callback destroyed.
#ifndef TARNEL_SESSION_CALLBACK_ENDPOINT_H
#define TARNEL_SESSION_CALLBACK_ENDPOINT_H

#include <netinet/in.h>
#include <rpc/rpc.h>
#include <rpc/svc_mt.h>

namespace tarnel::session {

class Listener;

class Endpoint {
  public:
    explicit Endpoint(int fd);
    virtual ~Endpoint();
    Endpoint(const Endpoint &) = delete;
    Endpoint &operator=(const Endpoint &) = delete;

    SVCXPRT *transport() { return &xprt_; }
    static Endpoint *of(SVCXPRT *xprt) { return static_cast<Endpoint *>(xprt->xp_p1); }
    // Leaves the service table and closes the descriptor at once; the object
    // itself is freed when no dispatch can hold it any more. Idempotent.
    void destroy();
    bool closed() const { return xprt_.xp_fd < 0; }

  protected:
    virtual void closing() {}
    SVCXPRT xprt_ = {};
    SVCXPRT_EXT ext_ = {};  // where the RPC library keeps a call's authentication
};

// A checked connection from `peer`, served from now on; null (the caller
// closes the descriptor) when there is no memory for it.
Endpoint *openCallbackConnection(int fd, Listener *owner, const sockaddr_in &peer);
void connectionGone(Listener *owner, Endpoint *connection);

}  // namespace tarnel::session

#endif
