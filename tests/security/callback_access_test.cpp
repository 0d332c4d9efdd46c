// Who reaches a client's callbacks. Strangers (another machine, another
// local user) must run none and must not keep the host's own callbacks from
// being served; a host on another machine must be served; a peer abusing
// the record marking must cost the client neither CPU nor its service, nor
// crash it when memory runs out; large legitimate callbacks arrive whole.
// The attacker runs on a thread while tnhost drives the session: the host
// goes on at each of the attacker's signals (request kGo).
#include <arpa/inet.h>
#include <dirent.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <pwd.h>
#include <rpc/pmap_clnt.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <iostream>
#include <sstream>
#include <thread>

#include "host_launcher.h"
#include "netns.h"
#include "peer.h"
#include "session/callback_service.h"
#include "wire/xdrproc.h"

namespace tarnel_test {
namespace {

constexpr int kGo = 1375;  // a request the test clients never make
constexpr std::uint32_t kMiB = 1u << 20;
constexpr std::uint32_t kLargest = 16 * kMiB;  // the largest callback record served
const char *const kLoopback = "127.0.0.1";

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool kAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool kAddressSanitizer = false;
#endif

sockaddr_in inet(const std::string &address, int port = 0) {
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    inet_pton(AF_INET, address.c_str(), &a.sin_addr);
    a.sin_port = htons(static_cast<std::uint16_t>(port));
    return a;
}

// A program's port at the binder of `address`, once it is registered.
int portOf(const std::string &address, int program, int protocol = IPPROTO_TCP) {
    for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);;) {
        sockaddr_in a = inet(address);
        if (const u_short port = pmap_getport(&a, program, 1, protocol)) return port;
        if (std::chrono::steady_clock::now() >= deadline) return 0;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Lets the host go on past waitFor(value).
void signalHost(const std::string &address, int program, int value) {
    sockaddr_in a = inet(address, portOf(address, program));
    int sock = RPC_ANYSOCK;
    CLIENT *host = a.sin_port ? clnttcp_create(&a, program, 1, &sock, 0, 0) : nullptr;
    if (!host) return;
    int status = 0;
    const xdrproc_t word = tarnel::wire::as_xdrproc(&xdr_int);
    timeval wait = {5, 0};
    (void)clnt_call(host, kGo, word, reinterpret_cast<char *>(&value), word, reinterpret_cast<char *>(&status), wait);
    clnt_destroy(host);
}

json waitFor(int value) { return step("wait_request", {{"proc", kGo}, {"args", value}, {"timeout_ms", 40000}}); }
json command(int n) { return callback("command", {{"command", n}, {"timeout_ms", 3000}}); }

// The process that has `arg` as one of its arguments.
pid_t processWith(const std::string &arg) {
    for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);;) {
        DIR *proc = opendir("/proc");
        for (dirent *e; proc && (e = readdir(proc));) {
            const pid_t pid = static_cast<pid_t>(std::atoi(e->d_name));
            std::ifstream in("/proc/" + std::string(e->d_name) + "/cmdline");
            for (std::string a; pid > 0 && std::getline(in, a, '\0');)
                if (a == arg) {
                    closedir(proc);
                    return pid;
                }
        }
        if (proc) closedir(proc);
        if (std::chrono::steady_clock::now() >= deadline) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
}

// User and system CPU time of a process so far; -1 when it is gone.
double cpuSeconds(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string stat((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::size_t end = stat.rfind(')');
    if (pid <= 0 || end == std::string::npos) return -1;
    std::istringstream fields(stat.substr(end + 2));  // from field 3, the state
    std::string skip;
    for (int i = 3; i < 14; ++i) fields >> skip;
    double user = 0, system = 0;
    fields >> user >> system;
    return (user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

long addressSpace(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string key; in >> key;)
        if (key == "VmSize:") {
            long kib = 0;
            in >> kib;
            return kib * 1024;
        }
    return -1;
}

// Whether a connection to this local port is open: the host's callback
// connection, once it made one.
bool connectedTo(int port) {
    for (const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);;) {
        std::ifstream tcp("/proc/net/tcp");
        std::string line;
        std::getline(tcp, line);  // the heading
        for (std::string slot, local, remote, state; tcp >> slot >> local >> remote >> state;) {
            std::getline(tcp, line);
            if (state == "01" && std::stoi(local.substr(local.find(':') + 1), nullptr, 16) == port) return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// The longest time a callback waited for its over, in milliseconds.
long slowestCallbackMs(const Transcript &run) {
    long slowest = -1;
    for (const std::string &l : run.find({"over client=", " us="}))
        slowest = std::max(slowest, std::atol(l.c_str() + l.find(" us=") + 4) / 1000);
    return slowest;
}

// The transcript with every line cut short: some hold a megabyte.
std::string brief(const Transcript &run) {
    std::string out;
    for (const std::string &l : run.lines) out += l.substr(0, 200) + (l.size() > 200 ? "...\n" : "\n");
    return out + run.err.substr(0, 2000);
}

bool root() { return geteuid() == 0; }

// Whether the peer, run this way, reaches the binder on `address`: the
// control that its refusals come from the client, not from a broken path.
bool reachable(const std::string &address, const Words &prefix) {
    return Peer(address, 111, 100000, 2, prefix).run(peer::call(0))["reply"] == 1;
}

// One attack on a launched session, once the host's callback connection is
// open (command 1): the peer dials the client's callback port at `address`,
// runs `during` while the host sends commands 2 and 3 on that connection,
// then forges callbacks when `forge`.
struct Siege {
    std::string address = kLoopback;
    Words prefix;
    bool forge = false;
    Words during;
    long headroom = 0;  // > 0: the client's address space is capped at what it uses plus this
};

struct Outcome {
    std::vector<PeerResult> forged;
    PeerResult during;
    double cpu = -1;  // the client's CPU seconds while `during` ran
    Transcript run;
};

Outcome besiege(const Siege &s) {
    const int program = programNumber();
    const std::string marker = "tarnel-siege-" + std::to_string(program);
    Outcome o;
    std::thread attacker([&] {
        const int port = portOf(kLoopback, program + 1);
        const Peer peer(s.address, port, program + 1, 1, s.prefix);
        const pid_t client = processWith(marker);
        connectedTo(port);
        if (s.headroom > 0 && client > 0)
            runCommand({"prlimit", "--pid", std::to_string(client),
                        "--as=" + std::to_string(addressSpace(client) + s.headroom)});
        const double before = cpuSeconds(client);
        {
            Process during(peer.command(s.during));
            std::this_thread::sleep_for(std::chrono::milliseconds(300));  // connected, sending or stalled
            signalHost(kLoopback, program, 1);
            during.wait(30000);
            o.during = PeerResult::parse(during.out);
        }
        const double after = cpuSeconds(client);
        o.cpu = before >= 0 && after >= 0 ? after - before : -1;
        // Last, as a forged quit that runs ends the client.
        if (s.forge)
            for (const Forgery &f : forgeries()) o.forged.push_back(peer.run(f.mode));
        signalHost(kLoopback, program, 2);
    });
    o.run = runHost({{"program", program},
                     {"steps",
                      {launch(SESSION_CLIENT_PATH, {{"args", {marker}}}), step("wait_ack"), command(1), waitFor(1),
                       command(2), command(3), waitFor(2), callback("quit"), step("wait_exit", {{"status", 0}})}}},
                    60, {"--timing"});
    attacker.join();
    return o;
}

// What every attack must leave: the host's commands served, the client
// ending cleanly at the host's quit, and nothing forged run.
void expectServedThrough(const Outcome &o, const std::string &what) {
    EXPECT_EQ(o.run.status, 0) << what << "\n" << brief(o.run);
    for (const char *served : {"text=\"command 2\"", "text=\"command 3\""})
        EXPECT_TRUE(o.run.has({"stdout client=c1", served})) << what << ": the host's commands were not served";
    EXPECT_FALSE(o.run.has({"exit client=c1", "signal="})) << what << ": the client was killed";
    for (const Forgery &f : forgeries())
        if (*f.trace) { EXPECT_FALSE(o.run.has({f.trace})) << what << ": forged " << f.what << " ran"; }
}

// Who owns a peer's socket decides whether it gets in: each of the kernel's
// two tables must name the owner of a real connection's far end.
TEST(CallbackAccess, BothKernelTablesNameThePeerSocketsOwner) {
    const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in at = inet(kLoopback);
    socklen_t length = sizeof at;
    ASSERT_EQ(bind(listener, reinterpret_cast<sockaddr *>(&at), length), 0);
    ASSERT_EQ(listen(listener, 4), 0);
    getsockname(listener, reinterpret_cast<sockaddr *>(&at), &length);
    std::vector<uid_t> owners = {geteuid()};
    const passwd *nobody = getpwnam("nobody");
    if (root() && nobody != nullptr) owners.push_back(nobody->pw_uid);
    for (const uid_t owner : owners) {
        const pid_t child = fork();
        if (child == 0) {  // connects as `owner` and waits to be killed
            if (owner != geteuid() && (setgid(nobody->pw_gid) != 0 || setuid(owner) != 0)) _exit(1);
            const int fd = socket(AF_INET, SOCK_STREAM, 0);
            if (connect(fd, reinterpret_cast<const sockaddr *>(&at), sizeof at) != 0) _exit(1);
            pause();
            _exit(0);
        }
        sockaddr_in peer = {}, here = {};
        socklen_t peerLength = sizeof peer, hereLength = sizeof here;
        const int fd = accept(listener, reinterpret_cast<sockaddr *>(&peer), &peerLength);
        getsockname(fd, reinterpret_cast<sockaddr *>(&here), &hereLength);
        for (const auto lookup : {tarnel::session::tcpSocketOwnerFromDiag, tarnel::session::tcpSocketOwnerFromTable}) {
            uid_t found = 99999;
            EXPECT_TRUE(lookup(peer, here, found)) << "owner " << owner;
            EXPECT_EQ(found, owner);
        }
        close(fd);
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    close(listener);
}

TEST(CallbackAccess, StrangersRunNoCallbackAndDoNotStopTheHost) {
    if (!root()) GTEST_SKIP() << "needs root: a network namespace, and another user's identity";
    NetNamespace network(0);
    ASSERT_TRUE(network.ok()) << network.error();
    struct Stranger {
        const char *who;
        std::string address;  // where it dials the client
        Words prefix;
    };
    const Stranger cases[] = {
        {"a machine on the network", network.outside(), network.exec()},
        {"another local user", kLoopback, asOtherUser()},
    };
    for (const Stranger &c : cases) {
        ASSERT_TRUE(reachable(c.address, c.prefix)) << c.who << ": the peer cannot reach this machine's binder";
        // 300 held connections: more than the client has descriptors.
        const Outcome o = besiege({c.address, c.prefix, true, peer::hold(300, 4000), 0});
        ASSERT_EQ(o.forged.size(), forgeries().size()) << c.who;
        for (std::size_t i = 0; i < o.forged.size(); ++i) {
            EXPECT_TRUE(o.forged[i].turnedAway())
                << c.who << ", forged " << forgeries()[i].what << ": " << o.forged[i].line;
            EXPECT_LT(o.forged[i]["ms"], 1000) << c.who << ": not closed at once: " << o.forged[i].line;
        }
        EXPECT_TRUE(o.during["connected"] == 0 || o.during["closed"] == o.during["connected"])
            << c.who << ": held connections kept open: " << o.during.line;
        expectServedThrough(o, c.who);
    }
}

TEST(CallbackAccess, RemoteHostIsServedAndNobodyElse) {
    if (!root()) GTEST_SKIP() << "needs root: network namespaces and an RPC binder of their own";
    NetNamespace hostSide(0), stranger(1);
    ASSERT_TRUE(hostSide.ok()) << hostSide.error();
    ASSERT_TRUE(stranger.ok()) << stranger.error();
    NamespaceBinder binder(hostSide);
    ASSERT_TRUE(binder.ok()) << binder.error();
    ASSERT_TRUE(reachable(stranger.outside(), stranger.exec())) << "the stranger cannot reach this machine";

    const int program = programNumber();
    const int callbacks = program + 1;  // the host's first session
    std::vector<PeerResult> forged;
    Finished client{-1, 0, ""};
    std::thread attacker([&] {
        // The client attaches from this machine once the host's connection
        // service is registered in its namespace; the stranger forges once
        // the host has called the client (init).
        portOf(hostSide.inside(), program + 0x80, IPPROTO_UDP);
        Process driver({SESSION_DRIVER_PATH, "attach", std::to_string(program + 0x80), hostSide.inside()});
        const int port = portOf(kLoopback, callbacks);
        connectedTo(port);
        const Peer peer(stranger.outside(), port, callbacks, 1, stranger.exec());
        for (const Forgery &f : forgeries()) forged.push_back(peer.run(f.mode));
        signalHost(hostSide.inside(), program, 1);
        driver.wait(20000);
        client = {driver.status, driver.signal, driver.out};
    });
    const Transcript run = runHost({{"program", program},
                                    {"steps",
                                     {step("wait_attach"), step("wait_ack"), callback("init", {{"initialization", 1}}),
                                      waitFor(1), callback("quit"), step("serve", {{"ms", 300}})}}},
                                   60, {"--listen", hostSide.inside()}, -1, binder.enter());
    attacker.join();

    EXPECT_EQ(run.status, 0) << run.text();
    EXPECT_TRUE(run.has({"attach proc=108", "-> status=0"})) << run.text();
    EXPECT_TRUE(run.has({"over client=a1 value=0 for=callback-1"})) << run.text();
    EXPECT_EQ(client.status, 0) << "signal " << client.signal << "\n" << client.out;
    EXPECT_NE(client.out.find("connect=0 errno=0"), std::string::npos) << client.out;
    EXPECT_NE(client.out.find("init 1"), std::string::npos) << client.out;
    ASSERT_EQ(forged.size(), forgeries().size());
    for (std::size_t i = 0; i < forged.size(); ++i) {
        EXPECT_TRUE(forged[i].turnedAway()) << "forged " << forgeries()[i].what << ": " << forged[i].line;
        if (*forgeries()[i].trace) {
            EXPECT_EQ(client.out.find(forgeries()[i].trace), std::string::npos) << forgeries()[i].what << " ran";
        }
    }
}

TEST(CallbackAccess, AbusedRecordMarkingCostsNoServiceNorCrash) {
    struct Abuse {
        const char *what;
        Words during;
        long headroom;
        bool closed;  // at once
    };
    const Abuse cases[] = {
        {"record of 65,537 bytes announced, stalled for 3 s", peer::record(65537, 100, 3000), 0, false},
        {"record over 16 MiB announced", peer::record(kLargest + 4, 100, 2000), 0, true},
        {"16 MiB - 1 bytes sent with the address space capped", peer::record(kLargest - 1, kLargest - 1, 5000),
         8 * kMiB, false},
    };
    for (const Abuse &c : cases) {
        if (c.headroom > 0 && kAddressSanitizer) {
            std::cout << "not run under AddressSanitizer (its shadow memory needs the address space): " << c.what
                      << "\n";
            continue;
        }
        const Outcome o = besiege({kLoopback, {}, false, c.during, c.headroom});
        std::cout << c.what << ": client CPU " << o.cpu << " s, slowest callback " << slowestCallbackMs(o.run)
                  << " ms, peer: " << o.during.line << "\n";
        EXPECT_EQ(o.during["connected"], 1) << c.what << ": " << o.during.line;
        if (c.closed) {
            EXPECT_TRUE(o.during["closed"] == 1 && o.during["ms"] < 1000) << c.what << ": " << o.during.line;
        }
        // A loop that spins on the stalled connection burns a second a second.
        EXPECT_GE(o.cpu, 0) << c.what;
        EXPECT_LT(o.cpu, 1.0) << c.what;
        EXPECT_GE(slowestCallbackMs(o.run), 0) << c.what << ": no callback ended with its over";
        EXPECT_LT(slowestCallbackMs(o.run), 1000) << c.what;
        expectServedThrough(o, c.what);
    }
}

TEST(CallbackAccess, LargeCallbacksArriveWhole) {
    std::string pieces = "p\x1ep\x1ep\x1ep\x1ep\x1ep\x1eseventh";
    for (int i = 7; i < 262144; ++i) pieces += "\x1ep";
    struct Large {
        const char *what;
        json call;
        std::string seen;  // the end of the client's line
        std::size_t length;
    };
    const Large cases[] = {
        {"notify with 1 MiB of text",
         callback("notify", {{"notification", 7}, {"text", std::string(kMiB - 4, 'a') + "#END"}}), "#END] 0\"", kMiB},
        {"filter notification of 262,144 pieces", callback("notify", {{"notification", 75}, {"text", pieces}}),
         "filter 0 [p] [p] [p] extra=262138 [seventh] 0\"", 0},
    };
    for (const Large &c : cases) {
        const Transcript run = runHost({{"steps", session(SESSION_CLIENT_PATH, {c.call})}}, 60);
        EXPECT_EQ(run.status, 0) << c.what << "\n" << brief(run);
        const auto lines = run.find({"stdout client=c1", c.seen});
        EXPECT_EQ(lines.size(), 1u) << c.what << ": not received whole";
        for (const std::string &l : lines) EXPECT_GE(l.size(), c.length) << c.what;
    }
}

}  // namespace
}  // namespace tarnel_test
