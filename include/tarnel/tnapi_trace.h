/** @file
 * The client-side trace: one event per exchange with the host, for any
 * client, unchanged. Set TARNEL_TRACE in the environment to `stderr` or to a
 * file path (events are appended: remove the file to record afresh) and TARNEL_TRACE_FORMAT to `text` (the
 * default) or `json` (one object a line, the form `tnhost --replay` plays
 * back); or install a function with T_ApiSetTraceFunc() to route events into
 * the client's own log. Both may be used at once.
 *
 * The trace never changes what the client does: a trace that cannot be
 * written (a full disk, a closed descriptor, a reader that does not keep up)
 * stops with one line on standard error, and the client goes on. */
#ifndef TARNEL_TNAPI_TRACE_H
#define TARNEL_TNAPI_TRACE_H

#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/** What an event is about (T_ApiTraceEventT::kind). */
enum {
    TA_TRACE_START = 1,    /**< the session starts: the client's name, numbers and command line */
    TA_TRACE_REQUEST = 2,  /**< a request and its reply, or the failure that ended it */
    TA_TRACE_CALLBACK = 3, /**< a callback from the host, before the client runs it */
    TA_TRACE_END = 4       /**< the session ends (T_ApiShutDown()) */
};

/** One event, as a trace function receives it. Every pointer is valid only
 * during the call. */
typedef struct T_ApiTraceEventT {
    int kind;         /**< one of the TA_TRACE_ values */
    int proc;         /**< the procedure (requests) or callback number; 0 for start and end */
    const char *name; /**< the procedure's stub name (`api_tn_alert_1`) or the callback's name (`init`); "" otherwise */
    int replied;      /**< requests: 1 when the host replied, 0 when the call failed */
    long micros;      /**< requests: how long the exchange took, in microseconds */
    const char *text; /**< the event as one line of text (no newline) */
    const char *json; /**< the event as one JSON object (no newline) */
} T_ApiTraceEventT;

/** A trace function: called once per event, on the client's thread, after
 * the exchange completed (its time does not count in `micros`). Requests it
 * makes itself are sent but not traced. */
typedef void (*T_ApiTraceFuncT)(const T_ApiTraceEventT *event, void *data);

/** Installs the trace function; the TARNEL_TRACE destination, if any, keeps
 * receiving events as well.
 * @param function called for every event from now on; null removes it
 * @param data passed to every call */
void T_ApiSetTraceFunc(T_ApiTraceFuncT function, void *data);

TARNEL_END_DECLS

#endif
