// Pipelined requests against the same requests made one by one, in the same
// process on the same simulated host: T_ApiGetInt through tarnel::Pipeline
// with every handle kept and read, the same with the handles dropped as they
// are added (all but one in a thousand) at 10^3 and 10^5, a C run of
// T_ApiSetInt, and T_ApiGetString through tarnel::Pipeline. Each iteration
// makes the batch both ways, in alternating order, and times each side: the
// counters give each side's mean batch (pipelined_us, sequential_us) and
// their ratio. BM_PipelinePeakMemory reports how far a batch raises the
// peak resident size once the pipeline's buffers are in use.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>
#include <vector>

#include <tarnel/tnapi.hpp>

#include "library_client.h"
#include "peak_memory.h"

namespace {

using tarnel_test::json;
using Clock = std::chrono::steady_clock;

// Properties of the session object (document 0, object 0).
constexpr int kIntProp = 200, kStringProp = 201, kSetProp = 202;
constexpr int kInt = 42;
constexpr std::string_view kText = "a string of some thirty bytes.";
// Of dropped handles, one in this many is kept and read.
constexpr int kKeepEvery = 1000;

// One host for every benchmark, its transcript read away by a thread of its
// own: a batch of 10^5 requests prints far more than the pipe holds, and a
// host blocked on its output would stall the pipeline rather than time it.
tarnel_test::LibraryHost &host() {
    static tarnel_test::LibraryHost served(json::array(), json{{"log_args", false}});
    static const bool draining = (served.discardTranscript(), true);
    (void)draining;
    return served;
}

bool ready(benchmark::State &state) {
    static const bool stored = host().ready() && tarnel::SetInt(0, 0, kIntProp, kInt).ok() &&
                               tarnel::SetString(0, 0, kStringProp, std::string(kText).c_str()).ok();
    if (!stored) state.SkipWithError("the simulated host did not start or take the values");
    return stored;
}

// The sides: each makes `count` requests and says whether every result it
// read was right.
bool getIntEach(int count) {
    bool right = true;
    for (int i = 0; i < count; ++i) right &= T_ApiGetInt(0, 0, kIntProp) == kInt;
    return right;
}

bool getIntKept(int count) {
    tarnel::Pipeline pipe;
    std::vector<tarnel::Pending<int>> kept;
    kept.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) kept.push_back(pipe.add(tarnel::GetInt, 0u, 0u, kIntProp));
    pipe.flush();
    bool right = true;
    for (auto &p : kept) right &= p.get().value_or(0) == kInt;
    return right;
}

bool getIntDropped(int count) {
    tarnel::Pipeline pipe;
    std::vector<tarnel::Pending<int>> kept;
    kept.reserve(static_cast<std::size_t>(count / kKeepEvery + 1));
    for (int i = 0; i < count; ++i) {
        auto p = pipe.add(tarnel::GetInt, 0u, 0u, kIntProp);
        if (i % kKeepEvery == kKeepEvery - 1) kept.push_back(std::move(p));
    }
    pipe.flush();
    bool right = !kept.empty();
    for (auto &p : kept) right &= p.get().value_or(0) == kInt;
    return right;
}

bool setIntEach(int count) {
    TA_errno = 0;
    for (int i = 0; i < count; ++i) T_ApiSetInt(0, 0, kSetProp, i);
    return TA_errno == 0;
}

bool setIntRun(int count) {
    TA_errno = 0;
    if (T_ApiPipelineBegin() != 0) return false;
    for (int i = 0; i < count; ++i) T_ApiSetInt(0, 0, kSetProp, i);
    T_ApiPipelineReportT report{};
    return T_ApiPipelineEnd(&report) == 0 && report.count == count;
}

bool getStringEach(int count) {
    bool right = true;
    for (int i = 0; i < count; ++i) {
        StringT s = T_ApiGetString(0, 0, kStringProp);
        right &= s != nullptr && kText == s;
        T_ApiDeallocateString(&s);
    }
    return right;
}

bool getStringKept(int count) {
    tarnel::Pipeline pipe;
    std::vector<tarnel::Pending<tarnel::String>> kept;
    kept.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) kept.push_back(pipe.add(tarnel::GetString, 0u, 0u, kStringProp));
    pipe.flush();
    bool right = true;
    for (auto &p : kept) right &= p.get().ok() && p.get()->view() == kText;
    return right;
}

// A batch of range(0) requests both ways, alternating which goes first so
// that neither always meets a host still busy with the other's tail.
void compare(benchmark::State &state, bool (*pipelined)(int), bool (*sequential)(int)) {
    if (!ready(state)) return;
    const int count = static_cast<int>(state.range(0));
    double sides[2] = {0, 0};
    std::size_t n = 0;
    for (auto _ : state) {
        for (std::size_t k = 0; k < 2; ++k) {
            const std::size_t side = (n + k) % 2;
            const auto start = Clock::now();
            const bool right = side == 0 ? pipelined(count) : sequential(count);
            sides[side] += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
            if (!right) return state.SkipWithError(side == 0 ? "a pipelined result was wrong" : "a result was wrong");
        }
        ++n;
    }
    state.counters["pipelined_us"] = sides[0] / static_cast<double>(n);
    state.counters["sequential_us"] = sides[1] / static_cast<double>(n);
    state.counters["ratio"] = sides[0] / sides[1];
}

void BM_PipelinedGetInt(benchmark::State &s) { compare(s, getIntKept, getIntEach); }
void BM_PipelinedGetIntDropped(benchmark::State &s) { compare(s, getIntDropped, getIntEach); }
void BM_PipelinedSetIntRun(benchmark::State &s) { compare(s, setIntRun, setIntEach); }
void BM_PipelinedGetString(benchmark::State &s) { compare(s, getStringKept, getStringEach); }
BENCHMARK(BM_PipelinedGetInt)->Arg(1000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PipelinedGetIntDropped)->Arg(1000)->Arg(100000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PipelinedSetIntRun)->Arg(1000)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PipelinedGetString)->Arg(1000)->UseRealTime()->Unit(benchmark::kMillisecond);

// Peak growth, in kB, of 10^3 and 10^5 requests with dropped handles and of
// 10^5 with every handle kept: the last shows what the measure sees when a
// batch does hold memory. A first batch puts the pipeline's buffers in use,
// so the figures are what a batch adds, not what the first one sets up.
void BM_PipelinePeakMemory(benchmark::State &state) {
    if (!ready(state)) return;
    double dropped3 = 0, dropped5 = 0, kept5 = 0;
    for (auto _ : state) {
        (void)getIntDropped(1000);
        auto growth = [&state](bool (*batch)(int), int count) {
            if (!resetPeak()) state.SkipWithError("the peak resident size cannot be reset here");
            const long before = statusKb("VmHWM:");
            if (!batch(count)) state.SkipWithError("a pipelined result was wrong");
            return static_cast<double>(statusKb("VmHWM:") - before);
        };
        dropped3 = growth(getIntDropped, 1000);
        dropped5 = growth(getIntDropped, 100000);
        kept5 = growth(getIntKept, 100000);
    }
    state.counters["dropped_1000_kB"] = dropped3;
    state.counters["dropped_100000_kB"] = dropped5;
    state.counters["kept_100000_kB"] = kept5;
}
BENCHMARK(BM_PipelinePeakMemory)->Iterations(1)->UseRealTime();

}  // namespace
