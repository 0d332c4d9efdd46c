// The client library's side of the trace: the session and callback code
// report here; the call stubs reach tarnel_clnt_call (see stub_release.awk).
#ifndef TARNEL_TRACE_CLIENT_TRACE_H
#define TARNEL_TRACE_CLIENT_TRACE_H

#include <rpc/rpc.h>

#include <chrono>
#include <memory>

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

struct Event;
// A request in two halves, for one whose reply comes later (pipelined): its
// event with the argument rendered while it is valid (null when nothing
// traces), then completed with the reply and delivered.
std::unique_ptr<Event> requestSent(rpcproc_t proc, xdrproc_t encode, void *argument, bool pipelined);
void requestAnswered(std::unique_ptr<Event> event, rpcproc_t proc, long micros, enum clnt_stat status,
                     xdrproc_t decode, void *reply);
// clnt_call, traced when something traces.
enum clnt_stat tracedCall(CLIENT *client, rpcproc_t proc, xdrproc_t encode, void *argument, xdrproc_t decode,
                          void *reply, struct timeval timeout);
long microsSince(std::chrono::steady_clock::time_point began);

}  // namespace tarnel::trace

#endif
