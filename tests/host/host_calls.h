// The host's document model through the protocol: the tests call the stubs
// on a served host's handle, so the model is exercised as clients reach it.
#ifndef HOST_TESTS_HOST_CALLS_H
#define HOST_TESTS_HOST_CALLS_H

#include <gtest/gtest.h>
#include <tarnel/api_to_tn.h>

#include "host_launcher.h"

namespace host_test {

using namespace tarnel_test;

// A stub's reply, released with its XDR routine when it goes out of scope
// (the stub reuses its result area, so one reply per stub at a time).
template <typename R> class Reply {
  public:
    Reply(R *r, xdrproc_t proc) : r_(r), proc_(proc) {}
    ~Reply() {
        if (r_) xdr_free(proc_, reinterpret_cast<char *>(r_));
    }
    Reply(const Reply &) = delete;
    Reply &operator=(const Reply &) = delete;
    explicit operator bool() const { return r_ != nullptr; }
    R *operator->() const { return r_; }
    R &operator*() const { return *r_; }

  private:
    R *r_;
    xdrproc_t proc_;
};

template <typename R, typename A>
Reply<R> call(CLIENT *c, R *(*stub)(A *, CLIENT *), bool_t (*xdr)(XDR *, R *), A arg) {
    return Reply<R>(stub(&arg, c), reinterpret_cast<xdrproc_t>(xdr));
}

// A host without a scenario, serving each test of the fixture.
class HostTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(c); }
    ServedHost h;
    CLIENT *c = h.client();
};

// Request records, filled the way the request functions fill them.
inline ApiTnGetPropArgT byNum(u_int doc, u_int obj, int num) { return {doc, obj, {num, nullptr}}; }
inline ApiTnGetPropArgT byName(u_int doc, u_int obj, const char *name) {
    return {doc, obj, {0, const_cast<char *>(name)}};
}
inline StringT S(const char *s) { return const_cast<StringT>(s); }

}  // namespace host_test

#endif
