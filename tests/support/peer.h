// Attackers for the tests: programs run as this user, as another local user
// or inside a network namespace (netns.h), and the hostile peer
// (peer/tarnel_test_peer.cpp) that forges callbacks and abuses the record
// marking of a client's callback service.
#ifndef TARNEL_TEST_PEER_H
#define TARNEL_TEST_PEER_H

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace tarnel_test {

using Words = std::vector<std::string>;

// A child process: argv[0] is looked up on PATH, its standard output is
// gathered, its standard error is the test's. Ended (TERM, then KILL) and
// reaped when destroyed, so that a failing test leaves nothing running.
class Process {
  public:
    explicit Process(const Words &argv);
    ~Process();
    Process(const Process &) = delete;
    Process &operator=(const Process &) = delete;

    pid_t pid() const { return pid_; }
    bool running();
    // Waits at most `ms` for its end, reading its output; false when it is
    // still running then.
    bool wait(int ms);

    int status = -1;  // exit status, -1 until it exited normally
    int signal = 0;   // the signal that ended it
    std::string out;  // its standard output so far

  private:
    void read(int waitMs);
    pid_t pid_ = -1;
    int out_ = -1;
};

// Runs a command to its end (killed after `ms`).
struct Finished {
    int status;
    int signal;
    std::string out;
};
Finished runCommand(const Words &argv, int ms = 30000);

// Words in front of a command that run it as another local user: nobody,
// with no supplementary groups. Needs root.
Words asOtherUser();

// The peer's one line of results: key=value numbers.
struct PeerResult {
    std::string line;
    std::map<std::string, long> values;
    // A missing key reads -1.
    long operator[](const std::string &key) const;
    // Answered nothing: refused, or closed before any reply.
    bool turnedAway() const;
    static PeerResult parse(const std::string &output);
};

// What the peer does on one run.
namespace peer {
// One call record of procedure `proc` with these argument words.
Words call(std::uint32_t proc, const std::vector<std::uint32_t> &words = {});
// Announces a notify call of `length` bytes, sends `sent` of them, then
// waits `ms` for a reply or the close.
Words record(std::uint32_t length, std::uint32_t sent, int ms);
// Holds `count` idle connections for `ms` (less when all are closed).
Words hold(int count, int ms);
}  // namespace peer

// Forged callbacks: each carries 4242, so that a line the client prints for
// it (`trace`) is its own.
struct Forgery {
    const char *what;
    Words mode;
    const char *trace;  // what the client prints when it runs it ("" for quit)
};
const std::vector<Forgery> &forgeries();

// The peer dialling a client's callback program at address:port.
class Peer {
  public:
    // `prefix`: words in front of the peer's command (another user, a
    // namespace).
    Peer(std::string address, int port, int program, int version = 1, Words prefix = {});
    Words command(const Words &mode) const;
    PeerResult run(const Words &mode, int ms = 30000) const;

  private:
    Words base_;
};

}  // namespace tarnel_test

#endif
