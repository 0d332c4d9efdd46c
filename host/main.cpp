// tnhost: a simulated Tarnel host that launches API clients, serves the API
// program and the connection service, sends callbacks as a scenario says, and
// prints a transcript. Exit status: 0 when every expectation held, 1 when one
// failed, 2 for a usage or set-up error, 128 + signal when stopped.
#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>

#include "host.h"
#include "model.h"

namespace {

using namespace tarnel::host;

int signalWriteFd = -1;

void onSignal(int sig) {
    int saved = errno;
    unsigned char b = static_cast<unsigned char>(sig);
    if (write(signalWriteFd, &b, 1) < 0) {
        // The pipe is full: a wake-up is pending anyway.
    }
    errno = saved;
}

const char kUsage[] = "usage: tnhost [--scenario FILE | --json TEXT | --client PATH [--number N] [--name NAME]]\n"
                      "              [--prog N] [--connect-prog N] [--no-connect-service] [--timeout SECONDS]\n"
                      "              [--timing] [--var NAME=VALUE]...\n";

bool parseNumber(const char *text, int &out) {
    char *end = nullptr;
    errno = 0;
    long v = std::strtol(text, &end, 0);
    if (errno || !*text || *end || v < -2147483648L || v > 4294967295L) return false;
    out = static_cast<int>(v);
    return true;
}

// A scenario for a quick manual run: launch, initialise, quit.
nlohmann::json quickScenario(const std::string &path, int number, const std::string &name) {
    nlohmann::json launch = {{"do", "launch"}, {"path", path}, {"number", number}};
    if (!name.empty()) launch["name"] = name;
    return {{"steps",
             {launch,
              {{"do", "wait_ack"}},
              {{"do", "callback"}, {"proc", "init"}, {"initialization", 1}, {"over", true}},
              {{"do", "callback"}, {"proc", "quit"}},
              {{"do", "wait_exit"}, {"status", 0}}}}};
}

}  // namespace

int main(int argc, char **argv) {
    std::string scenarioFile, scenarioText, clientPath, clientName;
    std::map<std::string, std::string> vars;  // --var: values of ${NAME} in the scenario
    int clientNumber = -1, prog = 0, connectProg = 0, timeoutS = 0;
    bool noConnect = false, timing = false;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto value = [&](const char *&out) {
            if (i + 1 >= argc) return false;
            out = argv[++i];
            return true;
        };
        const char *v = nullptr;
        bool ok = true;
        if (a == "--scenario")
            ok = value(v) && (scenarioFile = v, true);
        else if (a == "--json")
            ok = value(v) && (scenarioText = v, true);
        else if (a == "--client")
            ok = value(v) && (clientPath = v, true);
        else if (a == "--name")
            ok = value(v) && (clientName = v, true);
        else if (a == "--number")
            ok = value(v) && parseNumber(v, clientNumber);
        else if (a == "--prog")
            ok = value(v) && parseNumber(v, prog);
        else if (a == "--connect-prog")
            ok = value(v) && parseNumber(v, connectProg);
        else if (a == "--timeout")
            ok = value(v) && parseNumber(v, timeoutS) && timeoutS > 0;
        else if (a == "--var") {
            ok = value(v) && std::strchr(v, '=') && v[0] != '=';
            if (ok) {
                std::string def = v;
                vars[def.substr(0, def.find('='))] = def.substr(def.find('=') + 1);
            }
        } else if (a == "--no-connect-service")
            noConnect = true;
        else if (a == "--timing")
            timing = true;
        else if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else
            ok = false;
        if (!ok) {
            std::fprintf(stderr, "tnhost: bad option %s\n%s", a.c_str(), kUsage);
            return 2;
        }
    }
    if (scenarioFile.empty() + scenarioText.empty() + clientPath.empty() != 2) {
        std::fprintf(stderr, "tnhost: give exactly one of --scenario, --json, --client\n%s", kUsage);
        return 2;
    }

    Host host;
    theHost = &host;
    try {
        nlohmann::json doc;
        if (!scenarioFile.empty()) {
            std::ifstream in(scenarioFile);
            if (!in) {
                std::fprintf(stderr, "tnhost: cannot read %s\n", scenarioFile.c_str());
                return 2;
            }
            doc = nlohmann::json::parse(in);
        } else if (!scenarioText.empty()) {
            doc = nlohmann::json::parse(scenarioText);
        } else {
            doc = quickScenario(clientPath, clientNumber, clientName);
        }
        substituteVariables(doc, vars);
        host.scenario = parseScenario(doc);
        loadDocuments(host.scenario.documents);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "tnhost: scenario: %s\n", e.what());
        return 2;
    }
    Scenario &sc = host.scenario;
    if (prog) sc.apiProg = prog;
    if (!sc.apiProg)  // transient range 0x40000000-0x5FFFFFFF, spaced for callback programs
        sc.apiProg = 0x40000000 + static_cast<int>((getpid() & 0xFFFFF) << 8);
    if (connectProg) sc.connect.program = connectProg;
    if (!sc.connect.program) sc.connect.program = sc.apiProg + 0x80;
    if (noConnect) sc.connect.run = false;
    if (timeoutS) sc.timeoutS = timeoutS;
    host.timing = timing;
    host.deadline = Clock::now() + std::chrono::seconds(sc.timeoutS);

    // Orphans of forking clients are ours to reap.
    prctl(PR_SET_CHILD_SUBREAPER, 1);
    if (pipe2(host.signalPipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        std::perror("tnhost: pipe");
        return 2;
    }
    signalWriteFd = host.signalPipe[1];
    struct sigaction sa {};
    sa.sa_handler = onSignal;
    sa.sa_flags = SA_RESTART;
    sigemptyset(&sa.sa_mask);
    for (int s : {SIGCHLD, SIGTERM, SIGINT, SIGHUP}) sigaction(s, &sa, nullptr);
    signal(SIGPIPE, SIG_IGN);

    say("host prog=" + std::to_string(sc.apiProg) + " vers=" + std::to_string(sc.apiVers) +
        " pid=" + std::to_string(getpid()));
    bool setUp = startApiService(host);
    if (setUp && sc.connect.run) {
        setUp = startConnectService(host);
        if (setUp)
            say("connect-service prog=" + std::to_string(sc.connect.program) +
                " status=" + std::to_string(sc.connect.status) + (sc.connect.answer108 ? "" : " answer108=no"));
    }
    if (setUp) runSteps(host);
    terminateAll(host);
    stopConnectService(host);
    stopApiService(host);
    close(host.signalPipe[0]);
    close(host.signalPipe[1]);

    int status = !setUp ? 2 : host.stopRequested ? 128 + host.stopSignal : anyFailure() ? 1 : 0;
    say("end status=" + std::to_string(status));
    return status;
}
