// tnhost: a simulated Tarnel host that launches API clients, serves the API
// program and the connection service, sends callbacks as a scenario says, and
// prints a transcript. Exit status: 0 when every expectation held, 1 when one
// failed, 2 for a usage or set-up error, 128 + signal when stopped.
#include <arpa/inet.h>
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
#include "replay.h"
#include "rpc_service.h"
#include "tarnel/tnapi_version.h"

namespace {

using namespace tarnel::host;
namespace trace = tarnel::trace;

int signalWriteFd = -1;

void onSignal(int sig) {
    int saved = errno;
    unsigned char b = static_cast<unsigned char>(sig);
    if (write(signalWriteFd, &b, 1) < 0) {
        // The pipe is full: a wake-up is pending anyway.
    }
    errno = saved;
}

const char kUsage[] =
    "usage: tnhost [--scenario FILE | --json TEXT | --client PATH [--number N] [--name NAME]\n"
    "               | --replay FILE [--client PATH]]\n"
    "              [--prog N] [--connect-prog N] [--no-connect-service] [--timeout SECONDS]\n"
    "              [--timing] [--var NAME=VALUE]... [--document FILE]... [--jsonl FILE|-] [--listen ADDR]\n"
    "              [--version]\n"
    "Every option's value may follow it or an '=': --timeout 5, --timeout=5.\n";

bool parseNumber(const std::string &text, int &out) {
    char *end = nullptr;
    errno = 0;
    long v = std::strtol(text.c_str(), &end, 0);
    if (errno || text.empty() || *end || v < -2147483648L || v > 4294967295L) return false;
    out = static_cast<int>(v);
    return true;
}

int usageError(const std::string &message) {
    std::fprintf(stderr, "tnhost: %s\n%s", message.c_str(), kUsage);
    return 2;
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
    std::string scenarioFile, scenarioText, clientPath, clientName, jsonlFile, listen, replayFile;
    in_addr listenAddr{};
    std::map<std::string, std::string> vars;  // --var: values of ${NAME} in the scenario
    std::vector<std::string> documents;       // --document: loaded before the scenario's own
    int clientNumber = -1, prog = 0, connectProg = 0, timeoutS = 0;
    bool noConnect = false, timing = false;
    // Options that take a value, and where it goes.
    const std::map<std::string, std::string *> texts = {{"--scenario", &scenarioFile},
                                                        {"--json", &scenarioText},
                                                        {"--client", &clientPath},
                                                        {"--name", &clientName},
                                                        {"--jsonl", &jsonlFile},
                                                        {"--replay", &replayFile}};
    const std::map<std::string, int *> numbers = {
        {"--number", &clientNumber}, {"--prog", &prog}, {"--connect-prog", &connectProg}, {"--timeout", &timeoutS}};
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i], value;
        std::size_t eq = a.find('=');
        bool inline_ = a.rfind("--", 0) == 0 && eq != std::string::npos;
        if (inline_) value = a.substr(eq + 1), a.erase(eq);
        bool takesValue = texts.count(a) || numbers.count(a) || a == "--var" || a == "--document" || a == "--listen";
        if (takesValue && !inline_) {
            if (i + 1 >= argc) return usageError(a + " needs a value");
            value = argv[++i];
        } else if (!takesValue && inline_) {
            return usageError(a + " takes no value");
        }
        if (texts.count(a)) {
            *texts.at(a) = value;
        } else if (numbers.count(a)) {
            if (!parseNumber(value, *numbers.at(a))) return usageError(a + ": \"" + value + "\" is not a number");
            if (a == "--timeout" && timeoutS <= 0) return usageError("--timeout: give a number of seconds above 0");
        } else if (a == "--var") {
            if (value.find('=') == std::string::npos || value[0] == '=')
                return usageError("--var: \"" + value + "\" is not NAME=VALUE");
            vars[value.substr(0, value.find('='))] = value.substr(value.find('=') + 1);
        } else if (a == "--document") {
            documents.push_back(value);
        } else if (a == "--listen") {
            if (inet_pton(AF_INET, value.c_str(), &listenAddr) != 1)
                return usageError("--listen: \"" + value + "\" is not an IPv4 address (a.b.c.d)");
            // Clients are told this address to connect back to: it must be one.
            if (listenAddr.s_addr == htonl(INADDR_ANY))
                return usageError("--listen: give one address of this machine, not 0.0.0.0");
            listen = dotted(listenAddr);
        } else if (a == "--no-connect-service") {
            noConnect = true;
        } else if (a == "--timing") {
            timing = true;
        } else if (a == "--version") {
            std::printf("tnhost %s\n", TARNEL_VERSION_STRING);
            return 0;
        } else if (a == "--help" || a == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            return usageError("unknown option " + a);
        }
    }
    if (!replayFile.empty() && (!scenarioFile.empty() || !scenarioText.empty()))
        return usageError("--replay plays a recording: give no --scenario or --json with it");
    if (replayFile.empty() && scenarioFile.empty() + scenarioText.empty() + clientPath.empty() != 2)
        return usageError("give exactly one of --scenario, --json, --client, --replay");

    Host host;
    theHost = &host;
    host.scenarioName = !replayFile.empty() ? replayFile : scenarioFile.empty() ? "scenario" : scenarioFile;
    Replay replay;
    if (!replayFile.empty()) {
        try {
            host.scenario = loadReplay(replayFile, clientPath, replay);
            host.replay = &replay;
        } catch (const std::exception &e) {
            std::fprintf(stderr, "tnhost: %s\n", e.what());
            return 2;
        }
    } else try {
        nlohmann::json doc = !scenarioFile.empty()   ? readJsonFile(scenarioFile)
                             : !scenarioText.empty() ? parseJson(scenarioText)
                                                     : quickScenario(clientPath, clientNumber, clientName);
        substituteVariables(doc, vars);
        host.scenario = parseScenario(doc);
        host.scenario.documents.insert(host.scenario.documents.begin(), documents.begin(), documents.end());
        loadDocuments(host.scenario.documents);
    } catch (const std::exception &e) {
        std::fprintf(stderr, "tnhost: %s: %s\n", host.scenarioName.c_str(), jsonErrorText(e).c_str());
        return 2;
    }
    if (!openTranscript(jsonlFile)) {
        std::fprintf(stderr, "tnhost: --jsonl: cannot write %s: %s\n", jsonlFile.c_str(), std::strerror(errno));
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
    if (!listen.empty()) host.listen = listen, host.listenAddr = listenAddr;
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

    trace::Event started =
        trace::Event("host").number("prog", sc.apiProg).number("vers", sc.apiVers).number("pid", getpid());
    if (!listen.empty()) started.word("listen", listen);
    say(started);
    bool setUp = binderRunning();
    if (!setUp) fail(kStartBinder);
    setUp = setUp && startApiService(host);
    if (setUp && sc.connect.run) {
        setUp = startConnectService(host);
        if (setUp) {
            trace::Event service =
                trace::Event("connect-service").number("prog", sc.connect.program).number("status", sc.connect.status);
            if (!sc.connect.answer108) service.word("answer108", "no");
            say(service);
        }
    }
    if (setUp) runSteps(host);
    terminateAll(host);
    stopConnectService(host);
    stopApiService(host);
    close(host.signalPipe[0]);
    close(host.signalPipe[1]);

    int status = !setUp || host.scenarioError ? 2 : host.stopRequested ? 128 + host.stopSignal : anyFailure() ? 1 : 0;
    say(trace::Event("end").number("status", status));
    closeTranscript();
    return status;
}
