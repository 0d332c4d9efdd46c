// The pump: writes queued call records without blocking, reads reply records
// as they come and answers their requests in order, and serves callbacks
// that arrive meanwhile. It waits only when the window is full or everything
// is wanted, and never longer than the call time-out without a reply.
#include "pipeline/engine.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "session/session.h"
#include "trace/client_trace.h"
#include "wire/xdrproc.h"

namespace tarnel::pipeline {

bool engaged = false;
void (*serveCallbacksHook)(fd_set &ready) = nullptr;

namespace {

// A reply larger than this ends the pipeline: no request's reply is near it.
constexpr std::size_t kMaxReply = 256u << 20;
// Encoded records waiting beyond this are written before more are encoded.
constexpr std::size_t kWriteAhead = 64u << 10;
constexpr std::size_t kReadChunk = 64u << 10;
// Records gathered before they are written while the host is busy.
constexpr std::size_t kBatch = 16;

using Clock = std::chrono::steady_clock;

// An XDR stream writing at the end of `out`, grown until the value fits.
bool encodeInto(std::vector<char> &out, xdrproc_t proc, void *value, std::size_t &size, std::size_t room) {
    for (;;) {
        const std::size_t at = out.size();
        out.resize(at + room);
        XDR x;
        xdrmem_create(&x, out.data() + at, static_cast<u_int>(room), XDR_ENCODE);
        const bool done = proc(&x, value, 0) != 0;
        size = xdr_getpos(&x);
        xdr_destroy(&x);
        out.resize(at + (done ? size : 0));
        if (done) return true;
        if (room >= kMaxReply) return false;
        room *= 2;
    }
}

}  // namespace

Engine &engine() {
    static Engine e;
    return e;
}

Engine::Engine() : reader(kMaxReply), in(kReadChunk) {
    // Distinct from the ids of the connection's own calls, which start from
    // the time of day; a reply is only ever matched to the oldest request.
    nextXid = static_cast<std::uint32_t>(Clock::now().time_since_epoch().count()) ^ 0x5a5a0000u;
}

void Engine::refresh() { engaged = mode != Mode::Direct || !items.empty() || !runs.empty(); }

// The connection the stubs use: its socket and the program and version its
// calls carry. A change of connection ends what the old one had outstanding.
void Engine::use(CLIENT *client) {
    if (!items.empty()) {
        if (client == conn) return;
        fail(RPC_CANTSEND);
    }
    conn = client;
    fd = -1;
    if (client == nullptr) return;
    u_int p = 0, v = 0;
    if (!clnt_control(client, CLGET_FD, reinterpret_cast<char *>(&fd)) ||
        !clnt_control(client, CLGET_PROG, reinterpret_cast<char *>(&p)) ||
        !clnt_control(client, CLGET_VERS, reinterpret_cast<char *>(&v)))
        fd = -1;
    prog = p;
    vers = v;
}

std::uint32_t Engine::encode(rpcproc_t proc, xdrproc_t encodeArgs, void *argument, bool &ok) {
    const std::uint32_t xid = nextXid++;
    // The call header with empty credentials, as the connection's own calls carry.
    rpc_msg header{};
    header.rm_xid = xid;
    header.rm_direction = CALL;
    header.rm_call.cb_rpcvers = RPC_MSG_VERSION;
    header.rm_call.cb_prog = prog;
    header.rm_call.cb_vers = vers;
    header.rm_call.cb_proc = static_cast<u_int32_t>(proc);
    header.rm_call.cb_cred = _null_auth;
    header.rm_call.cb_verf = _null_auth;
    const std::size_t start = out.size();
    out.resize(start + 4);  // the record mark, written below
    std::size_t headerSize = 0, argSize = 0;
    ok = encodeInto(out, wire::as_xdrproc(&xdr_callmsg), &header, headerSize, 64) &&
         encodeInto(out, encodeArgs, argument, argSize, 256);
    if (!ok) {
        out.resize(start);
        return xid;
    }
    const std::uint32_t length = static_cast<std::uint32_t>(headerSize + argSize);
    const std::uint32_t mark = htonl(0x80000000u | length);
    std::memcpy(out.data() + start, &mark, 4);
    queued += 4 + length;
    ends.push_back(queued);
    return xid;
}

bool Engine::writeSome() {
    while (outAt < out.size()) {
        const ssize_t n = ::send(fd, out.data() + outAt, out.size() - outAt, MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        if (n <= 0) return false;
        outAt += static_cast<std::size_t>(n);
        written += static_cast<std::uint64_t>(n);
    }
    while (!ends.empty() && ends.front() <= written) {
        lastWholeEnd = ends.front();
        ends.pop_front();
    }
    if (outAt == out.size()) {
        out.clear();
        outAt = 0;
    } else if (outAt > kWriteAhead) {
        out.erase(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(outAt));
        outAt = 0;
    }
    return true;
}

// Reads what has arrived and answers every whole reply in it. A reply must
// carry the oldest outstanding request's id; anything else means the stream
// cannot be trusted, and every outstanding request ends without a reply.
bool Engine::readSome() {
    ssize_t n;
    do n = ::recv(fd, in.data(), in.size(), MSG_DONTWAIT);
    while (n < 0 && errno == EINTR);
    if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) return true;
    if (n <= 0) {
        fail(RPC_CANTRECV);
        return false;
    }
    lastProgress = Clock::now();
    // Answering runs no pump (pump() returns at once during a pass), so the
    // buffer is read to its end undisturbed.
    const std::size_t got = static_cast<std::size_t>(n);
    std::size_t at = 0;
    while (at < got) {
        std::size_t used = 0;
        const auto state = reader.take(in.data() + at, got - at, used);
        at += used;
        if (state == wire::RecordReader::State::Partial) break;
        if (state != wire::RecordReader::State::Complete || reader.size() < 4) {
            fail(RPC_CANTDECODERES);
            return false;
        }
        std::uint32_t xid;
        std::memcpy(&xid, reader.data(), 4);
        xid = ntohl(xid);
        if (std::find(abandoned.begin(), abandoned.end(), xid) != abandoned.end()) continue;
        if (items.empty() || xid != items.front().xid) {
            fail(RPC_CANTDECODERES);
            return false;
        }
        Item item = std::move(items.front());
        items.pop_front();
        answer(item, reader.data(), reader.size(), RPC_SUCCESS);
    }
    return true;
}

void Engine::answer(Item &item, const char *record, std::size_t size, enum clnt_stat failure) {
    if (item.discard) return;
    ++answered;
    const Mode saved = mode;
    const auto savedAnswering = answering;
    mode = Mode::Answer;
    answering = {0, item.proc, record, size, failure, &item};
    if (item.call != nullptr) {
        item.call(item.data, 1);
    } else if (item.reread != nullptr) {
        const int code = item.reread(item.stub);
        if (code != 0 && item.run != nullptr) {
            T_ApiPipelineReportT &r = item.run->report;
            if (r.failed++ == 0) r.firstIndex = item.index, r.firstProc = static_cast<int>(item.proc), r.firstCode = code;
        }
    }
    mode = saved;
    answering = savedAnswering;
}

void Engine::fail(enum clnt_stat why) {
    // A record cut in the middle, either way, leaves a stream the next call
    // would misread: the connection is closed rather than trusted.
    const bool midRecord = written != lastWholeEnd || !reader.atBoundary();
    if (midRecord && fd >= 0) shutdown(fd, SHUT_RDWR);
    out.clear();
    outAt = 0;
    ends.clear();
    written = lastWholeEnd = queued;
    reader = wire::RecordReader(kMaxReply);
    std::deque<Item> ending;
    ending.swap(items);
    // Their replies may still come: they are skipped, not taken for others'.
    for (const Item &item : ending) abandoned.push_back(item.xid);
    while (abandoned.size() > 4 * TA_PIPELINE_WINDOW) abandoned.pop_front();
    for (Item &item : ending) answer(item, nullptr, 0, why);
    refresh();
}

void Engine::serveCallbacks(const std::vector<int> &ready) {
    fd_set set;
    FD_ZERO(&set);
    for (int fd : ready) FD_SET(fd, &set);
    // A callback runs as it would between synchronous calls: its status
    // requests are not taken into the runs open around it.
    std::vector<std::unique_ptr<Run>> outer;
    outer.swap(runs);
    refresh();
    if (serveCallbacksHook != nullptr) serveCallbacksHook(set);
    runs.swap(outer);
    for (auto &run : outer) runs.push_back(std::move(run));  // runs a callback left open
    refresh();
}

// After a request was queued: when the window is full, waits until half of
// it has been answered, so that replies are read and requests written in
// batches rather than one by one; otherwise writes without waiting when the
// host has nothing of ours to work on or a batch has gathered.
void Engine::queuedOne() {
    if (items.size() >= TA_PIPELINE_WINDOW || out.size() - outAt >= kWriteAhead) return pump(TA_PIPELINE_WINDOW / 2);
    const bool hostIdle = items.front().end > written;
    if ((hostIdle || ends.size() >= kBatch) && !writeSome()) fail(RPC_CANTSEND);
}

// Until at most `most` requests are outstanding and what is queued fits
// the write-ahead.
void Engine::pump(std::size_t most) {
    if (mode != Mode::Direct) return;
    // The time-out runs while waiting: time the caller spent elsewhere
    // between adding requests and waiting for them does not count.
    const auto entered = Clock::now();
    auto done = [&] { return items.size() <= most && out.size() - outAt < kWriteAhead; };
    while (!done()) {
        if (fd < 0) {
            fail(RPC_CANTSEND);
            break;
        }
        if (outAt < out.size() && !writeSome()) {
            fail(RPC_CANTSEND);
            break;
        }
        if (done()) break;
        const timeval limit = get_TA_TimeOut();
        const auto deadline = std::max(lastProgress, entered) + std::chrono::seconds(limit.tv_sec) +
                              std::chrono::microseconds(limit.tv_usec);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (left <= 0) {
            fail(RPC_TIMEDOUT);
            break;
        }
        std::vector<pollfd> fds(svc_pollfd, svc_pollfd + svc_max_pollfd);
        const std::size_t callbacks = fds.size();
        fds.push_back({fd, static_cast<short>(POLLIN | (outAt < out.size() ? POLLOUT : 0)), 0});
        const int rc = poll(fds.data(), fds.size(), static_cast<int>(std::min<long long>(left, 60000)));
        if (rc < 0 && errno != EINTR) {
            fail(RPC_CANTRECV);
            break;
        }
        if (rc <= 0) continue;
        const short got = fds[callbacks].revents;
        if ((got & POLLOUT) && !writeSome()) {
            fail(RPC_CANTSEND);
            break;
        }
        if ((got & (POLLIN | POLLHUP | POLLERR)) && !readSome()) break;
        // Callbacks after the replies that came with them, in arrival order.
        std::vector<int> ready;
        for (std::size_t i = 0; i < callbacks; ++i)
            if (fds[i].fd >= 0 && fds[i].revents != 0) ready.push_back(fds[i].fd);
        if (!ready.empty()) serveCallbacks(ready);
    }
    refresh();
}

void abandon() {
    Engine &e = engine();
    e.use(nullptr);
}

bool collecting() {
    const Engine &e = engine();
    return !e.runs.empty() && e.mode == Mode::Direct;
}

}  // namespace tarnel::pipeline
