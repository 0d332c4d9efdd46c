// Pipelined requests: records sent back to back on the session's request
// connection and their replies matched in order. The request functions stay
// as they are: every stub reaches tarnel_clnt_call, which hands the call
// here whenever a pipeline is engaged. A pipelined request function runs
// twice: the send pass encodes its call into the outgoing buffer and
// returns as if no reply had come; the answer pass, once the reply is in,
// decodes it into the stub's reply area, so the function computes exactly
// its synchronous result.
#ifndef TARNEL_PIPELINE_PIPELINE_H
#define TARNEL_PIPELINE_PIPELINE_H

#include <rpc/rpc.h>
#include <sys/select.h>

#include <tarnel/tnapi_errors.h>
#include <tarnel/tnapi_session.h>

namespace tarnel::pipeline {

// Whether tarnel_clnt_call must go through call(): a run is open, a pass is
// running or replies are outstanding.
extern bool engaged;

// A stub's call while the pipeline is engaged: encoded and queued during a
// send pass, decoded from the reply during an answer pass, and otherwise
// made directly once every outstanding reply has been read.
enum clnt_stat call(CLIENT *client, rpcproc_t proc, xdrproc_t encode, void *argument, xdrproc_t decode, void *reply,
                    struct timeval timeout);

// Whether a status request is queued rather than made now: a C run is open
// and no pass is running.
bool collecting();

// A stub, its type forgotten; its answer pass calls it again through the
// function that knows the type.
using AnyStub = void (*)();
using Reread = int (*)(AnyStub stub);

// Sends the status request that `send` makes in a C run; its status is read
// by `reread(stub)` once the reply is in. False when nothing was sent.
bool queueStatus(AnyStub stub, Reread reread, void (*send)(AnyStub stub, void *argument), void *argument);

// TA_errno's code for a call that returned no reply: the request was not
// allowed in the pipeline run, or it did not complete.
int noReplyCode();

// Serves the callback connections in `ready`; set by the session, which
// owns them (without a session there are none to serve).
extern void (*serveCallbacksHook)(fd_set &ready);

// Ends everything outstanding with no reply: the session is going.
void abandon();

}  // namespace tarnel::pipeline

#endif
