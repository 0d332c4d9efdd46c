// The procedure table's order and types, and the call stubs against a real RPC
// server on the loopback interface: the reply area, a vanished host, bad replies.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

#include "records_support.h"

using namespace wiretest;
using tarnel::wire::findProc;
using tarnel::wire::procCount;
using tarnel::wire::ProcEntry;
using tarnel::wire::procTable;
using tarnel::wire::recordCatalogue;
using tarnel::wire::recordCount;

namespace {

TEST(ProcTable, EntriesAreOrderedNamedAndTyped) {
    auto known = [](const std::string &type) {
        for (size_t i = 0; i < recordCount; ++i)
            if (type == recordCatalogue[i].name) return true;
        return type == "int" || type == "StringT" || type == "void";
    };
    for (size_t i = 0; i < procCount; ++i) {
        const ProcEntry &e = procTable[i];
        SCOPED_TRACE(e.stub);
        EXPECT_TRUE((i == 0 || procTable[i - 1].number < e.number) && findProc(e.number) == &e);
        EXPECT_TRUE(known(e.argType) && known(e.resType)) << e.argType << " " << e.resType;
        EXPECT_EQ(e.argSize == 0, std::string(e.argType) == "void");
        EXPECT_EQ(e.resSize == 0, std::string(e.resType) == "void");
    }
    EXPECT_STREQ(findProc(1012)->stub, "old_api_tn_choose_file_1");
    EXPECT_STREQ(findProc(1344)->stub, "api_set_client_directory_1");
}

uint32_t be(const uint8_t *p) { return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3]; }

bool read_full(int fd, uint8_t *buf, size_t n) {
    while (n > 0) {
        const ssize_t got = recv(fd, buf, n, 0);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) return false;
        buf += got, n -= static_cast<size_t>(got);
    }
    return true;
}

// A minimal RPC server on 127.0.0.1: reads record-marked calls off a TCP
// connection, keeps the last call's header and argument bytes, and answers
// every call with the result bytes it was given.
class LoopbackServer {
  public:
    LoopbackServer() {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t len = sizeof addr;
        listen_ = socket(AF_INET, SOCK_STREAM, 0);
        if (listen_ < 0 || bind(listen_, reinterpret_cast<sockaddr *>(&addr), len) != 0 || listen(listen_, 4) != 0 ||
            getsockname(listen_, reinterpret_cast<sockaddr *>(&addr), &len) != 0)
            throw std::runtime_error("cannot listen on 127.0.0.1");
        port = ntohs(addr.sin_port);
        thread_ = std::thread([this] { serve(); });
    }
    ~LoopbackServer() { stop(); }

    // Closes the listening socket and the connection; later calls fail.
    void stop() {
        {
            std::lock_guard lock(mu);
            if (std::exchange(stopping_, true)) return;
            shutdown(listen_, SHUT_RDWR);
            if (conn_ >= 0) shutdown(conn_, SHUT_RDWR);
        }
        thread_.join();
        close(listen_);
    }

    uint16_t port = 0;
    std::mutex mu;  // guards what follows
    Bytes reply;    // result bytes of every following reply
    uint32_t prog = 0, vers = 0, proc = 0;
    Bytes args;  // of the last call: everything after its header
    int calls = 0;

  private:
    void serve() {
        for (;;) {
            const int fd = accept(listen_, nullptr, nullptr);
            if (fd < 0 && errno == EINTR) continue;
            if (fd < 0) return;
            {
                std::lock_guard lock(mu);
                if (stopping_) return void(close(fd));
                conn_ = fd;
            }
            while (answer(fd)) {}
            std::lock_guard lock(mu);
            conn_ = -1;
            close(fd);
        }
    }

