/** @file
 * Names and texts of the library's own TA_errno codes. */
#ifndef TARNEL_TNAPI_ERRORS_H
#define TARNEL_TNAPI_ERRORS_H

#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/** @defgroup errors Error codes
 * The codes that the library itself stores in #TA_errno.
 *
 * #TA_errno holds either one of these negative codes or, unchanged, a
 * non-zero status that the host returned; the host's statuses are its own
 * and may be any other value (those of the simulated host tnhost are in
 * @ref host_status). The request functions write #TA_errno only on
 * failure (see @ref requests); T_ApiConnectToSession() writes it on every
 * call. T_ApiErrorText() turns any code into a short English text.
 * @{ */

/** No failure recorded: the value at program start and after a successful
 * T_ApiConnectToSession(). */
#define TA_ERR_NONE 0
/** The remote call did not complete: time-out, lost connection, or a
 * request or reply that could not be encoded or decoded. Every request
 * function reports it. */
#define TA_ERR_NO_REPLY (-1)
/** T_ApiCheckStatus(): the status entry holds no such bit (the bit number is
 * negative or beyond its words, or the entry is not a list of words). */
#define TA_ERR_BIT_NOT_IN_STATUS (-4)
/** T_ApiCheckStatus(): the list holds no status property (number 3 or 1). */
#define TA_ERR_NO_STATUS_PROP (-5)
/** T_ApiConnectToSession(): the connect call to the host's connection
 * service did not complete. */
#define TA_ERR_CONNECT_FAILED (-7)
/** T_ApiConnectToSession(): the first call of the connection service did
 * not complete (unknown machine, or no service answering there). */
#define TA_ERR_SERVICE_UNREACHABLE (-20)
/** T_ApiConnectToSession(): the host accepted the session but setting up the
 * connection to it failed. */
#define TA_ERR_SETUP_FAILED (-22)
/** A request that cannot be pipelined (tarnel/tnapi_pipeline.h): it waits
 * on callbacks, ends the session, or makes more than one request. It was
 * not sent. */
#define TA_ERR_NOT_PIPELINABLE (-23)

/** A short English text for a #TA_errno value, without a final full stop.
 * @param code a value of #TA_errno: one of the TA_ERR_ codes or a status
 *        of the host
 * @return the text of a TA_ERR_ code as a constant string; for a status
 *         of @ref host_status "the host refused the request: NAME
 *         (status N)" (e.g. "the host refused the request: no such
 *         property (status -3)"), for any other code "the host refused the
 *         request (status N)", both built in a buffer of the calling thread
 *         that stays valid until that thread's next call. Never null; the
 *         caller releases nothing. */
const char *T_ApiErrorText(int code);

/** @} */

TARNEL_END_DECLS

#endif
