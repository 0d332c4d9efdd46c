// What the request layer costs on top of the RPC it makes. T_ApiGetInt
// against a raw clnt_call of the same procedure to the same simulated host;
// T_ApiGetProps of a 10,000-entry list against decoding the same reply bytes
// from memory.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include <tarnel/api_to_tn.h>
#include <tarnel/tnapi.h>

#include "library_client.h"

namespace {

using tarnel_test::json;
using ServedHost = tarnel_test::LibraryHost;

constexpr int kEntries = 10000;
constexpr unsigned int kListObject = 0;  // the host's session object

// One host for every benchmark, so both sides of a comparison talk to the
// same server. Its transcript is kept short and read now and then, so the
// host never blocks on a full pipe.
ServedHost &host() {
    static ServedHost served(json::array(), json{{"log_args", false}});
    return served;
}
void keepUp() {
    static std::size_t requests = 0;
    if ((++requests & 255) == 0) (void)host().lines();
}

bool ready(benchmark::State &state) {
    if (!host().ready()) state.SkipWithError("the simulated host did not start");
    return host().ready();
}

void BM_GetIntLibrary(benchmark::State &state) {
    if (!ready(state)) return;
    T_ApiSetInt(0, 0, 200, 42);
    for (auto _ : state) {
        benchmark::DoNotOptimize(T_ApiGetInt(0, 0, 200));
        keepUp();
    }
}
BENCHMARK(BM_GetIntLibrary)->UseRealTime();

void BM_GetIntRawCall(benchmark::State &state) {
    if (!ready(state)) return;
    T_ApiSetInt(0, 0, 200, 42);
    ApiTnGetPropArgT arg = {0, 0, {200, nullptr}};
    ApiTnGetIntRetT reply{};
    const struct timeval timeout = {10, 0};
    for (auto _ : state) {
        if (clnt_call(tarnel_client, 1064, reinterpret_cast<xdrproc_t>(xdr_ApiTnGetPropArgT),
                      reinterpret_cast<char *>(&arg), reinterpret_cast<xdrproc_t>(xdr_ApiTnGetIntRetT),
                      reinterpret_cast<char *>(&reply), timeout) != RPC_SUCCESS) {
            state.SkipWithError(clnt_sperror(tarnel_client, "the raw call failed"));
            return;
        }
        benchmark::DoNotOptimize(reply.value);
        keepUp();
    }
}
BENCHMARK(BM_GetIntRawCall)->UseRealTime();

// A list of ints, measurements and strings, stored on the host once.
bool storeList() {
    static bool stored = false;
    if (stored) return true;
    T_PropValsT list = {};
    std::vector<std::string> texts;
    for (int i = 0; i < kEntries; i++) {
        const int num = 1000 + i;
        if (i % 3 == 0) T_ApiAppendIntProp(&list, num, i);
        if (i % 3 == 1) T_ApiAppendMetricProp(&list, num, i << 16);
        if (i % 3 == 2) T_ApiAppendStringProp(&list, num, ("entry " + std::to_string(i)).c_str());
    }
    TA_errno = 0;
    T_ApiSetProps(0, kListObject, &list);
    T_ApiDeallocatePropVals(&list);
    stored = TA_errno == 0;
    return stored;
}

void BM_GetPropsTotal(benchmark::State &state) {
    if (!ready(state)) return;
    if (!storeList()) return state.SkipWithError("the host did not take the list");
    for (auto _ : state) {
        T_PropValsT got = T_ApiGetProps(0, kListObject);
        state.PauseTiming();
        if (got.count < kEntries) return state.SkipWithError("the list came back short");
        T_ApiDeallocatePropVals(&got);
        keepUp();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GetPropsTotal)->UseRealTime()->Unit(benchmark::kMillisecond);

// The reply as it arrives: the list T_ApiGetProps returned, encoded again.
std::string replyBytes() {
    T_PropValsT got = T_ApiGetProps(0, kListObject);
    ApiTnGetPropsRetT reply = {0, got};
    const auto proc = reinterpret_cast<xdrproc_t>(xdr_ApiTnGetPropsRetT);
    std::string bytes(xdr_sizeof(proc, &reply), '\0');
    XDR x;
    xdrmem_create(&x, bytes.data(), static_cast<u_int>(bytes.size()), XDR_ENCODE);
    if (!xdr_ApiTnGetPropsRetT(&x, &reply)) bytes.clear();
    xdr_destroy(&x);
    T_ApiDeallocatePropVals(&got);
    return bytes;
}

void BM_GetPropsDecodeOnly(benchmark::State &state) {
    if (!ready(state)) return;
    if (!storeList()) return state.SkipWithError("the host did not take the list");
    std::string bytes = replyBytes();
    if (bytes.empty()) return state.SkipWithError("the reply could not be encoded");
    for (auto _ : state) {
        ApiTnGetPropsRetT reply{};
        XDR x;
        xdrmem_create(&x, bytes.data(), static_cast<u_int>(bytes.size()), XDR_DECODE);
        const bool ok = xdr_ApiTnGetPropsRetT(&x, &reply);
        xdr_destroy(&x);
        state.PauseTiming();
        if (!ok || reply.props.count < kEntries) return state.SkipWithError("decoding failed");
        xdr_free(reinterpret_cast<xdrproc_t>(xdr_ApiTnGetPropsRetT), reinterpret_cast<char *>(&reply));
        state.ResumeTiming();
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_GetPropsDecodeOnly)->UseRealTime()->Unit(benchmark::kMillisecond);

// The library's own share of a T_ApiGetProps: the deep copy it hands over
// and the release of the decoded reply.
void BM_GetPropsCopyAndRelease(benchmark::State &state) {
    if (!ready(state)) return;
    if (!storeList()) return state.SkipWithError("the host did not take the list");
    std::string bytes = replyBytes();
    if (bytes.empty()) return state.SkipWithError("the reply could not be encoded");
    for (auto _ : state) {
        state.PauseTiming();
        ApiTnGetPropsRetT reply{};
        XDR x;
        xdrmem_create(&x, bytes.data(), static_cast<u_int>(bytes.size()), XDR_DECODE);
        const bool ok = xdr_ApiTnGetPropsRetT(&x, &reply);
        xdr_destroy(&x);
        if (!ok) return state.SkipWithError("decoding failed");
        state.ResumeTiming();
        T_PropValsT copy = T_ApiCopyPropVals(&reply.props);
        api_xdrfree(reinterpret_cast<xdrproc_t>(xdr_ApiTnGetPropsRetT), &reply);
        state.PauseTiming();
        T_ApiDeallocatePropVals(&copy);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GetPropsCopyAndRelease)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
