// Case-insensitive comparison and length against the C library, on strings
// that differ only in case, so both sides walk the whole string.
#include <strings.h>

#include <cctype>
#include <cstring>
#include <string>

#include <benchmark/benchmark.h>
#include <tarnel/tde_strings.h>

namespace {

std::string sample(size_t n) {
    static const char text[] = "Paragraph Format Body Text, Heading 1: Introduction. ";
    std::string s;
    while (s.size() < n) s += text;
    s.resize(n);
    return s;
}

std::string upper(std::string s) {
    for (char &c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

void BM_T_StrICmp(benchmark::State &state) {
    const std::string a = sample(state.range(0)), b = upper(a);
    for (auto _ : state) benchmark::DoNotOptimize(T_StrICmp(a.c_str(), b.c_str()));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_strcasecmp(benchmark::State &state) {
    const std::string a = sample(state.range(0)), b = upper(a);
    for (auto _ : state) benchmark::DoNotOptimize(strcasecmp(a.c_str(), b.c_str()));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_T_StrLen(benchmark::State &state) {
    const std::string a = sample(state.range(0));
    const char *p = a.c_str();
    for (auto _ : state) {
        benchmark::DoNotOptimize(p);
        benchmark::DoNotOptimize(T_StrLen(p));
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void BM_strlen(benchmark::State &state) {
    const std::string a = sample(state.range(0));
    const char *p = a.c_str();
    for (auto _ : state) {
        benchmark::DoNotOptimize(p);
        benchmark::DoNotOptimize(std::strlen(p));
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

}  // namespace

BENCHMARK(BM_T_StrICmp)->Arg(16)->Arg(256);
BENCHMARK(BM_strcasecmp)->Arg(16)->Arg(256);
BENCHMARK(BM_T_StrLen)->Arg(16)->Arg(256);
BENCHMARK(BM_strlen)->Arg(16)->Arg(256);
