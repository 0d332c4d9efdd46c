// Session timings measured by the simulated host (its --timing transcript):
// from launching a client to procedure 1000 arriving, and the round trip of a
// callback from the host's call to the client's over request, against two
// request round trips of this process to a served host in the same run.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <tarnel/tnapi.h>

#include "library_client.h"

namespace {

// Runs the host on a scenario; returns the us= figures of the lines that
// start with `prefix`.
std::vector<double> timings(const std::string &scenario, const std::string &prefix) {
    char path[] = "/tmp/session_bench_XXXXXX";
    int fd = mkstemp(path);
    std::vector<double> out;
    if (fd < 0) return out;
    if (write(fd, scenario.data(), scenario.size()) != static_cast<ssize_t>(scenario.size())) {
        close(fd);
        unlink(path);
        return out;
    }
    close(fd);
    // The transcript goes to a file, read once the host is done: a reader
    // woken by every line would compete for the processor with the host and
    // the client it times.
    const std::string log = std::string(path) + ".out";
    std::string cmd = std::string(TNHOST_PATH) + " --timing --prog " +
                      std::to_string(0x40000000 + ((getpid() & 0x1FFFFF) << 8)) + " --scenario " + path + " > " + log;
    if (std::system(cmd.c_str()) != -1) {
        FILE *p = std::fopen(log.c_str(), "r");
        char line[4096];
        while (p && std::fgets(line, sizeof line, p)) {
            std::string l = line;
            auto us = l.find(" us=");
            if (l.rfind(prefix, 0) == 0 && us != std::string::npos) out.push_back(std::atof(l.c_str() + us + 4));
        }
        if (p) std::fclose(p);
    }
    unlink(log.c_str());
    unlink(path);
    return out;
}

std::string scenario(int callbacks) {
    std::string s = R"({"grace_ms": 0, "timeout_s": 60, "steps": [{"do": "launch", "path": ")" +
                    std::string(QUIET_CLIENT_PATH) + R"("}, {"do": "wait_ack"})";
    for (int i = 0; i < callbacks; ++i) s += R"(, {"do": "callback", "proc": "command", "command": 1})";
    return s + R"(, {"do": "callback", "proc": "quit"}, {"do": "wait_exit", "status": 0}]})";
}

void BM_LaunchToInitAck(benchmark::State &state) {
    for (auto _ : state) {
        std::vector<double> t = timings(scenario(0), "init-ack ");
        if (t.size() != 1) {
            state.SkipWithError("the host reported no acknowledgement");
            return;
        }
        state.SetIterationTime(t[0] / 1e6);
    }
}
BENCHMARK(BM_LaunchToInitAck)->UseManualTime()->Iterations(20)->Unit(benchmark::kMicrosecond);

void BM_CallbackRoundTrip(benchmark::State &state) {
    const int perRun = 200;
    for (auto _ : state) {
        std::vector<double> t = timings(scenario(perRun), "over ");
        if (t.size() != perRun) {
            state.SkipWithError("the host reported fewer overs than callbacks");
            return;
        }
        double sum = 0;
        for (double v : t) sum += v;
        state.SetIterationTime(sum / perRun / 1e6);
    }
}
BENCHMARK(BM_CallbackRoundTrip)->UseManualTime()->Iterations(5)->Unit(benchmark::kMicrosecond);

// A callback is a call from the host and a request back: two round trips.
void BM_TwoRequestRoundTrips(benchmark::State &state) {
    static tarnel_test::LibraryHost host(tarnel_test::json::array(), {{"log_args", false}});
    if (!host.ready()) return state.SkipWithError("the simulated host did not start");
    std::size_t calls = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(T_ApiGetInt(0, 0, 200));
        benchmark::DoNotOptimize(T_ApiGetInt(0, 0, 200));
        if ((++calls & 127) == 0) (void)host.lines();
    }
}
BENCHMARK(BM_TwoRequestRoundTrips)->UseRealTime()->Unit(benchmark::kMicrosecond);

}  // namespace
