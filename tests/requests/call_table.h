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
#include "values.h"

namespace requests_test {

using namespace tarnel_test;
// The test process is the library's client of the host.
using ServedHost = LibraryHost;

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
// Rendered without being released, so that records can nest them.
inline std::string quoted(const char *s) { return s != nullptr ? "\"" + std::string(s) + "\"" : "null"; }
inline std::string shown(StringT s) {
    std::string out = quoted(s);
    T_ApiDeallocateString(&s);
    return out;
}
// Numbers as (a,b,...).
template <typename... N> std::string tuple(N... n) {
    std::string out;
    ((out += (out.empty() ? "(" : ",") + std::to_string(n)), ...);
    return out + ")";
}
inline std::string shown(T_PointT p) { return tuple(p.x, p.y); }
inline std::string shown(RectT r) { return tuple(r.x, r.y, r.width, r.height); }
inline std::string shown(T_TextLocT l) { return tuple(l.objId, l.offset); }
inline std::string shown(T_ElementLocT l) { return tuple(l.parentId, l.childId, l.offset); }
inline std::string shown(T_TextRangeT v) { return shown(v.begin) + "-" + shown(v.end); }
inline std::string shown(T_ElementRangeT v) { return shown(v.begin) + "-" + shown(v.end); }
// A list as [a b ...]; "null" for the zero record (no array).
template <typename List, typename Item> std::string items(const List &l, Item item) {
    if (l.items == nullptr) return l.count == 0 ? "null" : "broken";
    std::string out = "[";
    for (u_int i = 0; i < l.count; i++) out += (i ? " " : "") + item(l.items[i]);
    return out + "]";
}
// A list the caller owns, shown, then released.
template <typename List, typename Item> std::string shown(List l, Item item, void (*release)(List *)) {
    std::string out = items(l, item);
    release(&l);
    return out;
}
inline std::string shown(T_StringsT v) { return shown(v, quoted, T_ApiDeallocateStrings); }

struct Call {
    const char *name;
    int proc;
    std::function<std::string()> run;  // calls the function and shows its result
    std::string args;                  // the argument's expected encoding
    std::string accepted;              // result when the host accepts ("": shown elsewhere)
    std::string refused;               // result when the host refuses with kRefusal ("": shown elsewhere)
    bool reportsRefusal;               // whether the refusal goes to TA_errno
    std::string lost;                  // result when no reply comes
    bool quiet = false;                // TA_errno untouched even when no reply comes
};

const std::string kRefused = std::to_string(kRefusal);

// The expected argument encoding of a record, in the transcript's hex form.
template <typename T> std::string sent(bool_t (*proc)(XDR *, T *), T record) {
    bool ok = false;
    std::string hex;
    static const char digits[] = "0123456789abcdef";
    for (uint8_t b : tv::encode(proc, record, &ok)) hex += {digits[b >> 4], digits[b & 15]};
    return ok ? hex : "?";
}
// A bare int or string argument, written in braces like a record in the
// rows below (a braced scalar is an error under one compiler).
inline std::string sent(bool_t (*proc)(XDR *, int *), std::initializer_list<int> value) {
    return sent(proc, *value.begin());
}
inline std::string sent(bool_t (*proc)(XDR *, StringT *), std::initializer_list<StringT> value) {
    return sent(proc, *value.begin());
}

// Rows named by their function: `args` is the call's argument list in
// parentheses, the trailing arguments the record the host must receive.
// clang-format off
// A status result: 0 accepted, the refusal's status, -1 when lost.
#define STATUS(fn, proc, args, xdr, ...) ROW(fn, proc, args, "0", kRefused, true, "-1", xdr, __VA_ARGS__)
// A function with no result: only TA_errno tells.
#define SET(fn, proc, args, xdr, ...) \
    Call{#fn, proc, [&] { fn args; return std::string("done"); }, sent(xdr, {__VA_ARGS__}), "done", "done", true, \
         "done"}
// A result whose refusal and loss give the same value.
#define GET(fn, proc, args, accepted, failed, xdr, ...) \
    ROW(fn, proc, args, accepted, failed, true, failed, xdr, __VA_ARGS__)
// A row in full: the result when accepted, when refused, whether the
// refusal reaches TA_errno, and the result when lost.
#define ROW(fn, proc, args, accepted, refused, reports, lost, xdr, ...) \
    Call{#fn, proc, [&] { return shown(fn args); }, sent(xdr, {__VA_ARGS__}), accepted, refused, reports, lost}
// The same for a function without an argument.
#define NOARG(fn, proc, accepted, refused, reports, lost) \
    Call{#fn, proc, [&] { return shown(fn()); }, "", accepted, refused, reports, lost}
// clang-format on

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
        EXPECT_EQ(TA_errno, c.quiet ? kUntouched : -1);
    }
}

}  // namespace requests_test

#endif
