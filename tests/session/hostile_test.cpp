// A hostile peer: a connection service that answers with garbage, and
// strangers on the callback program's port while the host drives a session.
#include <gtest/gtest.h>
#include <netconfig.h>
#include <netinet/in.h>
#include <poll.h>
#include <rpc/pmap_clnt.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <random>
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

// Floods the callback port of a session while the host sends it callbacks:
// a new connection every 50 ms (up to 8, held open), each announcing a
// record of 2^31 - 1 bytes and sending 64 KiB of random bytes, after the
// start of a notify call's arguments when `stall`.
void expectServedWhileFlooded(bool stall) {
    const int program = programNumber() + 1;  // a slot no host takes
    std::string flood = bytes({0xFFFFFFFF});
    if (stall)  // call 1, version 2, notify; no credentials; notification 2, object 0, text length
        flood += bytes({1, 0, 2, static_cast<std::uint32_t>(program), 1, 7, 0, 0, 0, 0, 2, 0, 0x7FFFFFF0});
    for (std::mt19937 random(2024); flood.size() < 65536;) flood += static_cast<char>(random());
    std::atomic<int> sent{0};
    auto flooder = std::make_unique<Worker>([&](const std::atomic<bool> &stop) {
        std::vector<int> held;
        for (sockaddr_in a = loopback(); !stop; std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
            const u_short port = pmap_getport(&a, program, 1, IPPROTO_TCP);
            const sockaddr_in to = loopback(port);
            if (port == 0 || held.size() >= 8) continue;
            held.push_back(socket(AF_INET, SOCK_STREAM, 0));
            if (connect(held.back(), reinterpret_cast<const sockaddr *>(&to), sizeof to) == 0 &&
                send(held.back(), flood.data(), flood.size(), MSG_NOSIGNAL) > 0)
                ++sent;
        }
        for (int fd : held) close(fd);
    });
    Transcript run =
        runHost({{"steps",
                  {launch(SESSION_CLIENT_PATH, {{"callback_program", program}}), step("wait_ack"),
                   step("serve", {{"ms", 300}}), callback("command", {{"command", 1}, {"timeout_ms", 3000}}),
                   callback("command", {{"command", 2}, {"timeout_ms", 3000}}),
                   callback("quit", {{"timeout_ms", 3000}}), step("wait_exit", {{"status", 0}})}}});
    flooder.reset();
    EXPECT_EQ(run.status, 0) << run.text();
    EXPECT_GT(sent, 1) << run.text();
    EXPECT_TRUE(run.has({"text=\"command 2"})) << run.text();
}

TEST(Hostile, GarbageOnTheCallbackPortLeavesRealCallbacksServed) { expectServedWhileFlooded(false); }

// A peer that stops in the middle of a call once held the service loop for
// the RPC library's 35-second read time-out, once per such connection.
TEST(Hostile, StalledCallOnTheCallbackPortLeavesRealCallbacksServed) { expectServedWhileFlooded(true); }

}  // namespace
}  // namespace tarnel_test
