// What the C++ forms cost over the C calls they wrap, measured in the same
// run on the same simulated host: T_ApiGetInt, and T_ApiGetProps of a
// 10,000-entry list with its release. Each iteration makes both calls, in
// alternating order, and times each; the counters give the mean of each
// side and the C++ side's excess in per cent, which stays within 2 (the
// goal bench/compare.sh lists: a Result, an owner and the saved TA_errno
// cost nanoseconds against a round trip of tens of microseconds).
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include <tarnel/tnapi.hpp>

#include "library_client.h"

namespace {

using tarnel_test::json;
using Clock = std::chrono::steady_clock;

constexpr int kEntries = 10000;

// One host for both benchmarks, its transcript kept short.
tarnel_test::LibraryHost &host() {
    static tarnel_test::LibraryHost served(json::array(), json{{"log_args", false}});
    return served;
}

// Runs the C and the C++ call alternately; the iteration time is the pair.
template <typename C, typename Cpp> void compare(benchmark::State &state, C c, Cpp cpp) {
    if (!host().ready()) return state.SkipWithError("the simulated host did not start");
    double sides[2] = {0, 0};
    std::size_t n = 0;
    for (auto _ : state) {
        for (std::size_t k = 0; k < 2; k++) {
            const std::size_t side = (n + k) % 2;
            const auto start = Clock::now();
            if (side == 0 ? !c() : !cpp()) return state.SkipWithError("a call failed");
            sides[side] += std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        }
        // Outside the timed calls, after every pair, so that neither side
        // meets a host catching up on its transcript more than the other.
        (void)host().lines();
        ++n;
    }
    state.counters["c_us"] = sides[0] / static_cast<double>(n);
    state.counters["cpp_us"] = sides[1] / static_cast<double>(n);
    state.counters["cpp_excess_pct"] = 100.0 * (sides[1] - sides[0]) / sides[0];
}

void BM_GetInt(benchmark::State &state) {
    if (host().ready()) (void)tarnel::SetInt(0, 0, 200, 42);
    compare(
        state, [] { return T_ApiGetInt(0, 0, 200) == 42; },
        [] { return tarnel::GetInt(0, 0, 200).value_or(0) == 42; });
}
BENCHMARK(BM_GetInt)->UseRealTime();

// Ints, measurements and strings, stored on the host's session object once.
void BM_GetProps(benchmark::State &state) {
    T_PropValsT list = {};
    for (int i = 0; i < kEntries; i++) {
        if (i % 3 == 0) T_ApiAppendIntProp(&list, 1000 + i, i);
        if (i % 3 == 1) T_ApiAppendMetricProp(&list, 1000 + i, i << 16);
        if (i % 3 == 2) T_ApiAppendStringProp(&list, 1000 + i, ("entry " + std::to_string(i)).c_str());
    }
    const tarnel::PropVals stored(list);
    if (!host().ready() || !tarnel::SetProps(0, 0, stored)) return state.SkipWithError("the host did not take the list");
    compare(
        state,
        [] {
            T_PropValsT got = T_ApiGetProps(0, 0);
            const bool whole = got.count >= kEntries;
            T_ApiDeallocatePropVals(&got);
            return whole;
        },
        [] { return tarnel::GetProps(0, 0).value_or({}).size() >= kEntries; });
}
BENCHMARK(BM_GetProps)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
