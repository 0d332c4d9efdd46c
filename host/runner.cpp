// The main loop and the scenario's steps. One thread: the loop serves the RPC
// services, reads client output, reaps processes and sends queued callbacks;
// every step is a bounded wait on that loop.
#include <poll.h>
#include <rpc/rpc.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <functional>
#include <map>
#include <signal.h>
#include <sys/wait.h>

#include "host.h"
#include "model.h"
#include "record_fields.h"
#include "replay.h"

namespace tarnel::host {

Host *theHost = nullptr;

ClientSession *Host::find(const std::string &id) {
    for (auto &c : clients)
        if (c->id == id) return c.get();
    return nullptr;
}

ClientSession *Host::byPid(pid_t pid) {
    for (auto &c : clients)
        if (pid > 0 && c->launched() && (c->clientPid == pid || c->launcherPid == pid)) return c.get();
    return nullptr;
}

ClientSession *Host::byApiFd(int fd) {
    // The newest session on a descriptor wins: descriptors are reused.
    for (auto it = clients.rbegin(); it != clients.rend(); ++it)
        if ((*it)->apiFd == fd) return it->get();
    return nullptr;
}

ClientSession *Host::target(const std::string &id) {
    if (!id.empty()) return find(id);
    return clients.empty() ? nullptr : clients.back().get();
}

std::shared_ptr<OpenControl> openControl(ClientSession &client, const std::string &label, std::optional<int> expected) {
    auto c = std::make_shared<OpenControl>();
    c->label = label;
    c->expectedValue = expected;
    c->since = Clock::now();
    client.controls.push_back(c);
    return c;
}

trace::Event closeControl(ClientSession &client, int value) {
    trace::Event line = trace::Event("over").word("client", client.id).number("value", value);
    if (client.controls.empty()) {
        fail("over request from " + client.id + " while no callback or take-control was open");
        return line.word("for", "none");
    }
    if (value) client.bailedOut = true;
    auto c = client.controls.back();
    client.controls.pop_back();
    c->closed = true;
    line.word("for", c->label);
    if (theHost->timing)
        line.number("us", std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - c->since).count());
    if (c->expectedValue && *c->expectedValue != value)
        fail("over for " + c->label + " of " + client.id + " carried " + std::to_string(value) + ", expected " +
             std::to_string(*c->expectedValue));
    return line;
}

void pumpSequences(Host &host) {
    for (auto &c : host.clients)
        while (!c->sequences.empty()) {
            CallbackSequence &top = c->sequences.back();
            if (top.pending.empty()) {
                c->sequences.pop_back();
                continue;
            }
            if (c->controls.size() > top.depth) break;
            CallbackSpec next = top.pending.front();
            top.pending.pop_front();
            sendCallback(host, *c, next);
        }
}

void pollOnce(Host &host, int maxWaitMs) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(host.deadline - Clock::now());
    int wait = static_cast<int>(std::max<long long>(0, std::min<long long>(maxWaitMs, left.count())));

    std::vector<pollfd> fds(svc_pollfd, svc_pollfd + svc_max_pollfd);
    std::size_t svcCount = fds.size();
    fds.push_back({host.signalPipe[0], POLLIN, 0});
    std::vector<std::pair<ClientSession *, std::size_t>> outs;
    for (auto &c : host.clients)
        for (std::size_t i = 0; i < c->outputs.size(); ++i)
            if (c->outputs[i].fd >= 0) {
                fds.push_back({c->outputs[i].fd, POLLIN, 0});
                outs.emplace_back(c.get(), i);
            }
    int rc = poll(fds.data(), fds.size(), wait);
    if (rc > 0) {
        int svcReady = 0;
        for (std::size_t i = 0; i < svcCount; ++i) svcReady += fds[i].revents != 0;
        if (svcReady) svc_getreq_poll(fds.data(), svcReady);
        if (fds[svcCount].revents) {
            unsigned char sig[64];
            ssize_t n = read(host.signalPipe[0], sig, sizeof sig);
            for (ssize_t i = 0; i < n; ++i)
                if (sig[i] != SIGCHLD) {
                    host.stopRequested = true;
                    host.stopSignal = sig[i];
                }
        }
        for (std::size_t k = 0; k < outs.size(); ++k)
            if (fds[svcCount + 1 + k].revents) drainOutput(*outs[k].first, outs[k].second, false);
    }
    reapChildren(host);
    pumpSequences(host);
}

