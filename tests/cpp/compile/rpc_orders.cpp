// A C++ client that wants the RPC library as well: tnapi.hpp's own
// declarations of its types must agree with <rpc/rpc.h>, whichever comes
// first, and with the C umbrella header and its generated stubs after it.
#if TARNEL_RPC_FIRST
#include <rpc/rpc.h>

#include <tarnel/tnapi.hpp>
#else
#include <tarnel/tnapi.hpp>

#include <rpc/rpc.h>
#include <tarnel/tnapi.h>
#endif

bool_t tarnel_rpc_orders(XDR *xdrs, xdrproc_t proc, T_StringsT *list, u_int *count) {
    if (tarnel_client == nullptr || TA_TimeOut.tv_sec < 0) return FALSE;
    api_xdrfree(proc, list);
    return xdr_T_StringsT(xdrs, list) && xdr_u_int(xdrs, count) ? TRUE : FALSE;
}
