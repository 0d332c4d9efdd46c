#include "host_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

namespace host_test {
namespace {

int nextProgram() {
    static int counter = 0;
    counter = (counter + 1) & 0x7F;
    return 0x40000000 + static_cast<int>((getpid() & 0x1FFFFF) << 8) + counter;
}

}  // namespace

HostProcess::HostProcess(json extra) {
    signal(SIGPIPE, SIG_IGN);
    program_ = nextProgram();
    // The connection service starts once the API program is registered, so
    // its transcript line says the program can be looked up: one lookup, no
    // polling of the binder.
    json scenario = {{"program", program_},
                     {"timeout_s", 120},
                     {"connect_service", {{"program", program_ + 0x80}}},
                     {"steps", json::array({{{"do", "serve"}, {"ms", 110000}}})}};
    for (auto &[key, value] : extra.items())
        scenario[key] = value;
    std::string text = scenario.dump();
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(fds[1], STDOUT_FILENO);
        execl(TNHOST_PATH, TNHOST_PATH, "--json", text.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    out_ = fds[0];
    fcntl(out_, F_SETFL, O_NONBLOCK);
    if (sawLine("connect-service prog="))
        client_ = clnt_create("127.0.0.1", static_cast<u_long>(program_), 1, "tcp");
    if (client_) {
        timeval timeout = {10, 0};
        clnt_control(client_, CLSET_TIMEOUT, reinterpret_cast<char *>(&timeout));
    }
}

HostProcess::~HostProcess() {
    if (client_)
        clnt_destroy(client_);
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0)
        close(out_);
}

std::size_t HostProcess::drain() {
    char buffer[65536];
    std::size_t total = 0;
    ssize_t n;
    while (out_ >= 0 && (n = read(out_, buffer, sizeof buffer)) > 0) {
        total += static_cast<std::size_t>(n);
        partial_.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t nl; (nl = partial_.find('\n')) != std::string::npos;) {
            lines_.push_back(partial_.substr(0, nl));
            partial_.erase(0, nl + 1);
        }
    }
    return total;
}

std::string HostProcess::lineOf(int proc) {
    std::string key = " proc=" + std::to_string(proc) + " ";
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    // The host writes a request's line just after its reply: let the output
    // settle first, so that the line of the call just made is there.
    for (pollfd p = {out_, POLLIN, 0}; poll(&p, 1, 50) > 0 && drain() > 0;) {
    }
    for (;;) {
        drain();
        for (auto it = lines_.rbegin(); it != lines_.rend(); ++it)
            if (it->rfind("request ", 0) == 0 && it->find(key) != std::string::npos)
                return *it;
        if (std::chrono::steady_clock::now() >= deadline)
            return "";
        pollfd p = {out_, POLLIN, 0};
        poll(&p, 1, 20);
    }
}

bool HostProcess::sawLine(const std::string &fragment) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    for (;;) {
        drain();
        for (const std::string &line : lines_)
            if (line.find(fragment) != std::string::npos)
                return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        pollfd p = {out_, POLLIN, 0};
        poll(&p, 1, 20);
    }
}

int runHost(const json &scenario, std::string *err) {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0)
        return -1;
    std::string text = scenario.dump();
    pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDERR_FILENO);
        int null = open("/dev/null", O_WRONLY);
        dup2(null, STDOUT_FILENO);
        execl(TNHOST_PATH, TNHOST_PATH, "--json", text.c_str(), "--no-connect-service",
              static_cast<char *>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    char buffer[4096];
    ssize_t n;
    while ((n = read(fds[0], buffer, sizeof buffer)) > 0)
        err->append(buffer, static_cast<std::size_t>(n));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

ApiTnGetPropArgT byNum(u_int doc, u_int obj, int num) { return {doc, obj, {num, nullptr}}; }
ApiTnGetPropArgT byName(u_int doc, u_int obj, const char *name) {
    return {doc, obj, {0, const_cast<char *>(name)}};
}

}  // namespace host_test