    bool answer(int fd) {
        Bytes msg;
        for (uint32_t mark = 0; !(mark & 0x80000000u);) {  // fragments up to the last one
            uint8_t m[4];
            if (!read_full(fd, m, 4)) return false;
            mark = be(m);
            msg.resize(msg.size() + (mark & 0x7FFFFFFFu));
            if (!read_full(fd, msg.data() + msg.size() - (mark & 0x7FFFFFFFu), mark & 0x7FFFFFFFu)) return false;
        }
        // xid, CALL, RPC version 2, program, version, procedure, then the
        // credential and verifier (flavour, length, body padded to 4).
        size_t at = 24;
        for (int auth = 0; auth < 2; ++auth) {
            if (at + 8 > msg.size()) return false;
            at += 8 + (be(&msg[at + 4]) + 3) / 4 * 4;
        }
        if (at > msg.size() || be(&msg[4]) != 0 || be(&msg[8]) != 2) return false;
        Bytes out;
        {
            std::lock_guard lock(mu);
            prog = be(&msg[12]), vers = be(&msg[16]), proc = be(&msg[20]);
            args.assign(msg.begin() + static_cast<std::ptrdiff_t>(at), msg.end());
            ++calls;
            // REPLY, MSG_ACCEPTED, null verifier, SUCCESS, then the result.
            out = wire({be(&msg[0]), 1, 0, 0, 0, 0}) + reply;
        }
        out = wire({0x80000000u | static_cast<uint32_t>(out.size())}) + out;
        return send(fd, out.data(), out.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(out.size());
    }

    int listen_ = -1, conn_ = -1;
    bool stopping_ = false;
    std::thread thread_;
};

class Stubs : public ::testing::Test {
  protected:
    // A peer that vanishes must surface as a failed call, not a signal.
    static void SetUpTestSuite() { std::signal(SIGPIPE, SIG_IGN); }

    void SetUp() override {
        sockaddr_in addr{};
        addr.sin_family = AF_INET;
        addr.sin_port = htons(server_.port);
        addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int sock = RPC_ANYSOCK;
        client_ = clnttcp_create(&addr, API_TO_TN_PROG, API_TO_TN_VERS, &sock, 0, 0);
        ASSERT_NE(client_, nullptr);
        timeval limit{10, 0};
        clnt_control(client_, CLSET_TIMEOUT, reinterpret_cast<char *>(&limit));
    }
    void TearDown() override {
        if (client_ != nullptr) clnt_destroy(client_);
    }
    void set_reply(Bytes bytes) {
        std::lock_guard lock(server_.mu);
        server_.reply = std::move(bytes);
    }

    LoopbackServer server_;
    CLIENT *client_ = nullptr;
};

TEST_F(Stubs, ResultAreaIsReusedThenZeroedWhenTheHostIsGone) {
    ApiTnGetPropArgT arg{5, 9, {20, nullptr}};
    set_reply(wire({3, 77}));
    ApiTnGetIntRetT *first = api_tn_get_int_1(&arg, client_);
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->status == 3 && first->value == 77);
    set_reply(wire({0, 78}));
    EXPECT_EQ(api_tn_get_int_1(&arg, client_), first);
    EXPECT_EQ(first->value, 78);

    server_.stop();
    EXPECT_EQ(api_tn_get_int_1(&arg, client_), nullptr);
    EXPECT_TRUE(first->status == 0 && first->value == 0);
    int bailout = 0;
    EXPECT_EQ(api_tn_over_1(&bailout, client_), nullptr);
}

// A reply that breaks off part-way leaves nothing allocated behind (the
// sanitizer build checks) and an all-zero result area.
TEST_F(Stubs, UndecodableReplyFailsAndReleasesThePartialResult) {
    ApiTnGetPropArgT arg{5, 9, {0, kNamed}};
    set_reply(wire({0, 1, 1, "z"}));
    ApiTnGetStringsRetT *area = api_tn_get_strings_1(&arg, client_);
    ASSERT_NE(area, nullptr);
    ASSERT_EQ(area->value.count, 1u);
    xdr_free(reinterpret_cast<xdrproc_t>(&xdr_ApiTnGetStringsRetT), area);

    set_reply(wire({9, 3, 1, "a", 2, "bc"}));  // three strings claimed, two sent
    EXPECT_EQ(api_tn_get_strings_1(&arg, client_), nullptr);
    EXPECT_TRUE(area->status == 0 && area->value.count == 0 && area->value.items == nullptr);

    set_reply(wire({9, 0x7FFFFFF0u, 20, 3, 1, "x"}));  // a count far beyond the data
    ApiTnGeneralObjArgT obj{5, 9};
    EXPECT_EQ(api_tn_get_props_1(&obj, client_), nullptr);
}

}  // namespace
