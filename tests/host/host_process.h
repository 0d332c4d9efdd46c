// A tnhost serving this test process: the test connects a client handle
// straight to the host's API program and calls the stubs, so the document
// model is exercised through the real protocol.
#ifndef HOST_TESTS_HOST_PROCESS_H
#define HOST_TESTS_HOST_PROCESS_H

#include <rpc/rpc.h>
#include <sys/types.h>

#include <string>
#include <vector>

#include <nlohmann/json.hpp>
#include <tarnel/api_to_tn.h>

namespace host_test {

using nlohmann::json;

class HostProcess {
  public:
    // `extra`: top-level scenario keys (documents, requests ...).
    explicit HostProcess(json extra = json::object());
    // HostProcess h({{"documents", ...}}) without naming json.
    HostProcess(std::initializer_list<nlohmann::detail::json_ref<json>> extra)
        : HostProcess(json(extra)) {}
    ~HostProcess();
    HostProcess(const HostProcess &) = delete;
    HostProcess &operator=(const HostProcess &) = delete;

    CLIENT *client() const { return client_; }
    // The transcript's latest request line for `proc` (waits up to 5 s for one).
    std::string lineOf(int proc);
    // Whether a transcript line containing `fragment` arrives (waits up to 5 s).
    bool sawLine(const std::string &fragment);

  private:
    std::size_t drain();  // reads what the host wrote; the byte count
    int program_ = 0;
    pid_t pid_ = -1;
    int out_ = -1;
    CLIENT *client_ = nullptr;
    std::string partial_;
    std::vector<std::string> lines_;
};

// A stub's reply, released with its XDR routine when it goes out of scope
// (the stub reuses its result area, so one reply per stub at a time).
template <typename R> class Reply {
  public:
    Reply(R *r, xdrproc_t proc) : r_(r), proc_(proc) {}
    ~Reply() {
        if (r_)
            xdr_free(proc_, reinterpret_cast<char *>(r_));
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

// Runs tnhost with a scenario; returns its exit status and standard error.
int runHost(const json &scenario, std::string *err);

// Request records, filled the way the request functions fill them.
ApiTnGetPropArgT byNum(u_int doc, u_int obj, int num);
ApiTnGetPropArgT byName(u_int doc, u_int obj, const char *name);

}  // namespace host_test

#endif