namespace {

// How the session's process ended, or "" while it runs. A forking client's
// launcher may end well once it has forked; only a failure counts then.
std::string endedHow(Host &host, const ClientSession &c) {
    if (!c.launched()) return "";
    pid_t pid = c.clientPid > 0 ? c.clientPid : c.launcherPid;
    auto it = host.exits.find(pid);
    if (pid <= 0 || it == host.exits.end()) return "";
    if (c.clientPid <= 0 && c.forking && WIFEXITED(it->second) && WEXITSTATUS(it->second) == 0) return "";
    return describeStatus(it->second);
}

// "; last stderr: "a" "b"" with the session's last lines of standard error.
std::string lastErrors(ClientSession &c) {
    for (std::size_t i = 0; i < c.outputs.size(); ++i)
        if (c.outputs[i].fd >= 0) drainOutput(c, i, false);
    const auto &lines = c.lines[1];
    std::string out;
    for (std::size_t i = lines.size() > 5 ? lines.size() - 5 : 0; i < lines.size(); ++i)
        out += " " + trace::quotedText(lines[i]);
    return out.empty() ? "" : "; last stderr:" + out;
}

// Serves until `done`; fails on the step's time-out, the run's, or (with
// `watch`) as soon as that session's process ends. A time-out's message is
// "timeout waiting for <what>", or `timedOut` given the bound that passed
// ("within 200 ms", "before the overall timeout of 60 s").
bool waitUntil(Host &host, int timeoutMs, const std::string &what, const std::function<bool()> &done,
               ClientSession *watch = nullptr, const std::function<std::string(const std::string &)> &timedOut = {}) {
    auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (done()) return true;
        if (host.stopRequested) return false;
        if (watch && !endedHow(host, *watch).empty()) {
            pollOnce(host, 0);  // what it sent before it ended still counts
            if (done()) return true;
            fail(watch->id + " ended (" + endedHow(host, *watch) + ") while waiting for " + what + lastErrors(*watch));
            return false;
        }
        auto now = Clock::now();
        if (now >= host.deadline) {
            fail(timedOut ? timedOut("before the overall timeout of " + std::to_string(host.scenario.timeoutS) + " s")
                          : "overall timeout while waiting for " + what);
            return false;
        }
        if (now >= until) {
            fail(timedOut ? timedOut("within " + std::to_string(timeoutMs) + " ms") : "timeout waiting for " + what);
            return false;
        }
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - now).count();
        pollOnce(host, static_cast<int>(std::min<long long>(left + 1, 100)));
    }
}

void serveFor(Host &host, int ms) {
    auto until = Clock::now() + std::chrono::milliseconds(ms);
    while (!host.stopRequested && Clock::now() < until && Clock::now() < host.deadline) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
        pollOnce(host, static_cast<int>(std::max<long long>(1, left.count())));
    }
}

ClientSession *need(Host &host, const Step &s) {
    ClientSession *c = host.target(s.client);
    if (!c) fail(s.kind + ": no session " + (s.client.empty() ? "launched yet" : s.client));
    return c;
}

std::string joined(const std::vector<int> &numbers) {
    std::string out;
    for (int n : numbers) out += (out.empty() ? "" : ",") + std::to_string(n);
    return out;
}

bool launch(Host &host, const LaunchSpec &spec) {
    if (!launchClient(host, spec)) return false;
    std::vector<int> kept = adoptKeptNotifications(host, *host.clients.back());
    const ClientSession &c = *host.clients.back();
    if (!kept.empty())
        say(trace::Event("kept").word("client", c.id).text("name", c.launch.name).word("asked", joined(kept)));
    return true;
}

