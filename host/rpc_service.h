// What the host's two RPC services share: a socket on the loopback address
// (or the one --listen gives), and their registration with the local RPC
// binder.
#ifndef TNHOST_RPC_SERVICE_H
#define TNHOST_RPC_SERVICE_H

#include <netinet/in.h>
#include <rpc/rpc.h>

namespace tarnel::host {

using Dispatcher = void (*)(struct svc_req *, SVCXPRT *);

// A socket of the type given (SOCK_STREAM listens) bound to a free port on
// the address; -1, with the failure logged, when that fails.
int serviceSocket(int type, in_addr address);

// Whether the RPC binder answers on the loopback address.
bool binderRunning();
inline const char kStartBinder[] =
    "rpcbind is not running on this machine: start it as root with `rpcbind -w`, or with `service rpcbind start`";

// Registers the program on the transport over the network id ("tcp",
// "udp"), replacing whatever an earlier run left with the binder.
bool registerService(SVCXPRT *transport, u_long prog, u_long vers, const char *netid, Dispatcher dispatch);

// Undoes the registration (when there is one) and destroys the transport;
// leaves both cleared.
void stopService(SVCXPRT *&transport, bool &registered, u_long prog, u_long vers);

}  // namespace tarnel::host

#endif
