// The two passes of a pipelined request as the stubs see them, and the C
// interface: runs of status requests and single requests of any kind.
#include <rpc/rpc.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include <tarnel/api_to_tn.h>

#include "pipeline/engine.h"
#include "session/session.h"
#include "trace/client_trace.h"

namespace tarnel::pipeline {

namespace {

// Requests that cannot be sent ahead: the modal dialog waits on callbacks
// before it returns, and the disconnection ends the session it runs in.
bool notAhead(rpcproc_t proc) { return proc == API_TN_MODAL_DIALOG || proc == API_TN_DISCONNECT_FROM_SESSION; }

enum clnt_stat sendPass(Engine &e, CLIENT *client, rpcproc_t proc, xdrproc_t encode, void *argument) {
    if (e.sending.calls++ > 0 || notAhead(proc)) {
        e.sending.refused = true;
        return RPC_CANTSEND;
    }
    e.use(client);
    if (e.fd < 0) return RPC_CANTSEND;
    bool ok = false;
    const std::uint32_t xid = e.encode(proc, encode, argument, ok);
    if (!ok) return RPC_CANTENCODEARGS;
    Item item;
    item.xid = xid;
    item.proc = proc;
    item.end = e.queued;
    item.call = e.sending.call;
    item.data = e.sending.data;
    item.stub = e.sending.stub;
    item.reread = e.sending.reread;
    if (item.reread != nullptr) {
        item.run = e.runs.back().get();
        item.index = ++item.run->report.count;
    }
    item.event = trace::requestSent(proc, encode, argument, true);
    item.sent = std::chrono::steady_clock::now();
    if (e.items.empty()) e.lastProgress = item.sent;
    e.items.push_back(std::move(item));
    e.sending.queued = true;
    // As a call whose reply has not come: the function returns its failure.
    return RPC_TIMEDOUT;
}

// Decodes a reply record: its header, then the results into `into`.
enum clnt_stat decodeReply(const char *record, std::size_t size, xdrproc_t decode, void *into) {
    rpc_msg msg;
    std::memset(&msg, 0, sizeof msg);
    msg.acpted_rply.ar_verf = _null_auth;
    msg.acpted_rply.ar_results.where = static_cast<caddr_t>(into);
    msg.acpted_rply.ar_results.proc = decode;
    XDR x;
    xdrmem_create(&x, const_cast<char *>(record), static_cast<u_int>(size), XDR_DECODE);
    const bool decoded = xdr_replymsg(&x, &msg) != 0;
    xdr_destroy(&x);
    rpc_err err;
    std::memset(&err, 0, sizeof err);
    if (decoded) _seterr_reply(&msg, &err);
    if (msg.rm_reply.rp_stat == MSG_ACCEPTED && msg.acpted_rply.ar_verf.oa_base != nullptr &&
        msg.acpted_rply.ar_verf.oa_base != _null_auth.oa_base) {
        x.x_op = XDR_FREE;
        (void)xdr_opaque_auth(&x, &msg.acpted_rply.ar_verf);
    }
    return decoded ? err.re_status : RPC_CANTDECODERES;
}

enum clnt_stat answerPass(Engine &e, rpcproc_t proc, xdrproc_t decode, void *reply) {
    auto &a = e.answering;
    if (a.calls++ > 0 || proc != a.proc) return RPC_CANTDECODERES;
    const enum clnt_stat status = a.record != nullptr ? decodeReply(a.record, a.size, decode, reply) : a.failure;
    if (a.item->event != nullptr)
        trace::requestAnswered(std::move(a.item->event), proc, trace::microsSince(a.item->sent), status, decode, reply);
    return status;
}

// Runs `pass` as a send pass set up by `setUp`; what the pass made of it.
template <typename SetUp, typename Pass> auto sendOnce(SetUp setUp, Pass pass) {
    Engine &e = engine();
    e.sending = {};
    setUp(e.sending);
    e.mode = Mode::Send;
    e.refresh();
    pass();
    e.mode = Mode::Direct;
    const auto made = e.sending;
    e.sending = {};
    // A pass refused after its first call was queued: that one's reply is
    // read and dropped.
    if (made.refused && made.queued) e.items.back().discard = true;
    if (made.queued) e.queuedOne();
    return made;
}

}  // namespace

enum clnt_stat call(CLIENT *client, rpcproc_t proc, xdrproc_t encode, void *argument, xdrproc_t decode, void *reply,
                    struct timeval timeout) {
    Engine &e = engine();
    switch (e.mode) {
    case Mode::Send: return sendPass(e, client, proc, encode, argument);
    case Mode::Answer: return answerPass(e, proc, decode, reply);
    case Mode::Direct: break;
    }
    if (!e.runs.empty() && proc == API_TN_MODAL_DIALOG) {
        e.refusedNow = true;
        return RPC_CANTSEND;
    }
    // The connection's own call must find no reply of ours ahead of its own.
    if (!e.items.empty()) e.pump(0);
    return trace::tracedCall(client, proc, encode, argument, decode, reply, timeout);
}

int noReplyCode() {
    Engine &e = engine();
    return std::exchange(e.refusedNow, false) ? TA_ERR_NOT_PIPELINABLE : TA_ERR_NO_REPLY;
}

bool queueStatus(AnyStub stub, Reread reread, void (*send)(AnyStub stub, void *argument), void *argument) {
    if (tarnel_client == nullptr) {
        TA_errno = TA_ERR_NO_REPLY;
        return false;
    }
    const auto made = sendOnce(
        [&](auto &s) {
            s.stub = stub;
            s.reread = reread;
        },
        [&] { send(stub, argument); });
    if (!made.queued) TA_errno = made.refused ? TA_ERR_NOT_PIPELINABLE : TA_ERR_NO_REPLY;
    return made.queued && !made.refused;
}

}  // namespace tarnel::pipeline

using namespace tarnel::pipeline;

extern "C" {

// Inside a reply pass (a T_ApiPipelineAdd() function answering) the
// pipeline cannot be driven: its state is in the middle of that reply.
int T_ApiPipelineBegin(void) {
    Engine &e = engine();
    if (e.mode != Mode::Direct) return -1;
    e.runs.push_back(std::make_unique<Run>());
    e.refresh();
    return 0;
}

int T_ApiPipelineEnd(T_ApiPipelineReportT *report) {
    Engine &e = engine();
    if (e.runs.empty() || e.mode != Mode::Direct) return -1;
    e.pump(0);
    const T_ApiPipelineReportT r = e.runs.back()->report;
    e.runs.pop_back();
    e.refresh();
    if (report != nullptr) *report = r;
    if (r.failed != 0) TA_errno = r.firstCode;
    return r.failed;
}

int T_ApiPipelineAdd(T_ApiPipelineCallT call, void *data) {
    Engine &e = engine();
    if (call == nullptr || e.mode != Mode::Direct) {
        TA_errno = TA_ERR_NOT_PIPELINABLE;
        return -1;
    }
    if (tarnel_client == nullptr) {
        call(data, 0);
        return 0;
    }
    const auto made = sendOnce(
        [&](auto &s) {
            s.call = call;
            s.data = data;
        },
        [&] { call(data, 0); });
    if (made.refused) {
        TA_errno = TA_ERR_NOT_PIPELINABLE;
        return -1;
    }
    return made.queued ? 1 : 0;
}

int T_ApiPipelineWait(void) {
    Engine &e = engine();
    const long before = e.answered;
    e.pump(0);
    return static_cast<int>(e.answered - before);
}
}
