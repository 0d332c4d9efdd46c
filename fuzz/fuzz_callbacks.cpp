// The callback program's dispatcher (procedures 0 to 9) over a service
// transport made for the test: its getargs decodes the fuzz bytes with the
// routine the dispatcher names, its reply records what was sent, its
// freeargs releases. The first byte picks the procedure.
//
// Checked against the harness's own decode of the same bytes: an
// undecodable argument gets one "garbage arguments" reply and no callback;
// a decodable one gets one success reply and the callback with the decoded
// values (notification 75 with its text split at every separator); unknown
// procedures get one "no such procedure" reply; nothing is left holding
// control.
#include <string>
#include <vector>

#include <session/session.h>
#include <tarnel/api_to_tn.h>
#include <tarnel/tnapi.h>

#include "callbacks.h"
#include "support.h"

namespace {

using namespace fuzz;

// ---- The test transport -----------------------------------------------------

struct {
    const std::uint8_t *data = nullptr;
    std::size_t size = 0;
    int replies = 0;
    accept_stat last = SUCCESS;
} wire;

bool_t t_recv(SVCXPRT *, struct rpc_msg *) { return FALSE; }
enum xprt_stat t_stat(SVCXPRT *) { return XPRT_IDLE; }
bool_t t_getargs(SVCXPRT *, xdrproc_t routine, void *args) {
    return decode(routine, args, 0, wire.data, wire.size) >= 0;
}
bool_t t_reply(SVCXPRT *, struct rpc_msg *msg) {
    ++wire.replies;
    FUZZ_CHECK(msg->rm_reply.rp_stat == MSG_ACCEPTED);
    wire.last = msg->acpted_rply.ar_stat;
    if (wire.last == SUCCESS) {  // the results must encode
        Bytes out;
        FUZZ_CHECK(encode(msg->acpted_rply.ar_results.proc, msg->acpted_rply.ar_results.where, 0, out));
    }
    return TRUE;
}
bool_t t_freeargs(SVCXPRT *, xdrproc_t routine, void *args) {
    release(routine, args);
    return TRUE;
}
void t_destroy(SVCXPRT *) {}

SVCXPRT *transport() {
    static const struct SVCXPRT::xp_ops ops = {t_recv, t_stat, t_getargs, t_reply, t_freeargs, t_destroy};
    static SVCXPRT xprt{};
    xprt.xp_ops = &ops;
    return &xprt;
}

// ---- What each procedure must do --------------------------------------------

// The harness's decode of the argument, released at the end of the case.
template <typename Arg> struct Decoded {
    explicit Decoded(xdrproc_t r) : routine(r) { ok = decode(routine, &arg, sizeof arg, wire.data, wire.size) >= 0; }
    ~Decoded() { release(routine, &arg); }
    xdrproc_t routine;
    bool ok = false;
    Arg arg{};
};

void dispatch(u_int procNum) {
    struct svc_req request {};
    request.rq_proc = procNum;
    request.rq_xprt = transport();
    wire.replies = 0;
    callback_log = CallbackLog{};
    tn_api_prog_1(&request, request.rq_xprt);
    FUZZ_CHECK(turn_over_needed == 0);
}

void expect_reply(accept_stat stat) { FUZZ_CHECK(wire.replies == 1 && wire.last == stat); }

// The pieces of a filter notification's text, as the client must see them.
std::string split(const char *text) {
    std::vector<std::string> pieces(1);
    for (const char *p = text; *p != '\0'; ++p) {
        if (*p == TDE_FILTER_ARG_SEPARATOR)
            pieces.emplace_back();
        else
            pieces.back() += *p;
    }
    while (pieces.size() < 6) pieces.emplace_back("(null)");
    std::string joined;
    for (const std::string &s : pieces) joined += s + '\n';
    return joined;
}

// Procedures whose decodable argument becomes one callback: `expect`
// checks the log against the decoded argument.
template <typename Arg, typename Expect> void callback(u_int procNum, xdrproc_t routine, Expect expect) {
    Decoded<Arg> d(routine);
    dispatch(procNum);
    if (!d.ok) {
        expect_reply(GARBAGE_ARGS);
        FUZZ_CHECK(callback_log.calls == 0);
        return;
    }
    expect_reply(SUCCESS);
    expect(d.arg);
}

bool logged(const char *name, int a, int b, int c) {
    return callback_log.calls == 1 && std::string(callback_log.name) == name && callback_log.a == a &&
           callback_log.b == b && callback_log.c == c;
}

struct Procedure {
    xdrproc_t routine;  // the argument's, for the seeds; xdr_void for none
    std::size_t size;
    void (*run)();
};

const Procedure procedures[10] = {
    {proc(&xdr_void), 0,
     [] {
         dispatch(0);
         expect_reply(SUCCESS);
         FUZZ_CHECK(callback_log.calls == 0);
     }},
    {proc(&xdr_void), 0,
     [] {  // quit
         dispatch(1);
         expect_reply(SUCCESS);
         FUZZ_CHECK(TA_bailout == 1 && callback_log.calls == 0);
         TA_bailout = 0;
     }},
    {proc(&xdr_TnApiInitArgT), sizeof(TnApiInitArgT),
     [] {
         callback<TnApiInitArgT>(2, proc(&xdr_TnApiInitArgT), [](const TnApiInitArgT &a) {
             FUZZ_CHECK(logged("initialize", a.initialization, 0, 0));
         });
     }},
    {proc(&xdr_TnApiCommandArgT), sizeof(TnApiCommandArgT),
     [] {
         callback<TnApiCommandArgT>(3, proc(&xdr_TnApiCommandArgT),
                                    [](const TnApiCommandArgT &a) { FUZZ_CHECK(logged("command", a.command, 0, 0)); });
     }},
    {proc(&xdr_TnApiMessageArgT), sizeof(TnApiMessageArgT),
     [] {
         callback<TnApiMessageArgT>(4, proc(&xdr_TnApiMessageArgT), [](const TnApiMessageArgT &a) {
             FUZZ_CHECK(logged("message", static_cast<int>(a.uint1), static_cast<int>(a.uint2), 0));
             FUZZ_CHECK(callback_log.text == a.message);
         });
     }},
    {proc(&xdr_Tn4ApiNotifyArgT), sizeof(Tn4ApiNotifyArgT),
     [] {
         // The old notification is refused with a message and no reply.
         Decoded<Tn4ApiNotifyArgT> d(proc(&xdr_Tn4ApiNotifyArgT));
         dispatch(5);
         FUZZ_CHECK(callback_log.calls == 0);
         if (d.ok)
             FUZZ_CHECK(wire.replies == 0);
         else
             expect_reply(GARBAGE_ARGS);
     }},
    {proc(&xdr_TnApiDialogEventArgT), sizeof(TnApiDialogEventArgT),
     [] {
         const int done = callbacksDone;
         callback<TnApiDialogEventArgT>(6, proc(&xdr_TnApiDialogEventArgT), [&](const TnApiDialogEventArgT &a) {
             if (a.int1 != 0) {
                 FUZZ_CHECK(logged("dialog", a.int1, a.int2, a.int3) && callbacksDone == done);
             } else {  // the end of a modal dialog: no callback
                 FUZZ_CHECK(callback_log.calls == 0 && callbacksDone == done - 1 && modalRetval == a.int3);
             }
         });
         callbacksDone = done;
     }},
    {proc(&xdr_TnApiNotifyArgT), sizeof(TnApiNotifyArgT),
     [] {
         callback<TnApiNotifyArgT>(7, proc(&xdr_TnApiNotifyArgT), [](const TnApiNotifyArgT &a) {
             FUZZ_CHECK(logged("notify", a.notification, static_cast<int>(a.objId), a.number));
             if (a.notification == 75)
                 FUZZ_CHECK(callback_log.text == split(a.text));
             else
                 FUZZ_CHECK(callback_log.text == a.text);
         });
     }},
    {proc(&xdr_void), 0,
     [] {
         dispatch(8);
         expect_reply(PROC_UNAVAIL);
     }},
    {proc(&xdr_void), 0,
     [] {
         dispatch(9);
         expect_reply(PROC_UNAVAIL);
     }},
};

void write_seeds(const char *dir) {
    for (std::uint8_t p = 0; p < 10; ++p) {
        int n = 0;
        std::vector<Bytes> samples = procedures[p].size == 0
                                         ? std::vector<Bytes>{Bytes{}}
                                         : sample_encodings(procedures[p].routine, procedures[p].size);
        for (const Bytes &b : samples)
            write_seed(dir, "proc" + std::to_string(p) + "-" + std::to_string(n++), with_prefix({p}, b));
    }
    // Filter notifications: no separator, empty pieces, more than six pieces.
    char none[] = "plain", empty[] = "\x1e\x1e",
         many[] = "a\x1e"
                  "b\x1e"
                  "c\x1e"
                  "d\x1e"
                  "e\x1e"
                  "f\x1e"
                  "g\x1e"
                  "h";
    int n = 0;
    for (char *text : {none, empty, many}) {
        TnApiNotifyArgT a = {75, 1, text, 2};
        Bytes b;
        FUZZ_CHECK(encode(proc(&xdr_TnApiNotifyArgT), &a, sizeof a, b));
        write_seed(dir, "filter-" + std::to_string(n++), with_prefix({7}, b));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) { return seed_mode(write_seeds); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1) return -1;
    wire.data = data + 1;
    wire.size = size - 1;
    procedures[data[0] % 10].run();
    return 0;
}