// Opens a document from its file as the open request (1019) does: a document
// open under that name or file already is not loaded twice.
bool openDocument(const Step &s) {
    Model &m = model();
    const Document *d = m.documentByPath(s.file);
    bool already = d != nullptr;
    if (!d) {
        try {
            d = m.document(m.loadDocumentFile(s.file));
        } catch (const ModelError &e) {
            // A bad document is the scenario's error, as under "documents".
            theHost->scenarioError = true;
            fail(theHost->scenarioName + ": " + s.where + ": " + e.what());
            return false;
        }
    }
    trace::Event line = trace::Event("open").number("doc", d->id).text("name", d->path).text("file", d->file);
    if (already) line.flag("already-open");
    say(line);
    return true;
}

// A session that can receive callbacks: acknowledged, not ending, running
// (as far as the host can see: an attached client's end shows only when it
// bails out).
bool live(const Host &host, const ClientSession &c) {
    pid_t pid = c.clientPid;
    return c.acked && !c.bailedOut && pid > 0 && !(c.launched() && host.exits.count(pid));
}

// Sends a notification to every live session that asked for it, one after
// the other, each once the previous one has handed control back.
bool notifyAll(Host &host, const Step &s) {
    CallbackSpec spec = s.callback;
    if (!s.document.empty()) {
        const Document *d = model().documentByPath(s.document);
        if (!d) {
            fail("notify: no open document " + trace::quotedText(s.document));
            return false;
        }
        spec.objId = d->id;
    }
    std::vector<ClientSession *> targets;
    std::string ids;
    for (auto &c : host.clients)
        if (live(host, *c) && asksForNotification(*c, spec.notification)) {
            targets.push_back(c.get());
            ids += (ids.empty() ? "" : ",") + c->id;
        }
    say(trace::Event("notify")
            .number("notification", spec.notification)
            .number("objId", spec.objId)
            .word("sessions", ids.empty() ? "none" : ids));
    if (s.sessions && *s.sessions != static_cast<int>(targets.size()))
        fail("notify: " + std::to_string(targets.size()) + " sessions asked for notification " +
             std::to_string(spec.notification) + ", expected " + std::to_string(*s.sessions));
    for (ClientSession *c : targets) {
        auto control = sendCallback(host, *c, spec);
        if (control && !waitUntil(
                           host, spec.overTimeoutMs, "the over request for " + control->label + " of " + c->id,
                           [&] { return control->closed; }, c))
            return false;
    }
    return true;
}

bool served(const ServedRequest &r, const Step &s) {
    return r.proc == s.proc && (s.client.empty() || r.client == s.client);
}

// "request 1065 of c1", or with n > 1 "3 requests 1065 of c1".
std::string requestName(const Step &s, int n = 1) {
    return (n == 1 ? "request " : std::to_string(n) + " requests ") + std::to_string(s.proc) +
           (s.client.empty() ? "" : " of " + s.client);
}

// What a step waits for: "request 1008 holding args.int1 = 2".
std::string wanted(const Step &s) {
    return requestName(s, s.count) + (s.args ? " holding " + expectedFields(*s.args) : "");
}

// The requests served from `from` on, against what a request step wants.
struct Tally {
    std::size_t holding = 0;  // of its procedure (and client), holding its arguments
    std::size_t same = 0;     // of its procedure (and client)
    std::size_t closest = 0;  // index of the one, not holding them, with the fewest differing fields
    std::size_t closestMisses = 0;
    std::map<std::string, int> others;  // the other requests, counted by procedure (and client)
};

Tally tally(const Host &host, const Step &s, std::size_t from) {
    Tally t;
    for (std::size_t i = from; i < host.served.size(); ++i) {
        const ServedRequest &r = host.served[i];
        if (!served(r, s)) {
            t.others[std::to_string(r.proc) + (s.client.empty() ? "" : " of " + r.client)]++;
            continue;
        }
        t.same++;
        std::size_t misses = s.args ? argsMismatchCount(*s.args, r.args) : 0;
        if (misses == 0) {
            t.holding++;
        } else if (t.closestMisses == 0 || misses < t.closestMisses) {
            t.closest = i;
            t.closestMisses = misses;
        }
    }
    return t;
}

