#include "harness.h"

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <sstream>

namespace session_test {

std::vector<std::string> HostRun::find(std::initializer_list<std::string> fragments) const {
    std::vector<std::string> out;
    for (const std::string &l : lines) {
        bool all = true;
        for (const std::string &f : fragments)
            all = all && l.find(f) != std::string::npos;
        if (all)
            out.push_back(l);
    }
    return out;
}

int HostRun::indexOf(const std::string &fragment) const {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find(fragment) != std::string::npos)
            return static_cast<int>(i);
    return -1;
}

std::string HostRun::text() const {
    std::string t;
    for (const std::string &l : lines)
        t += l + "\n";
    return t;
}

HostRun runHost(json scenario, int timeoutS) {
    // Transient program numbers from this process's id: parallel tests never
    // share one. The host takes its callback and connection numbers above it.
    int prog = 0x40000000 + static_cast<int>((getpid() & 0x1FFFFF) << 8);
    scenario["program"] = prog;
    scenario["timeout_s"] = timeoutS;
    std::string text = scenario.dump();

    HostRun run;
    int out[2];
    if (pipe(out) != 0)
        return run;
    pid_t pid = fork();
    if (pid == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        execl(TNHOST_PATH, TNHOST_PATH, "--json", text.c_str(), static_cast<char *>(nullptr));
        _exit(127);
    }
    close(out[1]);
    std::string buffer;
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutS + 15);
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                        until - std::chrono::steady_clock::now())
                        .count();
        if (left <= 0) {
            kill(pid, SIGKILL);
            break;
        }
        pollfd p{out[0], POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left)) <= 0)
            continue;
        char chunk[4096];
        ssize_t n = read(out[0], chunk, sizeof chunk);
        if (n <= 0)
            break;
        buffer.append(chunk, static_cast<std::size_t>(n));
    }
    close(out[0]);
    int st = 0;
    waitpid(pid, &st, 0);
    run.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
    std::istringstream lines(buffer);
    for (std::string l; std::getline(lines, l);)
        run.lines.push_back(l);
    return run;
}

json launch(const char *path, json extra) {
    json s = {{"do", "launch"}, {"path", path}};
    s.update(extra);
    return s;
}

json step(const char *kind, json extra) {
    json s = {{"do", kind}};
    s.update(extra);
    return s;
}

json callback(const char *proc, json extra) {
    json s = {{"do", "callback"}, {"proc", proc}};
    s.update(extra);
    return s;
}

}  // namespace session_test
