// XDR routines have several signatures; the RPC calls take them all as the
// one routine type xdrproc_t. The cast goes through a plain function pointer
// type, so the compiler does not take it for a mismatched call.
#ifndef TARNEL_WIRE_XDRPROC_H
#define TARNEL_WIRE_XDRPROC_H

#include <rpc/rpc.h>

namespace tarnel::wire {

template <typename F> inline xdrproc_t as_xdrproc(F *routine) {
    return reinterpret_cast<xdrproc_t>(reinterpret_cast<void (*)()>(routine));
}

}  // namespace tarnel::wire

#endif
