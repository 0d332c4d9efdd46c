#include "host_launcher.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <rpc/pmap_clnt.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <sstream>
#include <thread>

namespace tarnel_test {
namespace {

using Clock = std::chrono::steady_clock;

// The kernel refuses a single argument of 128 KiB or more.
constexpr std::size_t kLongestArgument = 64 * 1024;

// tnhost's command line: `prefix`, the program, `args`.
std::vector<std::string> tnhost(const std::vector<std::string> &args, const std::vector<std::string> &prefix = {}) {
    std::vector<std::string> argv = prefix;
    argv.push_back(TNHOST_PATH);
    argv.insert(argv.end(), args.begin(), args.end());
    return argv;
}

}  // namespace

pid_t spawn(const std::vector<std::string> &command, int *out, FILE *err) {
    std::vector<char *> argv;
    for (const std::string &a : command) argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    int fds[2];
    if (command.empty() || pipe2(fds, O_CLOEXEC) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(fds[1], STDOUT_FILENO);
        if (err) dup2(fileno(err), STDERR_FILENO);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(fds[1]);
    if (pid < 0) {
        close(fds[0]);
        return -1;
    }
    *out = fds[0];
    return pid;
}

int programNumber() {
    static int counter = 0;
    counter = (counter + 8) & 0x78;
    return 0x40000000 + static_cast<int>((getpid() & 0x1FFFFF) << 8) + counter;
}

std::vector<std::string> Transcript::find(std::initializer_list<std::string> fragments) const {
    std::vector<std::string> out;
    for (const std::string &l : lines) {
        bool all = true;
        for (const std::string &f : fragments) all = all && l.find(f) != std::string::npos;
        if (all) out.push_back(l);
    }
    return out;
}

int Transcript::indexOf(const std::string &fragment) const {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find(fragment) != std::string::npos) return static_cast<int>(i);
    return -1;
}

std::string Transcript::text() const {
    std::string t;
    for (const std::string &l : lines) t += l + "\n";
    return t + err;
}

Transcript runHost(json scenario, int timeoutS, std::vector<std::string> options, int stopAfterMs,
                   const std::vector<std::string> &prefix) {
    if (!scenario.contains("program")) scenario["program"] = programNumber();
    scenario["timeout_s"] = timeoutS;
    std::string text = scenario.dump();
    if (text.size() < kLongestArgument) {
        options.insert(options.begin(), {"--json", text});
        return runTnhost(options, timeoutS, stopAfterMs, prefix);
    }
    static int files = 0;
    const std::string file =
        "/tmp/tarnel-scenario-" + std::to_string(getpid()) + "-" + std::to_string(++files) + ".json";
    unlink(file.c_str());  // left by a killed run of an earlier process with this id
    const int fd = open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) return {};
    FILE *f = fdopen(fd, "w");
    bool written = f && fwrite(text.data(), 1, text.size(), f) == text.size();
    written = (f ? fclose(f) == 0 : close(fd) == 0) && written;
    Transcript run;
    if (written) {
        options.insert(options.begin(), {"--scenario", file});
        run = runTnhost(options, timeoutS, stopAfterMs, prefix);
    }
    unlink(file.c_str());
    return run;
}

Transcript runTnhost(const std::vector<std::string> &args, int timeoutS, int stopAfterMs,
                     const std::vector<std::string> &prefix) {
    Transcript run;
    FILE *err = tmpfile();
    int out = -1;
    const pid_t pid = spawn(tnhost(args, prefix), &out, err);
    if (pid < 0) {
        if (err) fclose(err);
        return run;
    }
    std::string buffer;
    const auto until = Clock::now() + std::chrono::seconds(timeoutS + 15);
    auto stopAt = Clock::now() + std::chrono::milliseconds(stopAfterMs);
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
        if (left <= 0) {
            kill(pid, SIGKILL);
            break;
        }
        if (stopAfterMs >= 0 && Clock::now() >= stopAt) {
            kill(pid, SIGTERM);
            stopAfterMs = -1;
        }
        pollfd p{out, POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(std::min<long long>(left, stopAfterMs >= 0 ? 20 : left))) <= 0) continue;
        char chunk[4096];
        const ssize_t n = read(out, chunk, sizeof chunk);
        if (n <= 0) break;
        buffer.append(chunk, static_cast<std::size_t>(n));
    }
    close(out);
    int st = 0;
    waitpid(pid, &st, 0);
    run.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    std::istringstream lines(buffer);
    for (std::string l; std::getline(lines, l);) run.lines.push_back(l);
    if (err) {
        rewind(err);
        char chunk[4096];
        for (std::size_t n; (n = fread(chunk, 1, sizeof chunk, err)) > 0;) run.err.append(chunk, n);
        fclose(err);
    }
    return run;
}

json step(const char *kind, json extra) {
    json s = {{"do", kind}};
    s.update(extra);
    return s;
}

json launch(const char *path, json extra) {
    extra["path"] = path;
    return step("launch", extra);
}

json callback(const char *proc, json extra) {
    extra["proc"] = proc;
    return step("callback", extra);
}

