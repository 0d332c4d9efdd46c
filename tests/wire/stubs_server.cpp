#include "stubs_server.h"

#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace wiretest {
namespace {

bool read_full(int fd, uint8_t *buf, size_t n)
{
    while (n > 0) {
        ssize_t got = recv(fd, buf, n, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        buf += got;
        n -= static_cast<size_t>(got);
    }
    return true;
}

// One record of the record-marking standard: fragments up to the last one.
bool read_record(int fd, Bytes *out)
{
    out->clear();
    for (;;) {
        uint8_t mark[4];
        if (!read_full(fd, mark, 4))
            return false;
        uint32_t word = uint32_t{mark[0]} << 24 | uint32_t{mark[1]} << 16 |
                        uint32_t{mark[2]} << 8 | mark[3];
        size_t at = out->size();
        out->resize(at + (word & 0x7fffffffu));
        if (!read_full(fd, out->data() + at, word & 0x7fffffffu))
            return false;
        if (word & 0x80000000u)
            return true;
    }
}

uint32_t word_at(const Bytes &b, size_t at)
{
    if (at + 4 > b.size())
        throw std::runtime_error("short call header");
    return uint32_t{b[at]} << 24 | uint32_t{b[at + 1]} << 16 | uint32_t{b[at + 2]} << 8 |
           b[at + 3];
}

} // namespace

LoopbackRpcServer::LoopbackRpcServer()
{
    listen_fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in addr{};
    addr.sin_family = AF_INET;
    addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t len = sizeof addr;
    if (listen_fd_ < 0 || bind(listen_fd_, reinterpret_cast<sockaddr *>(&addr), len) != 0 ||
        listen(listen_fd_, 4) != 0 ||
        getsockname(listen_fd_, reinterpret_cast<sockaddr *>(&addr), &len) != 0)
        throw std::runtime_error("cannot listen on 127.0.0.1");
    port_ = ntohs(addr.sin_port);
    thread_ = std::thread([this] { serve(); });
}

LoopbackRpcServer::~LoopbackRpcServer() { stop(); }

void LoopbackRpcServer::set_reply(Bytes result)
{
    std::lock_guard lock(mu_);
    reply_ = std::move(result);
}

ReceivedCall LoopbackRpcServer::last_call()
{
    std::lock_guard lock(mu_);
    return last_;
}

int LoopbackRpcServer::calls()
{
    std::lock_guard lock(mu_);
    return calls_;
}

void LoopbackRpcServer::stop()
{
    {
        std::lock_guard lock(mu_);
        if (stopping_)
            return;
        stopping_ = true;
        shutdown(listen_fd_, SHUT_RDWR);
        if (conn_fd_ >= 0)
            shutdown(conn_fd_, SHUT_RDWR);
    }
    thread_.join();
    close(listen_fd_);
}

void LoopbackRpcServer::serve()
{
    for (;;) {
        int fd = accept(listen_fd_, nullptr, nullptr);
        if (fd < 0 && errno == EINTR)
            continue;
        if (fd < 0)
            return;
        {
            std::lock_guard lock(mu_);
            if (stopping_) {
                close(fd);
                return;
            }
            conn_fd_ = fd;
        }
        while (answer(fd)) {
        }
        {
            std::lock_guard lock(mu_);
            conn_fd_ = -1;
        }
        close(fd);
    }
}

// Call header: xid, CALL, RPC version, program, version, procedure, then
// credential and verifier (flavour, length, body padded to 4 bytes each).
bool LoopbackRpcServer::answer(int fd)
{
    Bytes msg;
    if (!read_record(fd, &msg))
        return false;
    ReceivedCall call;
    uint32_t xid;
    try {
        xid = word_at(msg, 0);
        if (word_at(msg, 4) != 0 || word_at(msg, 8) != 2)
            return false;
        call.prog = word_at(msg, 12);
        call.vers = word_at(msg, 16);
        call.proc = word_at(msg, 20);
        size_t at = 24;
        for (int auth = 0; auth < 2; ++auth)
            at += 8 + (word_at(msg, at + 4) + 3) / 4 * 4;
        if (at > msg.size())
            return false;
        call.args.assign(msg.begin() + static_cast<std::ptrdiff_t>(at), msg.end());
    } catch (const std::runtime_error &) {
        return false;
    }
    Bytes reply;
    {
        std::lock_guard lock(mu_);
        last_ = call;
        ++calls_;
        // REPLY, MSG_ACCEPTED, null verifier, SUCCESS, then the result.
        reply = tv::wire({xid, 1, 0, 0, 0, 0}) + reply_;
    }
    Bytes record = tv::wire({0x80000000u | static_cast<uint32_t>(reply.size())}) + reply;
    return send(fd, record.data(), record.size(), MSG_NOSIGNAL) ==
           static_cast<ssize_t>(record.size());
}

} // namespace wiretest
