/** @file
 * The request functions: each one synchronous call to the host. Failures
 * are reported by the return value and TA_errno (set only on failure). */
#ifndef TARNEL_TNAPI_REQUESTS_H
#define TARNEL_TNAPI_REQUESTS_H

#include <tarnel/cdecls.h>
#include <tarnel/rpc_types.h>

/* The comment below holds a Markdown table, one row a line: not reflowed. */
/* clang-format off */
/** @defgroup requests Request functions
 * The request functions: each is one synchronous call to the host, made
 * through the connection #tarnel_client while the client holds control
 * (normally inside a callback, see @ref session). They block until the
 * reply arrives or the call times out (#TA_TimeOut), keep no state beyond
 * #TA_errno and are not re-entrant. Each builds a request record and reads a
 * reply record of the generated protocol header `tarnel/api_to_tn.h` (from
 * `apilib/wire/api_to_tn.x`); @ref request_table names, for each function,
 * the procedure, the records and their fields. The meanings of object
 * types, property numbers, flags, codes and names are the host's; the
 * library passes them through unchanged (the simulated host's are in
 * @ref host_meanings).
 *
 * @par Arguments
 * Ids are unsigned object ids, 0 standing for no object. Records and lists
 * passed by pointer are read only and stay the caller's; a null record or
 * list pointer is sent as the zero record or the empty list. A null string
 * is sent as the empty string.
 *
 * @par Result kinds
 * Every request function has one of these kinds; the function's own
 * documentation names it and any failure value that differs.
 * | Kind | On success | Host refuses (status not 0) | No reply |
 * |---|---|---|---|
 * | status | returns 0 | returns the status, also in #TA_errno | returns -1, #TA_errno -1 |
 * | plain | returns the host's int, or a new string | (the reply has no status) | returns the stated value (-1, 0 or null), #TA_errno -1 |
 * | value | returns the value (a string as a new copy) | returns 0 or null, status in #TA_errno | returns 0 or null, #TA_errno -1 |
 * | object | returns the new or found object id | returns 0, status in #TA_errno | returns 0, #TA_errno -1 |
 * | record | returns the record or list (deep copy) | returns the zero record, status in #TA_errno | returns the zero record, #TA_errno -1 |
 * | no result | returns nothing | status in #TA_errno | #TA_errno -1 |
 * | answer | stores the answer through the output pointer, returns 0 | returns -1; output and #TA_errno untouched | returns -1, #TA_errno -1; output untouched |
 *
 * #TA_errno is written only on failure, never reset on success: set it to 0
 * before a call to learn whether that call failed, which matters where the
 * failure value is also a valid result. T_ApiErrorText() gives its text.
 *
 * @par Zero record
 * The failure result of a record-returning function: every field 0, a list
 * with count 0 and null items, a typed value of kind 0. It owns no memory;
 * releasing it is harmless.
 *
 * @par Ownership
 * A returned string or list is new memory that belongs to the caller; it
 * releases it with the matching operation of @ref values
 * (T_ApiDeallocateString(), T_ApiDeallocateStrings(),
 * T_ApiDeallocatePropVals() and the others). Records without owned memory
 * (locations, ranges, points, rectangles, T_CompareRetT) need no release.
 * A failed request returns nothing that owns memory. The exceptions are the
 * return-parameter lists of the scripted operations (@ref req_docs) and the
 * output lists of the spelling calls (@ref req_fonts). */
/* clang-format on */

#include <tarnel/tnapi_req_dialogs.h>
#include <tarnel/tnapi_req_docs.h>
#include <tarnel/tnapi_req_fonts.h>
#include <tarnel/tnapi_req_props.h>
#include <tarnel/tnapi_req_session.h>
#include <tarnel/tnapi_req_text.h>

TARNEL_BEGIN_DECLS

/** @ingroup requests
 * Releases what decoding placed inside a call stub's reply; the reply
 * record itself belongs to the stub and stays valid until the stub's next
 * call. For clients that call the generated stubs directly.
 * @param xdrproc the XDR routine of the reply record's type
 * @param reply the reply record */
void api_xdrfree(xdrproc_t xdrproc, void *reply);

TARNEL_END_DECLS

#endif