json session(const char *path, std::initializer_list<json> middle, json launchExtra, bool quit) {
    json steps = {launch(path, launchExtra), step("wait_ack")};
    for (const json &m : middle) steps.push_back(m);
    if (quit) {
        steps.push_back(callback("quit"));
        steps.push_back(step("wait_exit", {{"status", 0}}));
    }
    return steps;
}

ServedHost::ServedHost(json rules, json extra, CLIENT **handle, const std::vector<std::string> &options) {
    // As in a launched client: a lost host fails the call, it does not kill us.
    signal(SIGPIPE, SIG_IGN);
    if (handle) handle_ = handle;
    if (*handle_) {
        clnt_destroy(*handle_);
        *handle_ = nullptr;
    }
    program_ = programNumber();
    json scenario = {{"program", program_},
                     {"timeout_s", 300},
                     {"log_args", true},
                     {"connect_service", {{"run", false}}},
                     {"requests", rules.is_null() ? json::array() : rules},
                     {"steps", json::array({{{"do", "serve"}, {"ms", 290000}}})}};
    for (auto &[key, value] : extra.items()) scenario[key] = value;
    std::vector<std::string> args = {"--json", scenario.dump()};
    args.insert(args.end(), options.begin(), options.end());
    pid_ = spawn(tnhost(args), &out_);
    if (pid_ < 0) return;
    fcntl(out_, F_SETFL, O_NONBLOCK);

    // Ready once the binder knows the program. The handle is made on the port
    // asked of the port mapper: the RPC library's own lookups (clnt_create)
    // leak memory, on failure and on success.
    sockaddr_in address = {};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (const auto deadline = Clock::now() + std::chrono::seconds(10); !*handle_ && Clock::now() < deadline;) {
        const u_short port = pmap_getport(&address, program_, 1, IPPROTO_TCP);
        if (port != 0) {
            address.sin_port = htons(port);
            int socket = RPC_ANYSOCK;
            *handle_ = clnttcp_create(&address, program_, 1, &socket, 0, 0);
            address.sin_port = 0;
        }
        if (!*handle_) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (*handle_) {
        timeval timeout = {10, 0};
        clnt_control(*handle_, CLSET_TIMEOUT, reinterpret_cast<char *>(&timeout));
    }
}

ServedHost::~ServedHost() {
    if (*handle_) {
        clnt_destroy(*handle_);
        *handle_ = nullptr;
    }
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    if (discarder_.joinable()) discarder_.join();
    if (out_ >= 0) close(out_);
}

void ServedHost::discardTranscript() {
    if (out_ < 0 || discarder_.joinable()) return;
    // Every millisecond rather than at every line: a reader woken per line
    // would take its share of the processors from the host and the client.
    discarder_ = std::thread([fd = out_] {
        char buffer[65536];
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            ssize_t n;
            while ((n = read(fd, buffer, sizeof buffer)) > 0) {
            }
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR)) return;
        }
    });
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
    pollfd p = {out_, POLLIN, 0};
    if (out_ < 0 || (waitMs > 0 && poll(&p, 1, waitMs) <= 0)) return;
    char buffer[65536];
    for (ssize_t n; (n = read(out_, buffer, sizeof buffer)) > 0;) {
        partial_.append(buffer, static_cast<std::size_t>(n));
        for (std::size_t nl; (nl = partial_.find('\n')) != std::string::npos; partial_.erase(0, nl + 1))
            lines_.push_back(partial_.substr(0, nl));
    }
}

// The host prints a request's line after sending its reply, so a caller that
// has its reply may still find only an older line for the same procedure. The
// host serves one request at a time and the null procedure prints nothing:
// once a null call is answered, every earlier request's line is in the pipe.
void ServedHost::settle() {
    if (pid_ <= 0 || !*handle_) return;
    timeval timeout = {2, 0};
    const auto none = reinterpret_cast<xdrproc_t>(reinterpret_cast<void (*)()>(xdr_void));
    (void)clnt_call(*handle_, NULLPROC, none, nullptr, none, nullptr, timeout);
}

const std::vector<std::string> &ServedHost::lines() {
    settle();
    drain(0);
    return lines_;
}

std::string ServedHost::lineOf(int proc) {
    const std::string key = " proc=" + std::to_string(proc) + " ";
    settle();
    for (const auto deadline = Clock::now() + std::chrono::seconds(5);;) {
        drain(0);
        for (auto it = lines_.rbegin(); it != lines_.rend(); ++it)
            if (it->rfind("request ", 0) == 0 && it->find(key) != std::string::npos) return *it;
        if (Clock::now() >= deadline) return "";
        drain(20);
    }
}

std::string ServedHost::argsOf(int proc) {
    const std::string line = lineOf(proc);
    const std::size_t at = line.find(" args=");
    if (at == std::string::npos) return "";
    return line.substr(at + 6, line.find(' ', at + 6) - at - 6);
}

std::string ServedHost::text() {
    std::string all;
    for (const std::string &l : lines()) all += l + "\n";
    return all;
}

}  // namespace tarnel_test
