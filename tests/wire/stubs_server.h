// A minimal ONC RPC server on 127.0.0.1 for testing the call stubs: it reads
// record-marked calls off a real TCP connection, keeps the raw bytes of the
// last call's arguments, and answers every call with the bytes it was given.
#ifndef TARNEL_TESTS_WIRE_STUBS_SERVER_H
#define TARNEL_TESTS_WIRE_STUBS_SERVER_H

#include <cstdint>
#include <mutex>
#include <thread>

#include "support/values.h"

namespace wiretest {

using tv::Bytes;
using tv::operator+;

struct ReceivedCall {
    uint32_t prog = 0, vers = 0, proc = 0;
    Bytes args; // everything after the call header
};

class LoopbackRpcServer {
public:
    LoopbackRpcServer(); // listens on an ephemeral port and starts serving
    ~LoopbackRpcServer();
    LoopbackRpcServer(const LoopbackRpcServer &) = delete;
    LoopbackRpcServer &operator=(const LoopbackRpcServer &) = delete;

    uint16_t port() const { return port_; }
    // The result bytes of the reply to every following call.
    void set_reply(Bytes result);
    ReceivedCall last_call();
    int calls();
    // Closes the listening socket and the connection; later calls fail.
    void stop();

private:
    void serve();
    bool answer(int fd);

    int listen_fd_ = -1;
    int conn_fd_ = -1;
    uint16_t port_ = 0;
    std::mutex mu_;
    bool stopping_ = false;
    Bytes reply_;
    ReceivedCall last_;
    int calls_ = 0;
    std::thread thread_;
};

} // namespace wiretest

#endif
