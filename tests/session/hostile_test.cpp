// A hostile connection service: it answers an attaching client with garbage.
// (Strangers on the callback program's port: tests/security.)
#include <gtest/gtest.h>
#include <netconfig.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <thread>

#include "host_launcher.h"

namespace tarnel_test {
namespace {

using Words = std::vector<std::uint32_t>;

sockaddr_in loopback(int port = 0) {
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    return a;
}

std::string bytes(const Words &words) {
    std::string out;
    for (std::uint32_t w : words)
        for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(w >> shift);
    return out;
}

// A reply header that accepts the call, then the result's words.
Words ok(Words result = {}) {
    Words w = {1, 0, 0, 0, 0};  // reply, accepted, null verifier, success
    w.insert(w.end(), result.begin(), result.end());
    return w;
}

// Runs `body` on a thread until destroyed; the body polls `stop`.
struct Worker {
    template <class Body> explicit Worker(Body body) : thread([this, body] { body(stop); }) {}
    ~Worker() {
        stop = true;
        thread.join();
    }
    std::atomic<bool> stop{false};
    std::thread thread;
};

// A connection service on UDP: after the echoed xid it answers procedure 0
// with `zero` and the others with `connect`; an empty answer is none at all.
// Returns its program number, registered while `service` runs.
int hostileService(std::unique_ptr<Worker> &service, const Words &zero, const Words &connect) {
    const int program = programNumber() + 0x80;  // no host takes this one
    const int fd = socket(AF_INET, SOCK_DGRAM, 0);
    sockaddr_in a = loopback();
    socklen_t len = sizeof a;
    bind(fd, reinterpret_cast<sockaddr *>(&a), len);
    getsockname(fd, reinterpret_cast<sockaddr *>(&a), &len);
    // Not pmap_set: it leaks the address it builds.
    netconfig *udp = getnetconfigent("udp");
    netbuf address = {len, len, &a};
    rpcb_set(program, 1, udp, &address);
    freenetconfigent(udp);
    service = std::make_unique<Worker>([=](const std::atomic<bool> &stop) {
        for (pollfd p = {fd, POLLIN, 0}; !stop; p.revents = 0) {
            std::uint32_t call[64];
            sockaddr_in from;
            socklen_t size = sizeof from;
            if (poll(&p, 1, 20) <= 0 ||
                recvfrom(fd, call, sizeof call, 0, reinterpret_cast<sockaddr *>(&from), &size) < 24)
                continue;
            const Words &answer = ntohl(call[5]) == 0 ? zero : connect;
            const std::string reply = bytes({ntohl(call[0])}) + bytes(answer);
            if (!answer.empty()) sendto(fd, reply.data(), reply.size(), 0, reinterpret_cast<sockaddr *>(&from), size);
        }
        rpcb_unset(program, 1, nullptr);
        close(fd);
    });
    return program;
}

struct Attach {
    const char *what;
    Words zero, connect;
    int code;
    const char *callMs = "60000";  // a bad answer must end the call, not its time-out
};

TEST(Hostile, AttachFailsQuicklyAndCleanlyOnEveryBadAnswer) {
    const Attach cases[] = {
        {"garbage for the null call", {0xDEADBEEF, 0x0BADF00D, 7}, {}, -20},
        {"header cut short", {1}, {}, -20},
        {"null call denied", {1, 1, 1, 5}, {}, -20},
        {"no answer", {}, {}, -20, "1000"},
        {"connect call rejected as garbage", ok(), {1, 0, 0, 0, 4}, -7},
        {"connect result truncated", ok(), ok({0, 0, 0x40000000, 1, 0x40000001}), -7},
        {"host name longer than the datagram", ok(), ok({0, 0, 1, 1, 1, 1, 1, 0xFFFFFFF0, 0}), -7},
        {"connect call unanswered", ok(), {}, -7, "1000"},
        {"refused with a host name", ok(), ok({0xFFFFFFF7, 9, 9, 9, 9, 9, 9, 3, 0x61626300}), -9},
    };
    for (const Attach &c : cases) {
        std::unique_ptr<Worker> service;
        const int program = hostileService(service, c.zero, c.connect);
        const json args = {"attach", std::to_string(program), "localhost", c.callMs};
        Transcript run = runHost({{"connect_service", {{"run", false}}},
                                  {"steps",
                                   {launch(SESSION_DRIVER_PATH, {{"tnapix", "missing"}, {"args", args}}),
                                    step("wait_exit", {{"status", 3}, {"timeout_ms", 8000}})}}});
        const std::string code = std::to_string(c.code);
        EXPECT_EQ(run.status, 0) << c.what << "\n" << run.text();
        EXPECT_TRUE(run.has({"text=\"connect=" + code + " errno=" + code})) << c.what << "\n" << run.text();
    }
}

}  // namespace
}  // namespace tarnel_test
