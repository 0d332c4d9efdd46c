// A hostile peer of a client's callback service, for the tests. It speaks
// just enough of RPC over TCP to forge calls and to abuse the record
// marking, and prints one line of key=value results for the test to parse.
//
//   tarnel_test_peer ADDR PORT PROG VERS call PROC [WORD...]
//       one call record, the words as its argument; waits 1500 ms for the
//       reply
//   tarnel_test_peer ADDR PORT PROG VERS record LEN SENT MS
//       announces one record of LEN bytes (a notify call whose text fills
//       it), sends its first SENT bytes, then waits up to MS ms for a reply
//       or the close
//   both print: sent=<record bytes> reply=0|1 accept=<accept_stat or -1>
//       closed=0|1 ms=<until then>
//   tarnel_test_peer ADDR PORT PROG VERS hold N MS
//       opens N idle connections and holds them MS ms, or until every one
//       is closed: connected=<n> closed=<k> ms=<held>
//
// Every line starts with connected=<n>: 0 when the first connection was
// refused or failed (then nothing else was tried).
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kLastFragment = 0x80000000u;
constexpr std::uint32_t kForgedNumber = 4242;  // what a forged callback carries
constexpr int kCallReplyMs = 1500;

sockaddr_in target;
std::uint32_t program, version;

long msSince(Clock::time_point start) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

std::uint32_t number(const char *text) { return static_cast<std::uint32_t>(std::strtoul(text, nullptr, 0)); }

void put(std::string &out, std::uint32_t word) {
    for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(word >> shift);
}

int dial() {
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    if (fd < 0) return -1;
    if (connect(fd, reinterpret_cast<const sockaddr *>(&target), sizeof target) != 0) {
        const int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    const int one = 1;
    (void)setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    return fd;
}

// The call header of procedure `proc`, no credentials.
std::string callHeader(std::uint32_t proc) {
    std::string out;
    for (std::uint32_t w : {0x7E57u, 0u, 2u, program, version, proc, 0u, 0u, 0u, 0u}) put(out, w);
    return out;
}

// Sends what it can before the deadline; a peer that closes or resets ends
// it early. Returns the bytes sent.
std::size_t sendAll(int fd, const std::string &data, Clock::time_point deadline) {
    std::size_t sent = 0;
    while (sent < data.size() && Clock::now() < deadline) {
        pollfd p{fd, POLLOUT, 0};
        if (poll(&p, 1, 50) <= 0) continue;
        if (p.revents & (POLLERR | POLLHUP)) break;
        const ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) continue;
        if (n <= 0) break;
        sent += static_cast<std::size_t>(n);
    }
    return sent;
}

struct Outcome {
    bool reply = false;
    bool closed = false;
    std::uint32_t accept = 0xFFFFFFFFu;
    long ms = 0;
};

// Waits for the server's reply record or its close, until the deadline.
Outcome await(int fd, Clock::time_point start, Clock::time_point deadline) {
    Outcome o;
    std::string got;
    while (Clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
        if (poll(&p, 1, static_cast<int>(std::max<long long>(left, 1))) <= 0) continue;
        char chunk[512];
        const ssize_t n = recv(fd, chunk, sizeof chunk, 0);
        if (n <= 0) {
            o.closed = true;
            break;
        }
        got.append(chunk, static_cast<std::size_t>(n));
        // Fragment header, xid, REPLY, MSG_ACCEPTED, verifier (flavor,
        // length 0), accept_stat.
        if (got.size() >= 28) {
            o.reply = true;
            const auto *b = reinterpret_cast<const unsigned char *>(got.data()) + 24;
            o.accept = std::uint32_t{b[0]} << 24 | std::uint32_t{b[1]} << 16 | std::uint32_t{b[2]} << 8 | b[3];
            break;
        }
    }
    o.ms = msSince(start);
    return o;
}

