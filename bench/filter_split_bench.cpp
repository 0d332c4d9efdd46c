// Splitting the text of filter notification 75: cost against piece count.
#include <benchmark/benchmark.h>

#include <string>

#include <tarnel/tnapi.h>

static void BM_FilterSplit(benchmark::State &state) {
    const std::string text(static_cast<size_t>(state.range(0)) - 1, TDE_FILTER_ARG_SEPARATOR);
    for (auto _ : state) {
        TdeApiFilterArgsT *args = TdeApiExpandFilterArgs(text.c_str());
        TdeApiDeallocateFilterArgs(args);
        T_Free(args);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_FilterSplit)->RangeMultiplier(4)->Range(1 << 14, 1 << 18)->Unit(benchmark::kMillisecond)->Complexity();

// The library's callbacks, which a client defines; never called here.
extern "C" {
void T_ApiInitialize(int) {}
void T_ApiNotify(int, unsigned int, StringT, int) {}
void T_ApiCommand(int) {}
}
