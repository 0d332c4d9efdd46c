// The client-side trace. Every request goes through tarnel_clnt_call, which
// costs one test of `tracing` when nothing traces. When something does, the
// exchange is timed, its argument and reply rendered by field name and, for
// replay, by their XDR encoding, and the event is handed to the destination
// TARNEL_TRACE names and to the trace function.
//
// The destination can never stop the client: it is written without blocking
// and without SIGPIPE, and the first write that fails ends the trace.
#include "trace/client_trace.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <tarnel/tnapi_session.h>
#include <tarnel/tnapi_trace.h>
#include <tarnel/tnapi_version.h>

#include "pipeline/pipeline.h"
#include "session/session.h"
#include "trace/encoding.h"
#include "trace/event.h"
#include "trace/values.h"
#include "wire/callback_table.h"
#include "wire/record_fields.h"

namespace tarnel::trace {

bool tracing = false;
int launchNumber = -1;
int connectProgram = 0;

namespace {

struct Destination {
    int fd = -1;
    bool json = false;
    std::string path;  // "stderr" or the file, for the message that ends it
};

Destination destination;
bool configured = false;
T_ApiTraceFuncT function = nullptr;
void *functionData = nullptr;
bool inside = false;  // an event is being delivered: requests made now go untraced
long requests = 0, callbacks = 0;

void update() { tracing = destination.fd >= 0 || function != nullptr; }

void stop(int error) {
    if (destination.fd < 0) return;
    close(destination.fd);
    destination.fd = -1;
    update();
    std::fprintf(stderr, "tarnel trace: stopped writing %s: %s\n", destination.path.c_str(),
                 error == EAGAIN ? "the reader does not keep up" : std::strerror(error));
}

// Writes the whole line or ends the trace. SIGPIPE is held back while
// writing, and one the write raised is taken before it is let through.
void writeLine(const std::string &line) {
    sigset_t pipe, old;
    sigemptyset(&pipe);
    sigaddset(&pipe, SIGPIPE);
    pthread_sigmask(SIG_BLOCK, &pipe, &old);
    sigset_t pendingBefore;
    sigpending(&pendingBefore);
    const bool alreadyPending = sigismember(&pendingBefore, SIGPIPE);
    std::size_t done = 0;
    int error = 0;
    while (done < line.size()) {
        ssize_t n = write(destination.fd, line.data() + done, line.size() - done);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            error = n < 0 ? errno : EIO;
            break;
        }
    }
    if (error == EPIPE && !alreadyPending) {
        const timespec none = {0, 0};
        (void)sigtimedwait(&pipe, nullptr, &none);
    }
    pthread_sigmask(SIG_SETMASK, &old, nullptr);
    if (error) stop(error);
}

// Standard error as a descriptor of the trace's own. A pipe is opened again
// so that it can be written without blocking, without touching the client's
// own descriptor's mode.
int openStandardError() {
    struct stat st;
    if (fstat(STDERR_FILENO, &st) == 0 && S_ISFIFO(st.st_mode)) {
        int fd = open("/proc/self/fd/2", O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) return fd;
    }
    return fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
}

void configure() {
    if (configured) return;
    configured = true;
    const char *where = std::getenv("TARNEL_TRACE");
    if (where == nullptr || *where == '\0') return;
    const char *format = std::getenv("TARNEL_TRACE_FORMAT");
    if (format != nullptr && *format != '\0' && std::strcmp(format, "text") != 0 && std::strcmp(format, "json") != 0)
        std::fprintf(stderr, "tarnel trace: TARNEL_TRACE_FORMAT \"%s\" is neither text nor json; writing text\n",
                     format);
    destination.json = format != nullptr && std::strcmp(format, "json") == 0;
    destination.path = where;
    // Appended: a scenario that runs a client twice records both sessions.
    // O_NONBLOCK: a named pipe without a reader must not hold the client up.
    destination.fd = std::strcmp(where, "stderr") == 0
                         ? openStandardError()
                         : open(where, O_WRONLY | O_CREAT | O_APPEND | O_NONBLOCK | O_CLOEXEC, 0644);
    if (destination.fd < 0)
        std::fprintf(stderr, "tarnel trace: cannot write %s: %s\n", where, std::strerror(errno));
    update();
}

// The text form of an event: the argument's and the reply's fields spread
// among the others ("arg=", "reply=" for a single value, "replied" for a
// reply without one), the encodings left out.
Event textForm(const Event &e) {
    Event out(e.name);
    auto copy = [&out](const Node &fields, const char *inner, const char *single) {
        for (std::size_t i = 0; i < fields.items.size(); ++i) {
            const std::string &key = fields.keys[i];
            const Node &value = fields.items[i];
            if (key.size() > 4 && key.compare(key.size() - 4, 4, "_xdr") == 0) continue;
            if (key != inner)
                out.add(key, value);
            else if (value.kind == Node::Kind::Object)
                out.spread(value);
            else if (value.kind != Node::Kind::Null)
                out.add(single, value);
            else if (std::strcmp(inner, "reply") == 0)
                out.flag("replied");
        }
    };
    copy(e.fields, "args", "arg");
    if (e.result.kind == Node::Kind::Object) {
        out.then();
        copy(e.result, "reply", "reply");
    }
    return out;
}

void deliver(int kind, int proc, const char *name, bool replied, long micros, const Event &event) {
    inside = true;
    const bool textWanted = function != nullptr || (destination.fd >= 0 && !destination.json);
    const std::string text = textWanted ? asText(textForm(event)) : std::string();
    const std::string json = function != nullptr || destination.json ? asJson(event) : std::string();
    if (destination.fd >= 0) writeLine((destination.json ? json : text) + "\n");
    if (function != nullptr) {
        const T_ApiTraceEventT e = {kind, proc, name, replied ? 1 : 0, micros, text.c_str(), json.c_str()};
        function(&e, functionData);
    }
    inside = false;
}

// The command line, from the kernel's copy.
Node commandLine() {
    Node argv = Node::list();
    FILE *f = std::fopen("/proc/self/cmdline", "r");
    if (f == nullptr) return argv;
    std::string arg;
    for (int c; (c = std::fgetc(f)) != EOF;) {
        if (c != '\0') {
            arg += static_cast<char>(c);
            continue;
        }
        argv.push(Node::quoted(arg));
        arg.clear();
    }
    std::fclose(f);
    return argv;
}

}  // namespace