// Sends one record that announces `length` bytes, of which `body` is sent,
// and waits up to `waitMs` for its reply or the close.
int exchange(std::uint32_t length, const std::string &body, int waitMs) {
    std::string data;
    put(data, kLastFragment | length);
    data += body;
    const auto start = Clock::now();
    const int fd = dial();
    if (fd < 0) {
        std::printf("connected=0 errno=%d\n", errno);
        return 0;
    }
    const auto deadline = start + std::chrono::milliseconds(waitMs);
    const std::size_t sent = sendAll(fd, data, deadline);
    const Outcome o = await(fd, start, deadline);
    std::printf("connected=1 sent=%zu reply=%d accept=%d closed=%d ms=%ld\n", sent > 4 ? sent - 4 : 0, o.reply ? 1 : 0,
                o.reply ? static_cast<int>(o.accept) : -1, o.closed ? 1 : 0, o.ms);
    close(fd);
    return 0;
}

int forge(int argc, char **argv) {
    if (argc < 1) return 2;
    std::string body = callHeader(number(argv[0]));
    for (int i = 1; i < argc; ++i) put(body, number(argv[i]));
    return exchange(static_cast<std::uint32_t>(body.size()), body, kCallReplyMs);
}

int record(int argc, char **argv) {
    if (argc < 3) return 2;
    const std::uint32_t length = number(argv[0]);
    if (length < 60 || length > 0x7FFFFFFFu) return 2;
    // A notify call whose text runs to the record's end; a length that is not
    // a multiple of four leaves the text's padding short by a few bytes.
    std::string body = callHeader(7);
    for (std::uint32_t w : {kForgedNumber, 0u, length - 56}) put(body, w);
    body.resize(std::min<std::size_t>(number(argv[1]), length), 'x');
    return exchange(length, body, std::atoi(argv[2]));
}

int hold(int argc, char **argv) {
    if (argc < 2) return 2;
    const int count = std::atoi(argv[0]);
    const int holdMs = std::atoi(argv[1]);
    rlimit files{};
    if (getrlimit(RLIMIT_NOFILE, &files) == 0 && files.rlim_cur < files.rlim_max) {
        files.rlim_cur = files.rlim_max;
        (void)setrlimit(RLIMIT_NOFILE, &files);
    }
    std::vector<int> fds;
    for (int i = 0; i < count; ++i) {
        const int fd = dial();
        if (fd < 0) break;
        fds.push_back(fd);
    }
    // A closed one leaves the poll set (a negative descriptor is skipped).
    std::vector<pollfd> open;
    for (int fd : fds) open.push_back({fd, POLLIN, 0});
    const auto start = Clock::now();
    const auto deadline = start + std::chrono::milliseconds(holdMs);
    std::size_t closed = 0;
    while (closed < fds.size() && Clock::now() < deadline) {
        if (poll(open.data(), open.size(), 20) <= 0) continue;
        for (pollfd &p : open) {
            if (p.fd < 0 || p.revents == 0) continue;
            char byte;
            const ssize_t n = recv(p.fd, &byte, 1, MSG_DONTWAIT);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) {
                p.fd = -1;
                ++closed;
            }
        }
    }
    std::printf("connected=%zu closed=%zu ms=%ld\n", fds.size(), closed, msSince(start));
    for (int fd : fds) close(fd);
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc < 6) {
        std::fprintf(stderr, "usage: %s ADDR PORT PROG VERS call|record|hold ...\n", argv[0]);
        return 2;
    }
    target.sin_family = AF_INET;
    target.sin_port = htons(static_cast<std::uint16_t>(std::atoi(argv[2])));
    if (inet_pton(AF_INET, argv[1], &target.sin_addr) != 1) return 2;
    program = number(argv[3]);
    version = number(argv[4]);
    const std::string mode = argv[5];
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    if (mode == "call") return forge(argc - 6, argv + 6);
    if (mode == "record") return record(argc - 6, argv + 6);
    if (mode == "hold") return hold(argc - 6, argv + 6);
    return 2;
}
