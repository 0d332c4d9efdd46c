#include "netns.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <rpc/pmap_clnt.h>
#include <rpc/pmap_prot.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <sstream>
#include <thread>

namespace tarnel_test {
namespace {

const std::string kNamePrefix = "tarnel-t";  // namespaces: tarnel-t<pid>-<index>
const std::string kLinkPrefix = "tnt";       // veth ends: tnt<pid>o<index>, tnt<pid>i<index>

bool run(const Words &argv, std::string *error = nullptr) {
    const Finished f = runCommand(argv, 10000);
    if (f.status == 0) return true;
    if (error && error->empty()) {
        *error = "failed (status " + std::to_string(f.status) + "):";
        for (const std::string &w : argv) *error += " " + w;
    }
    return false;
}

// The processes still inside a namespace: only ever ones a test started.
void killInside(const std::string &name) {
    std::istringstream pids(runCommand({"ip", "netns", "pids", name}, 10000).out);
    for (long pid; pids >> pid;) kill(static_cast<pid_t>(pid), SIGKILL);
}

// A name made by a test process that is gone: the pid after the prefix.
bool orphaned(const std::string &name, const std::string &prefix) {
    if (name.rfind(prefix, 0) != 0) return false;
    const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
    return pid > 0 && pid != getpid() && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
}

// What an earlier test program killed half-way left behind.
void sweep() {
    std::istringstream spaces(runCommand({"ip", "netns", "list"}, 10000).out);
    for (std::string line; std::getline(spaces, line);) {
        const std::string name = line.substr(0, line.find(' '));
        if (!orphaned(name, kNamePrefix)) continue;
        killInside(name);
        run({"ip", "netns", "del", name});
    }
    std::istringstream links(runCommand({"ip", "-o", "link", "show"}, 10000).out);
    for (std::string line; std::getline(links, line);) {
        // "7: tnt123o0@if6: <...>"
        const std::size_t colon = line.find(": ");
        if (colon == std::string::npos) continue;
        const std::string name = line.substr(colon + 2, line.find_first_of("@:", colon + 2) - colon - 2);
        if (orphaned(name, kLinkPrefix)) run({"ip", "link", "del", name});
    }
}

// This process's /24 of 10.231.0.0/16, chosen once: from the process id, or
// the next one that no interface on this machine uses.
const std::string &block() {
    static const std::string chosen = [] {
        sweep();
        for (int i = 0; i < 250; ++i) {
            const std::string b = "10.231." + std::to_string(1 + (getpid() + i) % 250) + ".";
            if (runCommand({"ip", "-4", "-o", "addr", "show", "to", b + "0/24"}, 10000).out.empty()) return b;
        }
        return std::string("10.231.0.");
    }();
    return chosen;
}

}  // namespace

NetNamespace::NetNamespace(int index) {
    const std::string pid = std::to_string(getpid());
    name_ = kNamePrefix + pid + "-" + std::to_string(index);
    link_ = kLinkPrefix + pid + "o" + std::to_string(index);
    const std::string in = kLinkPrefix + pid + "i" + std::to_string(index);
    inside_ = block() + std::to_string(4 * index + 1);
    outside_ = block() + std::to_string(4 * index + 2);
    if (index < 0 || index > 63) {
        error_ = "namespace index out of range";
        return;
    }
    const Words steps[] = {
        {"ip", "netns", "add", name_},
        {"ip", "link", "add", link_, "type", "veth", "peer", "name", in, "netns", name_},
        {"ip", "addr", "add", outside_ + "/30", "dev", link_},
        {"ip", "link", "set", link_, "up"},
        {"ip", "-n", name_, "addr", "add", inside_ + "/30", "dev", in},
        {"ip", "-n", name_, "link", "set", in, "up"},
        {"ip", "-n", name_, "link", "set", "lo", "up"},
    };
    for (const Words &s : steps)
        if (!run(s, &error_)) return;
}

NetNamespace::~NetNamespace() {
    killInside(name_);
    run({"ip", "link", "del", link_});
    run({"ip", "netns", "del", name_});
}

NamespaceBinder::NamespaceBinder(const NetNamespace &ns) {
    Words argv = ns.exec();
    for (const char *w : {"unshare", "--mount", "--propagation", "private", "sh", "-c",
                          "mount -t tmpfs tarnel-run /run && mkdir -p /run/rpcbind && exec rpcbind -f"})
        argv.push_back(w);
    binder_ = std::make_unique<Process>(argv);
    // Ready once it answers on the namespace's address.
    sockaddr_in at{};
    at.sin_family = AF_INET;
    inet_pton(AF_INET, ns.inside().c_str(), &at.sin_addr);
    for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);;) {
        if (pmap_getport(&at, PMAPPROG, PMAPVERS, IPPROTO_TCP) != 0) return;
        if (!binder_->running() || std::chrono::steady_clock::now() >= deadline) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        at.sin_port = 0;
    }
    error_ = "the namespace's rpcbind did not start (is rpcbind installed?)";
}

NamespaceBinder::~NamespaceBinder() = default;

Words NamespaceBinder::enter() const {
    return {"nsenter", "--target", std::to_string(binder_->pid()), "--mount", "--net", "--"};
}

}  // namespace tarnel_test