void sessionStarted(const char *how, int callbackProg, int callbackVers, int hostProg, int hostVers) {
    configure();
    if (!tracing || inside) return;
    requests = callbacks = 0;
    Event e("start");
    e.word("how", how)
        .number("pid", getpid())
        .text("name", myname)
        .number("number", launchNumber)
        .number("callback_prog", callbackProg)
        .number("callback_vers", callbackVers)
        .number("host_prog", hostProg)
        .number("host_vers", hostVers)
        .text("library", TARNEL_VERSION_STRING)
        .add("argv", commandLine());
    if (std::strcmp(how, "attached") == 0) e.number("connect_prog", connectProgram);
    deliver(TA_TRACE_START, 0, "", false, 0, e);
}

void sessionEnded() {
    if (!tracing || inside) return;
    Event e("end");
    e.number("requests", requests).number("callbacks", callbacks);
    deliver(TA_TRACE_END, 0, "", false, 0, e);
}

void callbackReceived(int proc, xdrproc_t decode, const void *argument) {
    if (!tracing || inside) return;
    const wire::CallbackEntry *entry = wire::findCallback(proc);
    const char *name = entry ? entry->name : "unknown";
    Event e("callback");
    e.number("n", ++callbacks).number("proc", proc).word("name", name);
    if (argument == nullptr)
        e.flag("garbage");
    else if (entry && std::strcmp(entry->argType, "void") != 0)
        e.add("args", valueNode(entry->argType, argument)).text("args_xdr", xdrHex(decode, argument));
    deliver(TA_TRACE_CALLBACK, proc, name, false, 0, e);
}

}  // namespace tarnel::trace

using namespace tarnel::trace;

extern "C" {

void T_ApiSetTraceFunc(T_ApiTraceFuncT f, void *data) {
    configure();
    function = f;
    functionData = data;
    update();
}

// The stubs' clnt_call. Untraced and without a pipeline, a request costs
// this one test more.
enum clnt_stat tarnel_clnt_call(CLIENT *client, rpcproc_t proc, xdrproc_t encode, void *argument, xdrproc_t decode,
                                void *reply, struct timeval timeout) {
    if (!(tracing | tarnel::pipeline::engaged))
        return clnt_call(client, proc, encode, static_cast<caddr_t>(argument), decode, static_cast<caddr_t>(reply),
                         timeout);
    if (tarnel::pipeline::engaged) return tarnel::pipeline::call(client, proc, encode, argument, decode, reply, timeout);
    return tracedCall(client, proc, encode, argument, decode, reply, timeout);
}
}

namespace tarnel::trace {

std::unique_ptr<Event> requestSent(rpcproc_t proc, xdrproc_t encode, void *argument, bool pipelined) {
    if (!tracing || inside) return nullptr;
    const wire::ProcTypes *entry = wire::findProcTypes(static_cast<u_int>(proc));
    auto e = std::make_unique<Event>("request");
    e->number("n", ++requests).number("proc", static_cast<long long>(proc)).word("stub", entry ? entry->stub : "unknown");
    // Sent ahead of its reply: a replay lets it arrive before a callback
    // recorded ahead of it, which the client could not have waited for.
    if (pipelined) e->flag("pipelined");
    const bool sent = entry && std::strcmp(entry->argType, "void") != 0;
    e->add("args", sent ? valueNode(entry->argType, argument) : Node())
        .text("args_xdr", sent ? xdrHex(encode, argument) : "");
    return e;
}

void requestAnswered(std::unique_ptr<Event> e, rpcproc_t proc, long micros, enum clnt_stat status, xdrproc_t decode,
                     void *reply) {
    if (e == nullptr || !tracing) return;
    const wire::ProcTypes *entry = wire::findProcTypes(static_cast<u_int>(proc));
    const bool replied = status == RPC_SUCCESS;
    e->number("micros", micros).then();
    if (!replied) {
        e->text("error", clnt_sperrno(status));
    } else {
        const bool carries = entry && std::strcmp(entry->resType, "void") != 0;
        e->add("reply", carries ? valueNode(entry->resType, reply) : Node())
            .text("reply_xdr", carries ? xdrHex(decode, reply) : "");
    }
    deliver(TA_TRACE_REQUEST, static_cast<int>(proc), entry ? entry->stub : "unknown", replied, micros, *e);
}

enum clnt_stat tracedCall(CLIENT *client, rpcproc_t proc, xdrproc_t encode, void *argument, xdrproc_t decode,
                          void *reply, struct timeval timeout) {
    std::unique_ptr<Event> e = requestSent(proc, encode, argument, false);
    const auto began = std::chrono::steady_clock::now();
    const enum clnt_stat status =
        clnt_call(client, proc, encode, static_cast<caddr_t>(argument), decode, static_cast<caddr_t>(reply), timeout);
    requestAnswered(std::move(e), proc, microsSince(began), status, decode, reply);
    return status;
}

long microsSince(std::chrono::steady_clock::time_point began) {
    return static_cast<long>(
        std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - began).count());
}

}  // namespace tarnel::trace
