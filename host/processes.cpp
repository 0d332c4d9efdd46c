// Launching clients, the stand-in "host" process of the liveness test,
// capturing output, and reaping. The host is a child subreaper, so the child
// that a forking client leaves behind is reaped here as well.
#include <fcntl.h>
#include <rpc/rpc.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <thread>

#include "host.h"

namespace tarnel::host {
namespace {

std::string expand(std::string arg, const Host &host) {
    auto replace = [&](const std::string &key, int value) {
        for (std::size_t p; (p = arg.find(key)) != std::string::npos;)
            arg.replace(p, key.size(), std::to_string(value));
    };
    replace("{connect_prog}", host.scenario.connect.program);
    replace("{api_prog}", host.scenario.apiProg);
    return arg;
}

void restoreChildSignals() {
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int s : {SIGCHLD, SIGTERM, SIGINT, SIGHUP, SIGPIPE}) signal(s, SIG_DFL);
}

pid_t startDecoy() {
    pid_t pid = fork();
    if (pid == 0) {
        restoreChildSignals();
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        for (;;) pause();
    }
    return pid;
}

std::string roleOf(const ClientSession &c, pid_t pid) {
    if (pid == c.decoyPid) return "decoy";
    if (pid == c.clientPid) return "client";
    return c.forking ? "launcher" : "client";
}

}  // namespace

