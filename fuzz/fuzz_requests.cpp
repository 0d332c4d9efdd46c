// The request layer over a client handle whose every call reads the fuzz
// bytes as the host's reply. The first byte picks a request function; each
// result kind (status, plain, value, record, no result, answer, and the
// functions with their own reply handling) is covered.
//
// Beyond "no crash, no leak": the harness decodes the same bytes itself and
// checks the function's contract against that reply. Without a decodable
// reply the result is the kind's failure value and TA_errno is -1; with a
// non-zero status TA_errno is that status (the answer kind leaves it alone)
// and the result the failure value; on status 0 the result equals the
// reply's field. Every returned value is released with its own operation.
#include <tarnel/api_to_tn.h>
#include <tarnel/tnapi.h>
#include <wire/proctable.h>

#include "support.h"

namespace {

using namespace fuzz;
using tarnel::wire::findProc;

// ---- The fake host ----------------------------------------------------------

struct {
    const std::uint8_t *data = nullptr;
    std::size_t size = 0;
    int calls = 0;
    rpcproc_t proc = 0;
} host;

clnt_stat fake_call(CLIENT *, rpcproc_t proc, xdrproc_t encodeArg, void *arg, xdrproc_t decodeRes, void *res,
                    struct timeval) {
    ++host.calls;
    host.proc = proc;
    // The request must encode: it is what would go out.
    Bytes sent;
    FUZZ_CHECK(encode(encodeArg, arg, 0, sent));
    return decode(decodeRes, res, 0, host.data, host.size) >= 0 ? RPC_SUCCESS : RPC_CANTDECODERES;
}
void fake_abort(CLIENT *) {}
void fake_geterr(CLIENT *, struct rpc_err *e) { e->re_status = RPC_CANTDECODERES; }
bool_t fake_freeres(CLIENT *, xdrproc_t routine, void *res) {
    release(routine, res);
    return TRUE;
}
void fake_destroy(CLIENT *) {}
bool_t fake_control(CLIENT *, u_int, void *) { return FALSE; }

CLIENT *fake_client() {
    static CLIENT::clnt_ops ops = {fake_call, fake_abort, fake_geterr, fake_freeres, fake_destroy, fake_control};
    static CLIENT client{};
    client.cl_ops = &ops;
    return &client;
}

// ---- The reply as the harness reads it --------------------------------------

constexpr int kUnset = 0x7eadbeef;  // TA_errno before each call

template <typename Reply> int status_of(const Reply &r) { return r.status; }
inline int status_of(const int &r) { return r; }

template <typename Reply> struct HostReply {
    explicit HostReply(u_int procNum) : entry(findProc(procNum)) {
        FUZZ_CHECK(entry != nullptr && entry->resSize == sizeof(Reply));
        decoded = decode(entry->resProc, &r, sizeof r, host.data, host.size) >= 0;
        if (!decoded) release(entry->resProc, &r);
    }
    ~HostReply() { release(entry->resProc, &r); }
    HostReply(const HostReply &) = delete;
    HostReply &operator=(const HostReply &) = delete;

    int status() const { return status_of(r); }
    // Calls the request function and checks it made exactly this call.
    template <typename F> auto call(F f) {
        host.calls = 0;
        TA_errno = kUnset;
        auto result = f();
        FUZZ_CHECK(host.calls == 1 && host.proc == entry->number);
        return result;
    }

    const tarnel::wire::ProcEntry *entry;
    bool decoded = false;
    Reply r{};
};

// ---- The result kinds -------------------------------------------------------

// The host's status is the result (also in TA_errno); `failure` without a reply.
template <typename Reply, typename F> void status(u_int proc, F f, int failure = -1) {
    HostReply<Reply> h(proc);
    const int result = h.call(f);
    if (!h.decoded) {
        FUZZ_CHECK(result == failure && TA_errno == -1);
        return;
    }
    FUZZ_CHECK(result == h.status());
    FUZZ_CHECK(TA_errno == (h.status() != 0 ? h.status() : kUnset));
}

// No result: the status reaches TA_errno only.
template <typename Reply, typename F> void none(u_int proc, F f) {
    HostReply<Reply> h(proc);
    h.call([&] {
        f();
        return 0;
    });
    FUZZ_CHECK(TA_errno == (!h.decoded ? -1 : h.status() != 0 ? h.status() : kUnset));
}

// The host's value itself, no status; `failure` without a reply.
template <typename Reply, typename F> void plain(u_int proc, F f, Reply failure) {
    HostReply<Reply> h(proc);
    Reply result = h.call(f);
    if (!h.decoded)
        FUZZ_CHECK(same(result, failure) && TA_errno == -1);
    else
        FUZZ_CHECK(same(result, h.r) && TA_errno == kUnset);
    dispose(result);
}

// Value and record results: the field on status 0, else `failure`.
template <typename Reply, typename F, typename T> void read(u_int proc, F f, T Reply::*field, T failure = T{}) {
    HostReply<Reply> h(proc);
    T result = h.call(f);
    if (!h.decoded) {
        FUZZ_CHECK(same(result, failure) && TA_errno == -1);
    } else if (h.status() != 0) {
        FUZZ_CHECK(same(result, failure) && TA_errno == h.status());
    } else {
        FUZZ_CHECK(same(result, h.r.*field) && TA_errno == kUnset);
    }
    dispose(result);
}

// Answer results: 0 and the answer through `out` on status 0; otherwise -1
// with `out` untouched, and TA_errno -1 only when no reply came.
template <typename Reply, typename F, typename T> void answer(u_int proc, F f, T Reply::*field, T unset) {
    HostReply<Reply> h(proc);
    T out = unset;
    const int result = h.call([&] { return f(&out); });
    if (!h.decoded) {
        FUZZ_CHECK(result == -1 && TA_errno == -1 && same(out, unset));
    } else if (h.status() != 0) {
        FUZZ_CHECK(result == -1 && TA_errno == kUnset && same(out, unset));
    } else {
        FUZZ_CHECK(result == 0 && TA_errno == kUnset && same(out, h.r.*field));
        dispose(out);
    }
}

// ---- The functions with reply handling of their own -------------------------

void open() {
    static T_PropValsT *returned = nullptr;  // the library's list, kept across calls
    HostReply<ApiTnOpenRetT> h(API_TN_OPEN);
    T_PropValsT *before = returned;
    const u_int id = h.call([] { return T_ApiOpen(const_cast<char *>("f"), nullptr, &returned); });
    if (!h.decoded) {
        FUZZ_CHECK(id == 0 && TA_errno == -1 && returned == before);
        return;
    }
    FUZZ_CHECK(id == (h.status() == 0 ? h.r.objId : 0u));
    FUZZ_CHECK(TA_errno == (h.status() != 0 ? h.status() : kUnset));
    FUZZ_CHECK(returned != nullptr && same(*returned, h.r.returned != nullptr ? *h.r.returned : T_PropValsT{}));
    if (h.status() != 0) T_ApiDeallocatePropVals(returned);  // the caller may
}

void spell() {
    HostReply<ApiTnSpellRetT> h(API_TN_SPELL);
    int outInt = kUnset;
    T_StringsT list = {7, nullptr};
    const T_TextRangeT range = h.call([&] { return T_ApiSpell(1, nullptr, nullptr, &outInt, &list); });
    const bool ok = h.decoded && h.status() == 0;
    FUZZ_CHECK(same(range, ok ? h.r.range : T_TextRangeT{}) && outInt == (ok ? h.r.int1 : 0));
    FUZZ_CHECK(same(list, h.decoded ? h.r.items : T_StringsT{}));
    FUZZ_CHECK(TA_errno == (!h.decoded ? -1 : h.status() != 0 ? h.status() : kUnset));
    T_ApiDeallocateStrings(&list);
}

void thesaurus() {
    HostReply<ApiTnThesaurusRetT> h(API_TN_THESAURUS);
    T_StringsT l[4];
    const int result = h.call([&] { return T_ApiThesaurus(1, nullptr, &l[0], &l[1], &l[2], &l[3]); });
    const T_StringsT *want[4] = {&h.r.list1, &h.r.list2, &h.r.list3, &h.r.list4};
    for (int i = 0; i < 4; ++i) {
        FUZZ_CHECK(same(l[i], *want[i]));  // empty lists without a reply
        T_ApiDeallocateStrings(&l[i]);
    }
    FUZZ_CHECK(result == (h.decoded ? h.status() : -1));
    FUZZ_CHECK(TA_errno == (!h.decoded ? -1 : h.status() != 0 ? h.status() : kUnset));
}

void dictionary() {
    HostReply<ApiTnDictionaryRetT> h(API_TN_DICTIONARY);
    T_StringsT list;
    const int result = h.call([&] { return T_ApiDictionary(1, nullptr, 2, 3, &list); });
    FUZZ_CHECK(same(list, h.r.items));
    FUZZ_CHECK(result == (h.decoded ? h.status() : -1));
    FUZZ_CHECK(TA_errno == (!h.decoded ? -1 : h.status() != 0 ? h.status() : kUnset));
    T_ApiDeallocateStrings(&list);
}

void compare() {
    HostReply<ApiTnCompareRetT> h(API_TN_COMPARE);
    const T_CompareRetT r = h.call([] { return T_ApiCompare(1, 2, 0, nullptr, nullptr, nullptr, 0); });
    const bool ok = h.decoded && h.status() == 0;
    FUZZ_CHECK(r.firstId == (ok ? h.r.uint1 : 0u) && r.secondId == (ok ? h.r.uint2 : 0u));
    FUZZ_CHECK(TA_errno == (!h.decoded ? -1 : h.status() != 0 ? h.status() : kUnset));
}

// ---- The cases --------------------------------------------------------------

char name[] = "name";

using Case = void (*)();
// One value or record read: its procedure, the call, and the reply field it returns.
#define READ(proc, call, field)                                                                                        \
    [] {                                                                                                               \
        read(                                                                                                          \
            proc, [] { return call; }, field);                                                                         \
    }
const Case cases[] = {
    // status
    [] { status<int>(API_TN_DELETE, [] { return T_ApiDelete(1, 2); }); },
    [] { status<ApiTnResetSpellingRetT>(API_TN_RESETSPELLING, [] { return T_ApiResetSpelling(1); }); },
    [] {
        status<ApiTnModifyDictionaryRetT>(
            API_TN_MODIFYDICTIONARY, [] { return T_ApiModifyDictionary(1, 2, 3, name); }, 0);
    },
    // no result
    [] { none<int>(API_TN_SET_INT, [] { T_ApiSetInt(1, 2, 3, 4); }); },
    [] { none<int>(API_TN_SET_STRING, [] { T_ApiSetString(1, 2, 3, name); }); },
    // plain
    [] {
        plain<int>(
            API_TN_ALERT, [] { return T_ApiAlert(name, 1); }, -1);
    },
    [] {
        plain<int>(
            API_CLIENT_NUMBER, [] { return T_ApiClientNumber(); }, -1);
    },
    [] {
        plain<int>(
            API_TN_MENU_EXISTS, [] { return T_ApiMenuExists(name); }, -1);
    },
    [] {
        plain<StringT>(
            API_CLIENT_NAME, [] { return T_ApiClientName(); }, nullptr);
    },
    // value
    READ(API_TN_GET_INT, T_ApiGetInt(1, 2, 3), &ApiTnGetIntRetT::value),
    READ(API_TN_GET_ID, T_ApiGetId(1, 2, 3), &ApiTnGetIdRetT::value),
    READ(API_TN_GET_INT, T_ApiGetIntByName(1, 2, name), &ApiTnGetIntRetT::value),
    READ(API_TN_GET_STRING, T_ApiGetString(1, 2, 3), &ApiTnGetStringRetT::value),
    READ(API_TN_SHOWHYPHENATION, T_ApiShowHyphenation(name), &ApiTnShowHyphenationRetT::text),
    READ(API_TN_GET_NAMED_OBJECT, T_ApiGetNamedObject(1, 2, name), &ApiTnObjRetT::objId),
    READ(API_TN_ADD_TEXT, T_ApiAddText(1, nullptr, name), &ApiTnAddTextRetT::loc),
    READ(API_TN_GET_ELEMENT_RANGE, T_ApiGetElementRange(1, 2, 3), &ApiTnGetElementRangeRetT::value),
    // record
    READ(API_TN_GET_STRINGS, T_ApiGetStrings(1, 2, 3), &ApiTnGetStringsRetT::value),
    READ(API_TN_GET_SUPPORTED_ENCODINGS, T_ApiGetSupportedEncodings(), &ApiTnGetStringsRetT::value),
    READ(API_TN_GET_METRICS, T_ApiGetMetrics(1, 2, 3), &ApiTnGetMetricsRetT::value),
    READ(API_TN_GET_POINTS, T_ApiGetPoints(1, 2, 3), &ApiTnGetPointsRetT::value),
    READ(API_TN_GET_TABS, T_ApiGetTabs(1, 2, 3), &ApiTnGetTabsRetT::value),
    READ(API_TN_GET_INTS, T_ApiGetInts(1, 2, 3), &ApiTnGetIntsRetT::value),
    READ(API_TN_GET_UBYTES, T_ApiGetUBytesByName(1, 2, name), &ApiTnGetUBytesRetT::value),
    READ(API_TN_GET_VAL, T_ApiGetVal(1, 2, 3), &ApiTnGetValRetT::value),
    READ(API_TN_GET_PROP, T_ApiGetPropVal(1, 2, 3), &ApiTnGetPropRetT::prop),
    READ(API_TN_GET_PROPS, T_ApiGetProps(1, 2), &ApiTnGetPropsRetT::props),
    READ(API_TN_GET_TEXT_PROPS, T_ApiGetTextProps(1, nullptr), &ApiTnGetPropsRetT::props),
    READ(API_TN_GET_TEXT, T_ApiGetText(1, 2, 3), &ApiTnGetTextRetT::items),
    READ(API_TN_GET_ELEMENT_CATALOG, T_ApiGetElementCatalog(1), &ApiTnGetElementCatalogRetT::value),
    READ(API_TN_GET_ATTRIBUTE_DEFS, T_ApiGetAttributeDefs(1, 2), &ApiTnGetAttributeDefsRetT::value),
    READ(API_TN_GET_ATTRIBUTES, T_ApiGetAttributes(1, 2), &ApiTnGetAttributesRetT::value),
    READ(API_TN_FAMILY_FONTS, T_ApiFamilyFonts(1), &ApiTnFamilyFontsRetT::fonts),
    READ(API_TN_COMBINED_FAMILY_FONTS, T_ApiCombinedFamilyFonts(1), &ApiTnCombinedFamilyFontsRetT::fonts),
    // answer
    [] {
        answer(
            API_TN_PROMPT_INT, [](int *out) { return T_ApiPromptInt(out, name, name); }, &ApiTnPromptIntRetT::value,
            kUnset);
    },
    [] {
        answer(
            API_TN_PROMPT_STRING, [](StringT *out) { return T_ApiPromptString(out, name, name); },
            &ApiTnPromptStringRetT::text, static_cast<StringT>(name));
    },
    // their own
    open,
    spell,
    thesaurus,
    dictionary,
    compare,
};
#undef READ
constexpr std::size_t caseCount = sizeof cases / sizeof cases[0];

// For each case, valid replies of its procedure.
void write_seeds(const char *dir) {
    for (std::size_t i = 0; i < caseCount; ++i) {
        host.data = nullptr;
        host.size = 0;
        host.calls = 0;
        cases[i]();  // an empty reply: learns the procedure, checks the failure path
        const auto *entry = findProc(static_cast<u_int>(host.proc));
        int n = 0;
        for (const Bytes &b : sample_encodings(entry->resProc, entry->resSize))
            write_seed(dir, std::string(entry->stub) + "-" + std::to_string(i) + "-" + std::to_string(n++),
                       with_prefix({static_cast<std::uint8_t>(i)}, b));
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    tarnel_client = fake_client();
    return seed_mode(write_seeds);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 1) return -1;
    host.data = data + 1;
    host.size = size - 1;
    cases[data[0] % caseCount]();
    return 0;
}
