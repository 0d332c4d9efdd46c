// Release of a decoded reply, shared by every request function.
#include <tarnel/tnapi_requests.h>

extern "C" void api_xdrfree(xdrproc_t xdrproc, void *reply) { xdr_free(xdrproc, static_cast<char *>(reply)); }
