// What linking the shared objects instead of the archives costs a request.
// The same source builds link_bench_static and link_bench_shared, which
// compare.sh runs by turns: T_ApiGetInt's round trip on the simulated host,
// and its own path on a handle that answers at once (CPU), where the calls
// through the shared objects' tables would show.
#include <benchmark/benchmark.h>

#include <tarnel/tnapi.h>

#include "instant_handle.h"
#include "library_client.h"

namespace {

using tarnel_test::json;

tarnel_test::LibraryHost &host() {
    static tarnel_test::LibraryHost served(json::array(), json{{"log_args", false}});
    return served;
}

void BM_GetIntRoundTrip(benchmark::State &state) {
    if (!host().ready()) return state.SkipWithError("the simulated host did not start");
    host().discardTranscript();
    T_ApiSetInt(0, 0, 200, 42);
    for (auto _ : state)
        if (T_ApiGetInt(0, 0, 200) != 42) return state.SkipWithError("the value read back is wrong");
}
BENCHMARK(BM_GetIntRoundTrip)->UseRealTime();

void BM_GetIntCall(benchmark::State &state) {
    CLIENT *const served = tarnel_client;
    tarnel_client = instantHandle();
    for (auto _ : state) benchmark::DoNotOptimize(T_ApiGetInt(0, 0, 200));
    tarnel_client = served;
}
BENCHMARK(BM_GetIntCall);

}  // namespace
