// The formatter against the platform's vsnprintf on one mixed line.
#include <tarnel/tde_sprint.h>

#include <benchmark/benchmark.h>

#include <cstdarg>
#include <cstdio>

namespace {

constexpr const char *kFormat = "%s: %5d items, %-8s|%08.3f|%x\n";

int viaEngine(char *buf, int size, const char *format, ...) {
    va_list ap;
    va_start(ap, format);
    const int n = TdeVSnprintf(buf, size, format, ap);
    va_end(ap);
    return n;
}

int viaPlatform(char *buf, int size, const char *format, ...) {
    va_list ap;
    va_start(ap, format);
    const int n = std::vsnprintf(buf, static_cast<size_t>(size), format, ap);
    va_end(ap);
    return n;
}

template <int (*F)(char *, int, const char *, ...)> void BM_MixedLine(benchmark::State &state) {
    char buf[128];
    int i = 0;
    for (auto _ : state) {
        ++i;
        benchmark::DoNotOptimize(F(buf, sizeof buf, kFormat, "inventory", i & 0xFFFF, "crates", i * 0.125, i));
        benchmark::ClobberMemory();
    }
}

BENCHMARK_TEMPLATE(BM_MixedLine, viaEngine)->Name("TdeVSnprintf/mixed");
BENCHMARK_TEMPLATE(BM_MixedLine, viaPlatform)->Name("vsnprintf/mixed");

}  // namespace