// Why a request step failed, what was and was not seen: "no request 1065
// holding args.value = 515 within 200 ms; closest: args.value is 516,
// expected 515", "2 of 3 requests 1065 ...", "no request 1065 within 200
// ms; served instead: 1000 (1), 1316 (2)". `bound`: the wait's limit or the
// requests looked at.
std::string notSeen(const Host &host, const Step &s, std::size_t from, const std::string &bound) {
    Tally t = tally(host, s, from);
    if (t.same == 0) {
        std::string out = "no " + requestName(s) + " " + bound, instead;
        int shown = 0;
        for (const auto &[what, n] : t.others)
            if (++shown <= 8) instead += (instead.empty() ? "" : ", ") + what + " (" + std::to_string(n) + ")";
        if (shown > 8) instead += ", ...";
        return out + (instead.empty() ? "" : "; served instead: " + instead);
    }
    std::string out = t.holding == 0 ? "no " + requestName(s) : std::to_string(t.holding) + " of " + wanted(s);
    if (t.holding == 0 && s.args) out += " holding " + expectedFields(*s.args);
    out += " " + bound;
    if (t.closestMisses) {
        out += "; closest: " + argsMismatch(*s.args, host.served[t.closest].args);
        if (t.closestMisses > 1)
            out +=
                " (and " + std::to_string(t.closestMisses - 1) + " more field" + (t.closestMisses > 2 ? "s" : "") + ")";
    }
    return out;
}

// A procedure that must not have been called: fails when it was.
bool checkNever(Host &host, const Step &s) {
    for (const ServedRequest &r : host.served)
        if (served(r, s)) {
            fail(s.kind + ": " + requestName(s) + " was called (client " + r.client + "), expected never");
            return false;
        }
    return true;
}

// wait_request waits for `count` requests of the procedure (holding the
// arguments given); expect_request looks at those already served, after the
// one the previous expect_request matched.
bool requestStep(Host &host, const Step &s) {
    if (!s.client.empty() && !need(host, s)) return false;
    if (s.count == 0) {
        host.neverSteps.push_back(&s);
        return checkNever(host, s);
    }
    auto matches = [&](const ServedRequest &r) {
        return served(r, s) && (!s.args || argsMismatch(*s.args, r.args).empty());
    };
    if (s.kind == "expect_request") {
        for (std::size_t i = host.expectCursor, found = 0; i < host.served.size(); ++i)
            if (matches(host.served[i]) && ++found == static_cast<std::size_t>(s.count)) {
                host.expectCursor = i + 1;
                return true;
            }
        std::size_t looked = host.served.size() - host.expectCursor;
        fail("expect_request: " + notSeen(host, s, host.expectCursor,
                                          "among the " + std::to_string(looked) + " served" +
                                              (host.expectCursor ? " after the previous match" : "")));
        return false;
    }
    auto seen = [&] { return std::count_if(host.served.begin(), host.served.end(), matches) >= s.count; };
    auto timedOut = [&](const std::string &bound) { return notSeen(host, s, 0, bound); };
    return waitUntil(host, s.timeoutMs, wanted(s), seen, s.client.empty() ? nullptr : host.find(s.client), timedOut);
}

