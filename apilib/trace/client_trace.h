// The client library's side of the trace: the session and callback code
// report here; the call stubs reach tarnel_clnt_call (see stub_release.awk).
#ifndef TARNEL_TRACE_CLIENT_TRACE_H
#define TARNEL_TRACE_CLIENT_TRACE_H

#include <rpc/rpc.h>

namespace tarnel::trace {

// Whether anything receives events: a TARNEL_TRACE destination or a function.
extern bool tracing;

// The client number as the host gave it at launch (negative: the client did
// not fork), which the session's TA_clientno no longer tells apart.
extern int launchNumber;
// The connection service's program a client attached through.
extern int connectProgram;

// Reads TARNEL_TRACE once, then reports the session's start: how it began
// ("launched" or "attached"), the numbers it uses and the command line.
void sessionStarted(const char *how, int callbackProg, int callbackVers, int hostProg, int hostVers);
void sessionEnded();
// A callback as the dispatcher decoded it (argument null: it did not decode).
void callbackReceived(int proc, xdrproc_t decode, const void *argument);

}  // namespace tarnel::trace

#endif
