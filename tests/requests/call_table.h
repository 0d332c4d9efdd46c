// Tables of request functions run against the simulated host: per function,
// what the host received, the result when it accepts, when it refuses and
// when it is gone, and what each of these leaves in TA_errno.
#ifndef REQUESTS_CALL_TABLE_H
#define REQUESTS_CALL_TABLE_H

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <set>
#include <string>
#include <vector>

#include <tarnel/tnapi.h>

#include "library_client.h"

namespace requests_test {

using namespace tarnel_test;
// The test process is the library's client of the host.
using ServedHost = LibraryHost;

// The XDR encoding of a record, in the transcript's hex form.
inline std::string hexOf(xdrproc_t proc, const void *record) {
    void *writable = const_cast<void *>(record);
    std::string bytes(xdr_sizeof(proc, writable), '\0');
    XDR x;
    xdrmem_create(&x, bytes.data(), static_cast<u_int>(bytes.size()), XDR_ENCODE);
    const bool ok = proc(&x, writable);
    xdr_destroy(&x);
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    for (unsigned char c : bytes) {
        hex += digits[c >> 4];
        hex += digits[c & 15];
    }
    return ok ? hex : "?";
}

// The status every refusal rule writes into the reply (its leading status,
// or the int of a reply that is nothing but an int).
constexpr int kRefusal = -40;
// TA_errno before every call: a call that must not touch it leaves it.
constexpr int kUntouched = 77;

// A string argument from a literal; request functions never write through it.
inline StringT S(const char *s) { return const_cast<StringT>(s); }

// Results rendered as text, so that one table holds every result type;
// strings are released once rendered.
inline std::string shown(int v) { return std::to_string(v); }
inline std::string shown(unsigned int v) { return std::to_string(v) + "u"; }
inline std::string shown(StringT s) {
    std::string out = s != nullptr ? "\"" + std::string(s) + "\"" : "null";
    T_ApiDeallocateString(&s);
    return out;
}
inline std::string shown(T_PointT p) { return "(" + std::to_string(p.x) + "," + std::to_string(p.y) + ")"; }
inline std::string shown(RectT r) {
    return "(" + std::to_string(r.x) + "," + std::to_string(r.y) + "," + std::to_string(r.width) + "," +
           std::to_string(r.height) + ")";
}
inline std::string shown(T_TextLocT l) { return "(" + std::to_string(l.objId) + "," + std::to_string(l.offset) + ")"; }
inline std::string shown(T_ElementLocT l) {
    return "(" + std::to_string(l.parentId) + "," + std::to_string(l.childId) + "," + std::to_string(l.offset) + ")";
}
inline std::string shown(T_TextRangeT v) { return shown(v.begin) + "-" + shown(v.end); }
inline std::string shown(T_ElementRangeT v) { return shown(v.begin) + "-" + shown(v.end); }
// Rendered without being released, so that records can nest them.
inline std::string quoted(const char *s) { return s != nullptr ? "\"" + std::string(s) + "\"" : "null"; }
// A list as [a b ...]; "null" for the zero record (no array).
template <typename List, typename Item> std::string items(const List &l, Item item) {
    if (l.items == nullptr) return l.count == 0 ? "null" : "broken";
    std::string out = "[";
    for (u_int i = 0; i < l.count; i++) out += (i ? " " : "") + item(l.items[i]);
    return out + "]";
}
// Results the caller owns: rendered, then released; lists as items(...).
template <typename T, typename Render> std::string released(T v, Render render, void (*release)(T *)) {
    std::string out = render(v);
    release(&v);
    return out;
}
#define SHOWN_LIST(List, item, release)                                                                                \
    inline std::string shown(List v) {                                                                                 \
        return released(v, [](auto &l) { return items(l, item); }, release);                                           \
    }
SHOWN_LIST(T_StringsT, quoted, T_ApiDeallocateStrings)

struct Call {
    const char *name;
    int proc;
    std::function<std::string()> run;  // calls the function and shows its result
    std::string args;                  // the argument's expected encoding
    std::string accepted;              // result when the host accepts ("": shown elsewhere)
    std::string refused;               // result when the host refuses with kRefusal ("": shown elsewhere)
    bool reportsRefusal;               // whether the refusal goes to TA_errno
    std::string lost;                  // result when no reply comes
};

const std::string kRefused = std::to_string(kRefusal);

// A status result: 0 accepted, the refusal's status, -1 (or `lost`) when lost.
inline Call status(const char *name, int proc, std::function<int()> call, std::string args, std::string lost = "-1") {
    return Call{name, proc, [call] { return shown(call()); }, args, "0", kRefused, true, lost};
}
// A result whose refusal and loss give the same value; `run` shows it.
inline Call row(const char *name, int proc, std::function<std::string()> run, std::string args, std::string accepted,
                std::string failed) {
    return Call{name, proc, run, args, accepted, failed, true, failed};
}
// A function with no result: only TA_errno tells.
inline Call none(const char *name, int proc, std::function<void()> call, std::string args) {
    return Call{name,
                proc,
                [call] {
                    call();
                    return std::string("done");
                },
                args,
                "done",
                "done",
                true,
                "done"};
}

// The expected argument encoding of a record.
template <typename T> std::string sent(bool_t (*proc)(XDR *, T *), T record) {
    return hexOf(reinterpret_cast<xdrproc_t>(proc), &record);
}
// A bare int argument, written in braces like a record in the rows below.
inline std::string sent(bool_t (*proc)(XDR *, int *), std::initializer_list<int> value) {
    return sent(proc, *value.begin());
}

// Rows named by their function: `args` is the call's argument list in
// parentheses, the trailing arguments the record the host must receive.
#define STATUS(fn, proc, args, xdr, ...)                                                                               \
    status(                                                                                                            \
        #fn, proc, [&] { return fn args; }, sent(xdr, {__VA_ARGS__}))
#define SET(fn, proc, args, xdr, ...)                                                                                  \
    none(                                                                                                              \
        #fn, proc, [&] { fn args; }, sent(xdr, {__VA_ARGS__}))
#define GET(fn, proc, args, accepted, failed, xdr, ...)                                                                \
    row(                                                                                                               \
        #fn, proc, [&] { return shown(fn args); }, sent(xdr, {__VA_ARGS__}), accepted, failed)

// An output variable's value before the call: a refusal must leave it.
inline char kKept[] = "kept";
inline std::string shownAnswer(StringT out) { return out == kKept ? "kept" : shown(out); }

// Runs the table in order on a host that accepts (with the scenario keys of
// `extra`: answers ...), then on one that refuses every call, then again
// once that host is gone. The accepting host's model sees only the accepted
// calls, so later rows may build on earlier ones.
inline void runCalls(const std::vector<Call> &calls, json extra = json::object()) {
    {
        ServedHost host(json::array(), extra);
        ASSERT_TRUE(host.ready()) << host.text();
        for (const Call &c : calls) {
            if (c.accepted.empty()) continue;
            SCOPED_TRACE(std::string(c.name) + " accepted");
            TA_errno = kUntouched;
            EXPECT_EQ(c.run(), c.accepted) << host.lineOf(c.proc);
            EXPECT_EQ(TA_errno, kUntouched);
        }
    }
    std::set<int> procs;
    for (const Call &c : calls) procs.insert(c.proc);
    json rules = json::array();
    for (int proc : procs) rules.push_back({{"proc", proc}, {"status", kRefusal}});
    ServedHost host(rules, extra);
    ASSERT_TRUE(host.ready()) << host.text();
    for (const Call &c : calls) {
        if (c.refused.empty()) continue;
        SCOPED_TRACE(std::string(c.name) + " refused");
        TA_errno = kUntouched;
        EXPECT_EQ(c.run(), c.refused);
        EXPECT_EQ(TA_errno, c.reportsRefusal ? kRefusal : kUntouched);
        EXPECT_EQ(host.argsOf(c.proc), c.args);
    }
    host.vanish();
    for (const Call &c : calls) {
        SCOPED_TRACE(std::string(c.name) + " lost");
        TA_errno = kUntouched;
        EXPECT_EQ(c.run(), c.lost);
        EXPECT_EQ(TA_errno, -1);
    }
}

}  // namespace requests_test

#endif
