// Fixed-point multiply, divide and a*b/c against the bare 64-bit
// expressions on the same operands.
#include <tarnel/tde_metrics.h>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

struct Operands {
    std::vector<std::int32_t> a, b, c;
};

// Typical measurements: a within +-1000.0, b and c within +-100.0, never 0.
const Operands &operands() {
    static const Operands ops = [] {
        Operands o;
        std::mt19937 rng(7);
        std::uniform_int_distribution<std::int32_t> wide(-1000 * 0x10000, 1000 * 0x10000);
        std::uniform_int_distribution<std::int32_t> narrow(-100 * 0x10000, 100 * 0x10000);
        auto nonZero = [&] {
            std::int32_t v;
            do v = narrow(rng);
            while (v == 0);
            return v;
        };
        for (int i = 0; i < 4096; ++i) {
            o.a.push_back(wide(rng));
            o.b.push_back(nonZero());
            o.c.push_back(nonZero());
        }
        return o;
    }();
    return ops;
}

template <typename F> void run(benchmark::State &state, F f) {
    const Operands &o = operands();
    const std::size_t n = o.a.size();
    for (auto _ : state) {
        std::int32_t sum = 0;
        for (std::size_t i = 0; i < n; ++i) sum ^= f(o.a[i], o.b[i], o.c[i]);
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * n));
}

void BM_MetricMul(benchmark::State &s) {
    run(s, [](std::int32_t a, std::int32_t b, std::int32_t) { return T_MetricMul(a, b); });
}
// The same value as T_MetricMul: the product truncated toward zero, as the
// division and a*b/c forms below truncate (a shift would floor negatives).
void BM_Plain64Mul(benchmark::State &s) {
    run(s, [](std::int32_t a, std::int32_t b, std::int32_t) {
        return static_cast<std::int32_t>(static_cast<std::int64_t>(a) * b / 65536);
    });
}
void BM_Plain64MulShift(benchmark::State &s) {
    run(s, [](std::int32_t a, std::int32_t b, std::int32_t) {
        return static_cast<std::int32_t>(static_cast<std::int64_t>(a) * b >> 16);
    });
}
void BM_MetricDiv(benchmark::State &s) {
    run(s, [](std::int32_t a, std::int32_t b, std::int32_t) { return T_MetricDiv(a, b); });
}
void BM_Plain64Div(benchmark::State &s) {
    run(s, [](std::int32_t a, std::int32_t b, std::int32_t) {
        return static_cast<std::int32_t>(static_cast<std::int64_t>(a) * 65536 / b);
    });
}
void BM_MetricFractMul(benchmark::State &s) {
    run(s, [](std::int32_t a, std::int32_t b, std::int32_t c) { return T_MetricFractMul(a, b, c); });
}
void BM_Plain64FractMul(benchmark::State &s) {
    run(s, [](std::int32_t a, std::int32_t b, std::int32_t c) {
        return static_cast<std::int32_t>(static_cast<std::int64_t>(a) * b / c);
    });
}

BENCHMARK(BM_MetricMul);
BENCHMARK(BM_Plain64Mul);
BENCHMARK(BM_Plain64MulShift);
BENCHMARK(BM_MetricDiv);
BENCHMARK(BM_Plain64Div);
BENCHMARK(BM_MetricFractMul);
BENCHMARK(BM_Plain64FractMul);

}  // namespace