bool runStep(Host &host, const Step &s) {
    if (s.kind == "launch") return launch(host, s.launch);
    if (s.kind == "open") return openDocument(s);
    if (s.kind == "notify") return notifyAll(host, s);
    if (s.kind == "serve") {
        serveFor(host, s.ms);
        return true;
    }
    if (s.kind == "wait_attach") {
        bool ok = waitUntil(host, s.timeoutMs, "an attach", [&] { return host.attachesSeen > host.attachesWaited; });
        if (ok) host.attachesWaited++;
        return ok;
    }
    if (s.kind == "wait_request" || s.kind == "expect_request") return requestStep(host, s);
    if (s.kind == "replayed") {
        // The session's recorded requests up to here, each answered in turn;
        // a difference has failed the run already.
        const RecordedSession *recorded = nullptr;
        for (const RecordedSession &r : host.replay->sessions)
            if (r.id == s.client) recorded = &r;
        auto done = [&] { return host.replay->diverged || recorded->replayed >= static_cast<std::size_t>(s.count); };
        bool ok = waitUntil(host, s.timeoutMs, replayWanted(host, s), done, host.find(s.client),
                            [&](const std::string &bound) { return "replay: " + replayWanted(host, s) + ": not sent " + bound; });
        return ok && !host.replay->diverged;
    }
    ClientSession *c = need(host, s);
    if (!c) return false;
    if (s.kind == "wait_ack")
        return waitUntil(
            host, s.timeoutMs, "the acknowledgement of " + c->id, [&] { return c->acked; }, c);
    if (s.kind == "callback") {
        auto control = sendCallback(host, *c, s.callback);
        if (control)
            return waitUntil(
                host, s.callback.overTimeoutMs, "the over request for " + control->label + " of " + c->id,
                [&] { return control->closed; }, c);
        serveFor(host, s.callback.serveMs);
        return true;
    }
    if (s.kind == "wait_exit") {
        if (!c->launched()) {
            fail("wait_exit: " + c->id + " attached and was not launched here: its end cannot be seen");
            return false;
        }
        auto pidOf = [&] {
            return s.role == "launcher" ? c->launcherPid : (c->clientPid > 0 ? c->clientPid : c->launcherPid);
        };
        if (!waitUntil(host, s.timeoutMs, "the exit of " + c->id + " (" + s.role + ")",
                       [&] { return pidOf() > 0 && host.exits.count(pidOf()); }))
            return false;
        int st = host.exits[pidOf()];
        if (s.status && !(WIFEXITED(st) && WEXITSTATUS(st) == *s.status)) {
            fail(c->id + " (" + s.role + ") ended with " + describeStatus(st) +
                 ", expected status=" + std::to_string(*s.status));
        }
        // Whatever it wrote before it ended belongs before the next step.
        for (std::size_t i = 0; i < c->outputs.size(); ++i)
            if (c->outputs[i].fd >= 0) drainOutput(*c, i, false);
        return true;
    }
    if (s.kind == "wait_output") {
        int which = s.stream == "stdout" ? 0 : 1;
        return waitUntil(
            host, s.timeoutMs, s.stream + " line " + trace::quotedText(s.text) + " of " + c->id,
            [&] {
                const auto &l = c->lines[which];
                return std::find(l.begin(), l.end(), s.text) != l.end();
            },
            c);
    }
    if (s.kind == "vanish") {
        if (c->decoyPid <= 0) {
            fail("vanish: " + c->id + " was not launched with host_pid \"decoy\"");
            return false;
        }
        say(trace::Event("vanish").word("client", c->id).number("decoy", c->decoyPid));
        killDecoy(*c);
        return true;
    }
    if (s.kind == "close_callback") {
        closeCallback(*c);
        say(trace::Event("close-callback").word("client", c->id));
        return true;
    }
    fail("unknown step " + s.kind);
    return false;
}

}  // namespace

bool runSteps(Host &host) {
    for (std::size_t i = 0; i < host.scenario.steps.size(); ++i) {
        if (host.stopRequested) return false;
        if (!runStep(host, host.scenario.steps[i])) {
            say(trace::Event("abandon")
                    .number("step", static_cast<long long>(i))
                    .word("do", host.scenario.steps[i].kind));
            return false;
        }
    }
    serveFor(host, host.scenario.graceMs);
    bool ok = true;
    for (const Step *s : host.neverSteps) ok = checkNever(host, *s) && ok;
    return ok;
}

}  // namespace tarnel::host
