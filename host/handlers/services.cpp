// Host services: sleeping, the user-cancel check, shell commands and
// programs. A simulated host never runs what a client sends: commands and
// programs are only recorded in the transcript, and sleeps are cut short so
// that tests stay fast.
#include <time.h>

#include <algorithm>
#include <cerrno>

#include "common.h"

namespace tarnel::host {
namespace {

// The longest a sleep request really waits.
constexpr long kMaxSleepUs = 2000;

void pause(long long us) {
    us = std::clamp<long long>(us, 0, kMaxSleepUs);
    timespec ts{0, static_cast<long>(us) * 1000};
    while (nanosleep(&ts, &ts) != 0 && errno == EINTR) {}
}

void sleepSeconds(Host &, Request &req) {
    int seconds = argOf<int>(req);
    req.detail.number("seconds", seconds);
    pause(static_cast<long long>(seconds) * 1000000);
}

void sleepMicroseconds(Host &, Request &req) {
    int us = argOf<int>(req);
    req.detail.number("us", us);
    pause(us);
}

// Whether the user asked to cancel (1) or not (0); the scenario may answer.
void userCancel(Host &host, Request &req) {
    const Answer *answer = takeAnswer(host.scenario, 1372);
    *static_cast<int *>(req.res) = answer && answer->value ? *answer->value : 0;
}

void systemShell(Host &, Request &req) {
    const char *command = argOf<StringT>(req);
    if (!command || !*command) {
        *static_cast<int *>(req.res) = st::badArgument;
        return;
    }
    event(req, "shell", {{"command", command}});
}

void forkAndExec(Host &, Request &req) {
    const auto &a = argOf<ApiTnForkAndExecArgT>(req);
    if (!a.str1 || !*a.str1) {
        *static_cast<int *>(req.res) = st::badArgument;
        return;
    }
    // The arguments as the line has always shown them: quoted texts joined
    // by commas, no brackets (so one field, a word, in JSON too).
    std::string args;
    for (u_int i = 0; i < a.items.count; ++i)
        args += (i ? "," : "") + trace::quotedText(a.items.items[i] ? a.items.items[i] : "");
    if (args.empty())
        event(req, "exec", {{"path", a.str1}, {"argc", a.items.count}});
    else
        event(req, "exec", {{"path", a.str1}, {"argc", a.items.count}, {"args", trace::Node::bare(args)}});
}

}  // namespace

void registerServiceHandlers() {
    registerHandlers({
        {API_TN_SLEEP, sleepSeconds},
        {API_TN_USLEEP, sleepMicroseconds},
        {API_TN_USER_CANCEL, userCancel},
        {API_TN_SYSTEM_SHELL, systemShell},
        {API_TN_FORK_AND_EXEC, forkAndExec},
    });
}

}  // namespace tarnel::host
