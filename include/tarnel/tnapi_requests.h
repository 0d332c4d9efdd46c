/* The request functions: each one synchronous call to the host. Failures
 * are reported by the return value and TA_errno (set only on failure). */
#ifndef TARNEL_TNAPI_REQUESTS_H
#define TARNEL_TNAPI_REQUESTS_H

#include <rpc/rpc.h>
#include <tarnel/cdecls.h>

#include <tarnel/tnapi_req_props.h>
#include <tarnel/tnapi_req_session.h>
#include <tarnel/tnapi_req_docs.h>
#include <tarnel/tnapi_req_text.h>
#include <tarnel/tnapi_req_dialogs.h>
#include <tarnel/tnapi_req_fonts.h>

TARNEL_BEGIN_DECLS

/* Releases what decoding placed inside a stub's reply; the record itself
 * belongs to the stub. */
void api_xdrfree(xdrproc_t xdrproc, void *reply);

TARNEL_END_DECLS

#endif
