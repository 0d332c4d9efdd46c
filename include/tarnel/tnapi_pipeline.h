/** @file
 * Pipelined requests: a run of requests sent back to back on the session's
 * connection, their replies read in order, instead of one round trip each.
 *
 * A C client brackets a run of status requests (those whose result is a
 * status or nothing: the set and delete requests, menus, notifications...)
 * with T_ApiPipelineBegin() and T_ApiPipelineEnd(). Inside the run each of
 * them is sent without waiting and returns 0 at once; T_ApiPipelineEnd()
 * waits for every reply and reports how many failed and which failed first.
 * Any other request made inside the run first waits for the replies still
 * outstanding and is then made as usual, so it sees the run's writes; that
 * includes T_ApiDisconnectFromSession(), though a run is better ended
 * first. A request that waits on callbacks (T_ApiModalDialog()) is refused
 * there with #TA_ERR_NOT_PIPELINABLE, which the run's report does not
 * count. Outside a run nothing changes.
 *
 * Any request, value requests included, can be pipelined one level lower
 * with T_ApiPipelineAdd(), which tarnel::Pipeline of the C++ interface
 * uses.
 *
 * Replies are matched to requests by transaction id, in the order sent.
 * At most #TA_PIPELINE_WINDOW requests are outstanding: past it, the client
 * reads replies before it sends more, so a run of any length neither
 * deadlocks on full socket buffers nor holds more than the window in
 * memory. Callbacks that arrive while replies are outstanding are served in
 * the order they arrive, as the service loop would serve them. A reply that
 * matches no request, a host that vanishes, or no reply within the call
 * time-out (#TA_TimeOut) ends every outstanding request with the no-reply
 * result (#TA_ERR_NO_REPLY); nothing waits longer. */
#ifndef TARNEL_TNAPI_PIPELINE_H
#define TARNEL_TNAPI_PIPELINE_H

#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/** The most requests outstanding at once (sent or waiting to be sent, not
 * yet answered). */
#define TA_PIPELINE_WINDOW 64

/** What T_ApiPipelineEnd() reports about a run. */
typedef struct T_ApiPipelineReportT {
    int count;      /**< requests sent in the run */
    int failed;     /**< of them, how many failed: refused by the host or without a reply */
    int firstIndex; /**< the first failure's place in the run, from 1; 0 when none failed */
    int firstProc;  /**< the first failure's procedure number; 0 when none failed */
    int firstCode;  /**< the first failure's code, as #TA_errno gives it: the host's status or #TA_ERR_NO_REPLY */
} T_ApiPipelineReportT;

/** Starts a run: from now until T_ApiPipelineEnd() each status request is
 * queued without waiting for its reply and returns 0. Queued requests go
 * out in batches, whenever the window fills and at the latest when the run
 * ends or a request outside it is made. Runs nest: one opened by a callback
 * served while a run waits is that callback's own, and T_ApiPipelineEnd()
 * ends the innermost.
 * @return 0; -1 inside a T_ApiPipelineAdd() function's reply call */
int T_ApiPipelineBegin(void);

/** Ends the run: waits for every reply still outstanding (at most the call
 * time-out after the last reply that arrived) and reports on the run. When
 * any request failed, #TA_errno is set to the first failure's code.
 * @param report receives the run's figures; may be null
 * @return how many requests of the run failed (0: every one succeeded); -1
 *         when no run is open, or inside a T_ApiPipelineAdd() function's
 *         reply call */
int T_ApiPipelineEnd(T_ApiPipelineReportT *report);

/** What T_ApiPipelineAdd() calls: `answering` 0 to send the request, 1 to
 * read its reply. */
typedef void (*T_ApiPipelineCallT)(void *data, int answering);

/** Pipelines one request of any kind. `call(data, 0)` is called at once
 * and must make exactly one request function call with the arguments it
 * keeps in `data`: the request is sent and the call returns as if no reply
 * had come. Once the reply is in, or it is known that none will come,
 * `call(data, 1)` is called with the same arguments, from
 * T_ApiPipelineWait() or from a later T_ApiPipelineAdd(): this time the
 * request function returns exactly what it returns when called without a
 * pipeline, owned memory included. The arguments are read during both
 * calls; what they point to need only live during the first (the reply
 * call reads the records and lists it is given, not what they point to).
 * The reply call may not drive the pipeline: T_ApiPipelineAdd(),
 * T_ApiPipelineWait() and the runs' functions return at once there.
 * @param call makes the request call
 * @param data passed to both calls
 * @return 1 when the request was sent (`call(data, 1)` follows exactly
 *         once); 0 when `call(data, 0)` made no request (its result is
 *         final: a request refused before sending, or outside a session);
 *         -1 when the request cannot be pipelined (it waits on callbacks,
 *         ends the session, or makes more than one request): nothing was
 *         sent and #TA_errno is #TA_ERR_NOT_PIPELINABLE */
int T_ApiPipelineAdd(T_ApiPipelineCallT call, void *data);

/** Sends every pipelined request not yet sent and waits until each has
 * been answered (their `call(data, 1)` done).
 * @return how many were answered while waiting */
int T_ApiPipelineWait(void);

TARNEL_END_DECLS

#endif
