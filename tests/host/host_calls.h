// The host's document model through the protocol: the tests call the stubs
// on a served host's handle, so the model is exercised as clients reach it.
#ifndef HOST_TESTS_HOST_CALLS_H
#define HOST_TESTS_HOST_CALLS_H

#include <gtest/gtest.h>
#include <tarnel/api_to_tn.h>
#include <tarnel/tnapi_values.h>
#include <wire/record_routines.h>

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "host_launcher.h"

namespace host_test {

using namespace tarnel_test;

template <typename R> xdrproc_t routineOf(const R *r) { return tarnel::wire::routine_of(r); }
inline xdrproc_t routineOf(const int *) { return tarnel::wire::as_xdrproc(&xdr_int); }
inline xdrproc_t routineOf(const StringT *) { return tarnel::wire::as_xdrproc(&xdr_StringT); }

// A stub's reply, released when it goes out of scope (the stub reuses its
// result area, so one reply per stub at a time).
struct ReplyFree {
    template <typename R> void operator()(R *r) const { xdr_free(routineOf(r), reinterpret_cast<char *>(r)); }
};
template <typename R> using Reply = std::unique_ptr<R, ReplyFree>;

inline StringT S(const char *s) { return const_cast<StringT>(s); }
inline std::vector<std::string> list(const T_StringsT &l) { return {l.items, l.items + l.count}; }

// A tnhost serving the test process (`extra`: scenario keys such as
// documents and answers). Arguments are written as braced records.
struct Host {
    explicit Host(json extra = json::object()) : h(json::array(), std::move(extra)) {}
    ServedHost h;
    CLIENT *c = h.client();

    template <typename R, typename A> Reply<R> call(R *(*stub)(A *, CLIENT *), std::type_identity_t<A> arg) {
        return Reply<R>(stub(&arg, c));
    }
    template <typename R> Reply<R> call(R *(*stub)(void *, CLIENT *)) { return Reply<R>(stub(nullptr, c)); }
    // The reply's status (a reply that is one int is its own); 1 without a reply.
    template <typename R, typename A> int status(R *(*stub)(A *, CLIENT *), std::type_identity_t<A> arg) {
        Reply<R> r = call(stub, arg);
        if (!r) return 1;
        if constexpr (std::is_same_v<R, int>)
            return *r;
        else
            return r->status;
    }
    u_int open(const char *name) { return call(api_tn_open_1, {S(name), {0, nullptr}})->objId; }
    // An object's text items: [text] or <kind>.
    std::string texts(u_int doc, u_int obj, u_int flags) {
        auto r = call(api_tn_get_text_1, {doc, obj, flags});
        std::string out;
        for (u_int i = 0; i < r->items.count; i++) {
            const TextItemDataT &d = r->items.items[i].data;
            out += d.kind == 1 ? "[" + std::string(d.u.text) + "]" : "<" + std::to_string(d.kind) + ">";
        }
        return out;
    }
    u_int newDoc() { return call(api_tn_custom_1, {600, 800, 1, 0, 0, 0, 0, 0, 0, 0})->objId; }
};

// Each test of the fixture with a host of its own, without a scenario.
class HostTest : public testing::Test, public Host {
  protected:
    void SetUp() override { ASSERT_TRUE(c); }
};

// Request records, filled the way the request functions fill them.
inline ApiTnGetPropArgT byNum(u_int doc, u_int obj, int num) { return {doc, obj, {num, nullptr}}; }
inline ApiTnGetPropArgT byName(u_int doc, u_int obj, const char *name) { return {doc, obj, {0, S(name)}}; }
inline T_TypedValT word(int kind, int value) {
    T_TypedValT v{};
    v.kind = kind;
    v.u.ival = value;
    return v;
}

}  // namespace host_test

#endif
