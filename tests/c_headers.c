/* Clients may be written in C: every public header must compile as C99. A C
 * client keeps all of the RPC library, through any header that names its
 * types (this one comes first, before the generated stubs bring it too). */
#include <tarnel/tnapi_values.h>

#include <tarnel/tde.h>
#include <tarnel/tnapi.h>

int c_header_check_anchor(void) { return 0; }

bool_t c_header_check_rpc(XDR *xdrs, u_int *count) { return xdr_u_int(xdrs, count) ? TRUE : FALSE; }
