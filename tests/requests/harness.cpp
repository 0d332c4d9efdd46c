#include "harness.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <rpc/pmap_clnt.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include <tarnel/tnapi_session.h>

namespace requests_test {
namespace {

// A fresh transient program number per host: the process id keeps parallel
// test processes apart, the counter successive hosts of one process.
int nextProgram() {
    static int counter = 0;
    counter = (counter + 1) & 0x7F;
    return 0x40000000 + static_cast<int>((getpid() & 0x1FFFFF) << 8) + counter;
}

void disconnect() {
    if (tarnel_client != nullptr) {
        clnt_destroy(tarnel_client);
        tarnel_client = nullptr;
    }
}

} // namespace

ServedHost::ServedHost(json rules, json extra) {
    // As in a launched client: a lost host fails the call, it does not kill us.
    signal(SIGPIPE, SIG_IGN);
    program_ = nextProgram();
    json scenario = {{"program", program_},
                     {"timeout_s", 300},
                     {"log_args", true},
                     {"connect_service", {{"run", false}}},
                     {"requests", rules},
                     {"steps", json::array({{{"do", "serve"}, {"ms", 290000}}})}};
    for (auto &[key, value] : extra.items()) scenario[key] = value;
    const std::string text = scenario.dump();

    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        execl(TNHOST_PATH, TNHOST_PATH, "--json", text.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    out_ = pipeFds[0];
    fcntl(out_, F_SETFL, O_NONBLOCK);

    // The host is ready once the binder knows its program. Its port is asked
    // of the port mapper and the handle made on it: the RPC library's own
    // lookups (clnt_create) leak memory, on failure and on success.
    disconnect();
    struct sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (std::chrono::steady_clock::now() < deadline) {
        const u_short port = pmap_getport(&address, program_, 1, IPPROTO_TCP);
        if (port != 0) {
            address.sin_port = htons(port);
            int socket = RPC_ANYSOCK;
            tarnel_client = clnttcp_create(&address, program_, 1, &socket, 0, 0);
            if (tarnel_client != nullptr) break;
            address.sin_port = 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (tarnel_client == nullptr) return;
    struct timeval timeout = {10, 0};
    clnt_control(tarnel_client, CLSET_TIMEOUT, reinterpret_cast<char *>(&timeout));
    ready_ = true;
}

ServedHost::~ServedHost() {
    disconnect();
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0) close(out_);
}

void ServedHost::vanish() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
        rpcb_unset(program_, 1, nullptr);
    }
}

void ServedHost::drain(int waitMs) {
    if (out_ < 0) return;
    struct pollfd p = {out_, POLLIN, 0};
    if (waitMs > 0 && poll(&p, 1, waitMs) <= 0) return;
    char buffer[65536];
    ssize_t n;
    while ((n = read(out_, buffer, sizeof buffer)) > 0) {
        partial_.append(buffer, static_cast<std::size_t>(n));
        std::size_t nl;
        while ((nl = partial_.find('\n')) != std::string::npos) {
            lines_.push_back(partial_.substr(0, nl));
            partial_.erase(0, nl + 1);
        }
    }
}

const std::vector<std::string> &ServedHost::lines() {
    settle();
    drain(0);
    return lines_;
}

// The host prints a request's line after sending its reply, so a caller that
// has its reply may still find only an older line for the same procedure. The
// host serves one request at a time and the null procedure prints nothing:
// once a null call is answered, every earlier request's line is in the pipe.
void ServedHost::settle() {
    if (pid_ <= 0 || tarnel_client == nullptr) return;
    struct timeval timeout = {2, 0};
    const auto none = reinterpret_cast<xdrproc_t>(reinterpret_cast<void (*)()>(xdr_void));
    (void)clnt_call(tarnel_client, NULLPROC, none, nullptr, none, nullptr, timeout);
}

std::string ServedHost::lineOf(int proc) {
    const std::string key = " proc=" + std::to_string(proc) + " ";
    settle();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        drain(0);
        for (auto it = lines_.rbegin(); it != lines_.rend(); ++it)
            if (it->rfind("request ", 0) == 0 && it->find(key) != std::string::npos) return *it;
        if (std::chrono::steady_clock::now() >= deadline) return "";
        drain(20);
    }
}

std::string ServedHost::argsOf(int proc) {
    const std::string line = lineOf(proc);
    const std::size_t at = line.find(" args=");
    if (at == std::string::npos) return "";
    const std::size_t begin = at + 6;
    return line.substr(begin, line.find(' ', begin) - begin);
}

std::string ServedHost::text() {
    std::string all;
    for (const std::string &l : lines()) all += l + "\n";
    return all;
}

std::string hexOf(xdrproc_t proc, const void *record) {
    void *writable = const_cast<void *>(record);
    const unsigned long size = xdr_sizeof(proc, writable);
    std::string bytes(size, '\0');
    XDR x;
    xdrmem_create(&x, bytes.data(), static_cast<u_int>(size), XDR_ENCODE);
    const bool ok = proc(&x, writable);
    xdr_destroy(&x);
    if (!ok) return "?";
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return hex;
}

} // namespace requests_test

// The test program links the whole library; the session units it pulls in
// call the three callbacks every client defines. This client never receives
// a callback.
extern "C" {
void T_ApiInitialize(int) {}
void T_ApiNotify(int, unsigned int, StringT, int) {}
void T_ApiCommand(int) {}
}
