// What the request layer costs on top of the RPC it makes, on the simulated
// host the request tests use. Each library call is paired with a raw
// clnt_call of the same procedure to the same host that decodes the same
// reply and frees it: T_ApiGetInt, and T_ApiGetProps, T_ApiGetStrings and
// T_ApiGetText at 10^2 to 10^5 entries (text: lines of eleven bytes, a
// string and a line end each). BM_GetIntTraceFunction times the round trip
// traced to a function. BM_PeakMemory reports how far one 10^5 call raises
// the client's peak resident size, against the reply's encoded size.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <tarnel/api_to_tn.h>
#include <tarnel/tnapi.h>

#include "instant_handle.h"
#include "library_client.h"
#include "peak_memory.h"

// The trace point of the call stubs (the library's, declared by the stubs).
extern "C" enum clnt_stat tarnel_clnt_call(CLIENT *, rpcproc_t, xdrproc_t, void *, xdrproc_t, void *, struct timeval);

namespace {

using tarnel_test::json;

constexpr int kSizes[] = {100, 1000, 10000, 100000};
constexpr unsigned int kDoc = 1;
constexpr int kStringsProp = 204;

// Object 2 + k of document 1 holds the size kSizes[k]: that many lines of
// text, properties and strings.
unsigned int objectOf(int size) {
    for (unsigned int k = 0; k < 4; ++k)
        if (kSizes[k] == size) return 2 + k;
    return 0;
}

json documents() {
    const json plain = {{"type", 3}};
    return json::array({{{"name", "lists"}, {"objects", json::array({plain, plain, plain, plain})}}});
}

// One host for every benchmark, so both sides of a pair talk to the same
// server. Its transcript is kept short and read now and then, so the host
// never blocks on a full pipe.
tarnel_test::LibraryHost &host() {
    // Reads TARNEL_TRACE, as a session's start would: compare.sh times the
    // requests traced to a file in a process of their own.
    static const bool traceRead = (T_ApiSetTraceFunc(nullptr, nullptr), true);
    (void)traceRead;
    static tarnel_test::LibraryHost served(json::array(), json{{"log_args", false}, {"documents", documents()}});
    return served;
}
void keepUp() {
    static std::size_t requests = 0;
    if ((++requests & 255) == 0) (void)host().lines();
}

// Stores the lists of every size once: ints, measurements and strings.
bool stored() {
    static const bool done = [] {
        if (!host().ready()) return false;
        TA_errno = 0;
        for (int size : kSizes) {
            T_PropValsT list = {};
            std::vector<std::string> texts(size);
            std::vector<StringT> strings(size);
            for (int i = 0; i < size; ++i) {
                texts[i] = "entry " + std::to_string(i);
                strings[i] = texts[i].data();
                if (i % 3 == 0) T_ApiAppendIntProp(&list, 1000 + i, i);
                if (i % 3 == 1) T_ApiAppendMetricProp(&list, 1000 + i, i << 16);
                if (i % 3 == 2) T_ApiAppendStringProp(&list, 1000 + i, texts[i].c_str());
            }
            const unsigned int obj = objectOf(size);
            T_ApiSetProps(kDoc, obj, &list);
            T_ApiDeallocatePropVals(&list);
            T_StringsT all = {static_cast<u_int>(size), strings.data()};
            T_ApiSetStrings(kDoc, obj, kStringsProp, &all);
            std::string text;
            for (int i = 0; i < size; ++i) text += "line " + std::to_string(10000 + i % 90000) + "\n";
            T_TextLocT start = {obj, 0};
            (void)T_ApiAddText(kDoc, &start, text.data());
        }
        return TA_errno == 0;
    }();
    return done;
}

bool ready(benchmark::State &state) {
    if (!stored()) state.SkipWithError("the simulated host did not start or take the lists");
    return stored();
}

// A library call and its release, timed together; `count` checks the size.
template <typename Get, typename Release, typename Count>
void library(benchmark::State &state, Get get, Release release, Count count) {
    if (!ready(state)) return;
    const int size = static_cast<int>(state.range(0));
    for (auto _ : state) {
        auto got = get(objectOf(size));
        const bool whole = count(got) >= static_cast<u_int>(size);
        release(&got);
        if (!whole) return state.SkipWithError("the result came back short");
        keepUp();
    }
    state.SetComplexityN(size);
}

// The same procedure through clnt_call, decoded and freed by its routines.
template <typename Reply, typename Arg, typename Count>
void raw(benchmark::State &state, int proc, bool_t (*xdrReply)(XDR *, Reply *), bool_t (*xdrArg)(XDR *, Arg *),
         Arg (*arg)(unsigned int), Count count) {
    if (!ready(state)) return;
    const int size = static_cast<int>(state.range(0));
    Arg a = arg(objectOf(size));
    const struct timeval timeout = {60, 0};
    for (auto _ : state) {
        Reply reply{};
        if (clnt_call(tarnel_client, static_cast<rpcproc_t>(proc), reinterpret_cast<xdrproc_t>(xdrArg),
                      reinterpret_cast<char *>(&a), reinterpret_cast<xdrproc_t>(xdrReply),
                      reinterpret_cast<char *>(&reply), timeout) != RPC_SUCCESS)
            return state.SkipWithError(clnt_sperror(tarnel_client, "the raw call failed"));
        const bool whole = count(reply) >= static_cast<u_int>(size);
        xdr_free(reinterpret_cast<xdrproc_t>(xdrReply), reinterpret_cast<char *>(&reply));
        if (!whole) return state.SkipWithError("the reply came back short");
        keepUp();
    }
    state.SetComplexityN(size);
}

ApiTnGeneralObjArgT propsArg(unsigned int obj) { return {kDoc, obj}; }
ApiTnGetPropArgT stringsArg(unsigned int obj) { return {kDoc, obj, {kStringsProp, nullptr}}; }
ApiTnGetTextArgT textArg(unsigned int obj) { return {kDoc, obj, 0}; }

void BM_GetPropsLibrary(benchmark::State &s) {
    library(
        s, [](unsigned int o) { return T_ApiGetProps(kDoc, o); }, T_ApiDeallocatePropVals,
        [](const T_PropValsT &l) { return l.count; });
}
void BM_GetPropsRaw(benchmark::State &s) {
    raw(s, 1062, xdr_ApiTnGetPropsRetT, xdr_ApiTnGeneralObjArgT, propsArg,
        [](const ApiTnGetPropsRetT &r) { return r.props.count; });
}
void BM_GetStringsLibrary(benchmark::State &s) {
    library(
        s, [](unsigned int o) { return T_ApiGetStrings(kDoc, o, kStringsProp); }, T_ApiDeallocateStrings,
        [](const T_StringsT &l) { return l.count; });
}
void BM_GetStringsRaw(benchmark::State &s) {
    raw(s, 1072, xdr_ApiTnGetStringsRetT, xdr_ApiTnGetPropArgT, stringsArg,
        [](const ApiTnGetStringsRetT &r) { return r.value.count; });
}
void BM_GetTextLibrary(benchmark::State &s) {
    library(
        s, [](unsigned int o) { return T_ApiGetText(kDoc, o, 0); }, T_ApiDeallocateTextItems,
        [](const TextItemsT &l) { return l.count; });
}
void BM_GetTextRaw(benchmark::State &s) {
    raw(s, 1080, xdr_ApiTnGetTextRetT, xdr_ApiTnGetTextArgT, textArg,
        [](const ApiTnGetTextRetT &r) { return r.items.count; });
}

void sizes(benchmark::internal::Benchmark *b) {
    for (int size : kSizes) b->Arg(size);
    b->UseRealTime()->Unit(benchmark::kMicrosecond)->Complexity(benchmark::oN);
}
BENCHMARK(BM_GetPropsLibrary)->Apply(sizes);
BENCHMARK(BM_GetPropsRaw)->Apply(sizes);
BENCHMARK(BM_GetStringsLibrary)->Apply(sizes);
BENCHMARK(BM_GetStringsRaw)->Apply(sizes);
BENCHMARK(BM_GetTextLibrary)->Apply(sizes);
BENCHMARK(BM_GetTextRaw)->Apply(sizes);

void BM_GetIntLibrary(benchmark::State &state) {
    if (!ready(state)) return;
    T_ApiSetInt(0, 0, 200, 42);
    for (auto _ : state) {
        benchmark::DoNotOptimize(T_ApiGetInt(0, 0, 200));
        keepUp();
    }
}
BENCHMARK(BM_GetIntLibrary)->UseRealTime();

void BM_GetIntRaw(benchmark::State &state) {
    if (!ready(state)) return;
    T_ApiSetInt(0, 0, 200, 42);
    ApiTnGetPropArgT arg = {0, 0, {200, nullptr}};
    ApiTnGetIntRetT reply{};
    const struct timeval timeout = {10, 0};
    for (auto _ : state) {
        if (clnt_call(tarnel_client, 1064, reinterpret_cast<xdrproc_t>(xdr_ApiTnGetPropArgT),
                      reinterpret_cast<char *>(&arg), reinterpret_cast<xdrproc_t>(xdr_ApiTnGetIntRetT),
                      reinterpret_cast<char *>(&reply), timeout) != RPC_SUCCESS)
            return state.SkipWithError(clnt_sperror(tarnel_client, "the raw call failed"));
        benchmark::DoNotOptimize(reply.value);
        keepUp();
    }
}
BENCHMARK(BM_GetIntRaw)->UseRealTime();

// The same round trip with a trace function that does nothing: what building
// the event costs.
void BM_GetIntTraceFunction(benchmark::State &state) {
    if (!ready(state)) return;
    T_ApiSetInt(0, 0, 200, 42);
    T_ApiSetTraceFunc([](const T_ApiTraceEventT *event, void *) { benchmark::DoNotOptimize(event->json); }, nullptr);
    for (auto _ : state) {
        benchmark::DoNotOptimize(T_ApiGetInt(0, 0, 200));
        keepUp();
    }
    T_ApiSetTraceFunc(nullptr, nullptr);
}
BENCHMARK(BM_GetIntTraceFunction)->UseRealTime();

// The trace point every request passes, untraced, on a handle whose call
// returns at once: what it adds to a request, against clnt_call itself.
void BM_CallPointRaw(benchmark::State &state) {
    CLIENT *c = instantHandle();
    int arg = 0, res = 0;
    const timeval limit = {10, 0};
    for (auto _ : state)
        benchmark::DoNotOptimize(clnt_call(c, 1064, reinterpret_cast<xdrproc_t>(xdr_int), reinterpret_cast<char *>(&arg),
                                           reinterpret_cast<xdrproc_t>(xdr_int), reinterpret_cast<char *>(&res), limit));
}
BENCHMARK(BM_CallPointRaw);
void BM_CallPointUntraced(benchmark::State &state) {
    CLIENT *c = instantHandle();
    int arg = 0, res = 0;
    const timeval limit = {10, 0};
    for (auto _ : state)
        benchmark::DoNotOptimize(
            tarnel_clnt_call(c, 1064, reinterpret_cast<xdrproc_t>(xdr_int), &arg, reinterpret_cast<xdrproc_t>(xdr_int), &res, limit));
}
BENCHMARK(BM_CallPointUntraced);

// Peak growth over one call of each kind at 10^5, run alone in a fresh
// process so that no earlier call left memory to reuse.
void BM_PeakMemory(benchmark::State &state) {
    if (!ready(state)) return;
    const unsigned int obj = objectOf(100000);
    double peak[3] = {}, reply[3] = {};
    for (auto _ : state) {
        auto measure = [&](int k, auto get, auto release, xdrproc_t proc, auto wrap) {
            resetPeak();
            const long before = statusKb("VmHWM:");
            auto got = get();
            peak[k] = static_cast<double>(statusKb("VmHWM:") - before);
            auto whole = wrap(got);
            reply[k] = static_cast<double>(xdr_sizeof(proc, &whole)) / 1024;
            release(&got);
        };
        measure(
            0, [&] { return T_ApiGetProps(kDoc, obj); }, T_ApiDeallocatePropVals,
            reinterpret_cast<xdrproc_t>(xdr_ApiTnGetPropsRetT), [](T_PropValsT l) { return ApiTnGetPropsRetT{0, l}; });
        measure(
            1, [&] { return T_ApiGetStrings(kDoc, obj, kStringsProp); }, T_ApiDeallocateStrings,
            reinterpret_cast<xdrproc_t>(xdr_ApiTnGetStringsRetT), [](T_StringsT l) { return ApiTnGetStringsRetT{0, l}; });
        measure(
            2, [&] { return T_ApiGetText(kDoc, obj, 0); }, T_ApiDeallocateTextItems,
            reinterpret_cast<xdrproc_t>(xdr_ApiTnGetTextRetT), [](TextItemsT l) { return ApiTnGetTextRetT{0, l}; });
    }
    const char *names[] = {"props", "strings", "text"};
    for (int k = 0; k < 3; ++k) {
        state.counters[std::string(names[k]) + "_peak_kB"] = peak[k];
        state.counters[std::string(names[k]) + "_reply_kB"] = reply[k];
    }
}
BENCHMARK(BM_PeakMemory)->Iterations(1)->UseRealTime();

}  // namespace