bool launchClient(Host &host, const LaunchSpec &spec) {
    auto c = std::make_unique<ClientSession>();
    std::size_t index = host.clients.size();
    c->id = spec.id.empty() ? "c" + std::to_string(index + 1) : spec.id;
    if (host.find(c->id)) {
        fail("two sessions named " + c->id);
        return false;
    }
    c->launch = spec;
    c->callbackProg = spec.callbackProg.value_or(host.scenario.apiProg + static_cast<int>(index) + 1);
    c->callbackVers = spec.callbackVers;
    host.callbackPrograms.insert({c->callbackProg, c->callbackVers});
    c->forking = spec.number >= 0;

    int hostPid = static_cast<int>(getpid());
    if (spec.decoyHost) {
        c->decoyPid = startDecoy();
        if (c->decoyPid < 0) {
            fail(std::string("fork: ") + std::strerror(errno));
            return false;
        }
        hostPid = c->decoyPid;
    } else if (spec.hostPid) {
        hostPid = *spec.hostPid;
    }

    std::string tnapix;
    if (spec.tnapix == LaunchSpec::Tnapix::Valid) {
        tnapix = std::to_string(c->callbackProg) + "." + std::to_string(c->callbackVers) + " " +
                 std::to_string(host.scenario.apiProg) + "." + std::to_string(host.scenario.apiVers) + " " +
                 std::to_string(hostPid) + "." + std::to_string(spec.number) + "." + spec.name;
    } else if (spec.tnapix == LaunchSpec::Tnapix::Raw) {
        tnapix = spec.rawTnapix;
    }

    // TARNEL_CLIENT_WRAPPER: words run in front of every client (a memory checker).
    std::vector<std::string> args;
    std::istringstream wrapper(std::getenv("TARNEL_CLIENT_WRAPPER") ? std::getenv("TARNEL_CLIENT_WRAPPER") : "");
    for (std::string word; wrapper >> word;) args.push_back(word);
    const bool wrapped = !args.empty();
    args.push_back(spec.path);
    for (const std::string &a : spec.args) args.push_back(expand(a, host));
    std::vector<char *> argv;
    for (std::string &a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    int pipes[2][2] = {{-1, -1}, {-1, -1}};
    if (spec.capture)
        for (auto &p : pipes)
            if (pipe2(p, O_CLOEXEC) != 0) {
                fail(std::string("pipe: ") + std::strerror(errno));
                return false;
            }

    c->launchedAt = Clock::now();
    pid_t pid = fork();
    if (pid < 0) {
        fail(std::string("fork: ") + std::strerror(errno));
        return false;
    }
    if (pid == 0) {
        restoreChildSignals();
        if (spec.capture) {
            dup2(pipes[0][1], STDOUT_FILENO);
            dup2(pipes[1][1], STDERR_FILENO);
        }
        if (spec.tnapix == LaunchSpec::Tnapix::Missing)
            unsetenv("TNAPIX");
        else
            setenv("TNAPIX", tnapix.c_str(), 1);
        for (const auto &[k, v] : spec.env) setenv(k.c_str(), v.c_str(), 1);
        (wrapped ? execvp : execv)(argv[0], argv.data());
        std::fprintf(stderr, "tnhost: cannot run %s: %s\n", spec.path.c_str(), std::strerror(errno));
        _exit(127);
    }
    c->launcherPid = pid;
    if (!c->forking) c->clientPid = pid;
    if (spec.capture) {
        const char *names[2] = {"stdout", "stderr"};
        for (int i = 0; i < 2; ++i) {
            close(pipes[i][1]);
            fcntl(pipes[i][0], F_SETFL, O_NONBLOCK);
            c->outputs.push_back({pipes[i][0], names[i], {}});
        }
    }
    trace::Event line = trace::Event("launch")
                            .word("client", c->id)
                            .number("pid", pid)
                            .number("number", spec.number)
                            .word("callback", std::to_string(c->callbackProg) + "." + std::to_string(c->callbackVers));
    if (c->decoyPid > 0) line.number("decoy", c->decoyPid);
    if (spec.tnapix == LaunchSpec::Tnapix::Missing)
        line.word("tnapix", "none");
    else
        line.text("tnapix", tnapix);
    host.clients.push_back(std::move(c));
    say(line);
    return true;
}

void drainOutput(ClientSession &client, std::size_t index, bool atEof) {
    OutputPipe &out = client.outputs[index];
    int which = out.stream == "stdout" ? 0 : 1;
    char buf[4096];
    for (;;) {
        ssize_t n = read(out.fd, buf, sizeof buf);
        if (n > 0) {
            out.partial.append(buf, static_cast<std::size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) atEof = true;
        break;
    }
    for (std::size_t nl; (nl = out.partial.find('\n')) != std::string::npos;) {
        std::string text = out.partial.substr(0, nl);
        out.partial.erase(0, nl + 1);
        say(trace::Event(out.stream).word("client", client.id).text("text", text));
        client.lines[which].push_back(text);
    }
    if (atEof) {
        if (!out.partial.empty()) {
            say(trace::Event(out.stream).word("client", client.id).text("partial", out.partial));
            client.lines[which].push_back(out.partial);
            out.partial.clear();
        }
        close(out.fd);
        out.fd = -1;
    }
}

trace::Event &addStatus(trace::Event &event, int st) {
    if (WIFEXITED(st)) return event.number("status", WEXITSTATUS(st));
    if (WIFSIGNALED(st)) return event.number("signal", WTERMSIG(st));
    return event.number("raw", st);
}

std::string describeStatus(int st) {
    if (WIFEXITED(st)) return "status=" + std::to_string(WEXITSTATUS(st));
    if (WIFSIGNALED(st)) return "signal=" + std::to_string(WTERMSIG(st));
    return "raw=" + std::to_string(st);
}

void reapChildren(Host &host) {
    for (;;) {
        int st = 0;
        pid_t pid = waitpid(-1, &st, WNOHANG);
        if (pid <= 0) break;
        host.exits[pid] = st;
        ClientSession *c = host.byPid(pid);
        if (!c)
            for (auto &s : host.clients)
                if (s->decoyPid == pid) c = s.get();
        trace::Event line("exit");
        if (c) line.word("client", c->id).word("role", roleOf(*c, pid));
        say(addStatus(line.number("pid", pid), st));
    }
}

void killDecoy(ClientSession &client) {
    if (client.decoyPid > 0 && !theHost->exits.count(client.decoyPid)) kill(client.decoyPid, SIGKILL);
}

void terminateAll(Host &host) {
    std::vector<pid_t> alive;
    for (auto &c : host.clients) {
        closeCallback(*c);
        // An attached client's number is not ours to signal: it may be
        // another machine's, or a process someone else started.
        for (pid_t p : {c->launched() ? c->clientPid : -1, c->launcherPid, c->decoyPid})
            if (p > 0 && !host.exits.count(p) && kill(p, SIGTERM) == 0) alive.push_back(p);
    }
    // A second to go quietly, then no choice.
    auto until = Clock::now() + std::chrono::seconds(1);
    for (;;) {
        reapChildren(host);
        bool any = false;
        for (pid_t p : alive) any |= !host.exits.count(p);
        if (!any || Clock::now() >= until) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    for (pid_t p : alive)
        if (!host.exits.count(p)) kill(p, SIGKILL);
    for (pid_t p : alive)
        if (!host.exits.count(p)) {
            int st = 0;
            if (waitpid(p, &st, 0) == p) host.exits[p] = st;
        }
    for (auto &c : host.clients)
        for (std::size_t i = 0; i < c->outputs.size(); ++i)
            if (c->outputs[i].fd >= 0) drainOutput(*c, i, true);
    withdrawCallbackPrograms(host);
}

void withdrawCallbackPrograms(Host &host) {
    // A client that ended cleanly has withdrawn its own; one that was killed
    // or crashed has not, and the binder would keep it for good.
    for (const auto &[prog, vers] : host.callbackPrograms)
        rpcb_unset(static_cast<rpcprog_t>(prog), static_cast<rpcvers_t>(vers), nullptr);
}

}  // namespace tarnel::host
