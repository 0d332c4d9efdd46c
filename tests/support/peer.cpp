#include "peer.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <sstream>
#include <thread>

#include "host_launcher.h"

namespace tarnel_test {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::uint32_t kForged = 4242;

}  // namespace

Process::Process(const Words &argv) { pid_ = spawn(argv, &out_); }

Process::~Process() {
    if (running()) {
        kill(pid_, SIGTERM);
        if (!wait(2000)) {
            kill(pid_, SIGKILL);
            wait(5000);
        }
    }
    if (out_ >= 0) close(out_);
}

void Process::read(int waitMs) {
    if (out_ < 0) return;
    pollfd p{out_, POLLIN, 0};
    if (poll(&p, 1, waitMs) <= 0) return;
    char chunk[4096];
    const ssize_t n = ::read(out_, chunk, sizeof chunk);
    if (n > 0) {
        out.append(chunk, static_cast<std::size_t>(n));
    } else {
        close(out_);
        out_ = -1;
    }
}

bool Process::running() {
    if (pid_ <= 0) return false;
    int st = 0;
    const pid_t done = waitpid(pid_, &st, WNOHANG);
    if (done == 0) return true;
    if (done == pid_) {
        if (WIFEXITED(st)) status = WEXITSTATUS(st);
        if (WIFSIGNALED(st)) signal = WTERMSIG(st);
    }
    pid_ = -1;
    return false;
}

bool Process::wait(int ms) {
    const auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (running()) {
        if (Clock::now() >= until) return false;
        if (out_ >= 0)
            read(20);
        else
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    while (out_ >= 0) read(100);  // what it wrote before it ended
    return true;
}

Finished runCommand(const Words &argv, int ms) {
    Process p(argv);
    p.wait(ms);
    return {p.status, p.signal, p.out};  // still running: killed by its destructor, status -1
}

Words asOtherUser() { return {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"}; }

long PeerResult::operator[](const std::string &key) const {
    const auto it = values.find(key);
    return it == values.end() ? -1 : it->second;
}

bool PeerResult::turnedAway() const {
    return (*this)["connected"] == 0 || ((*this)["reply"] == 0 && (*this)["closed"] == 1);
}

PeerResult PeerResult::parse(const std::string &output) {
    PeerResult r;
    r.line = output.substr(0, output.find('\n'));
    std::istringstream words(r.line);
    for (std::string w; words >> w;) {
        const std::size_t eq = w.find('=');
        if (eq != std::string::npos) r.values[w.substr(0, eq)] = std::strtol(w.c_str() + eq + 1, nullptr, 10);
    }
    return r;
}

namespace peer {

Words call(std::uint32_t proc, const std::vector<std::uint32_t> &words) {
    Words mode = {"call", std::to_string(proc)};
    for (std::uint32_t w : words) mode.push_back(std::to_string(w));
    return mode;
}

Words record(std::uint32_t length, std::uint32_t sent, int ms) {
    return {"record", std::to_string(length), std::to_string(sent), std::to_string(ms)};
}

Words hold(int count, int ms) { return {"hold", std::to_string(count), std::to_string(ms)}; }

}  // namespace peer

const std::vector<Forgery> &forgeries() {
    static const std::vector<Forgery> all = {
        // notification, object 0, empty text, number
        {"notify", peer::call(7, {kForged, 0, 0, kForged}), "notify 4242 0 [] 4242"},
        {"command", peer::call(3, {kForged}), "command 4242"},
        {"quit", peer::call(1), ""},
    };
    return all;
}

Peer::Peer(std::string address, int port, int program, int version, Words prefix) : base_(std::move(prefix)) {
    for (std::string w : {std::string(TARNEL_TEST_PEER_PATH), address, std::to_string(port), std::to_string(program),
                          std::to_string(version)})
        base_.push_back(w);
}

Words Peer::command(const Words &mode) const {
    Words argv = base_;
    argv.insert(argv.end(), mode.begin(), mode.end());
    return argv;
}

PeerResult Peer::run(const Words &mode, int ms) const { return PeerResult::parse(runCommand(command(mode), ms).out); }

}  // namespace tarnel_test
