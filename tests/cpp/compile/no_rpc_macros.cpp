// A C++ client's own names that macros of the RPC library would take over.
// Built without the RPC library's include path: tnapi.hpp must not need it.
#include <tarnel/tnapi.hpp>

struct Flags {
    bool isset(int bit) const { return (bits & (1u << bit)) != 0; }
    void setbit(int bit) { bits |= 1u << bit; }
    static int MIN(int a, int b) { return a < b ? a : b; }
    static int MAX(int a, int b) { return a < b ? b : a; }
    static int howmany(int n, int per) { return (n + per - 1) / per; }
    static int roundup(int n, int per) { return howmany(n, per) * per; }
    static std::size_t mem_alloc(std::size_t n) { return roundup(static_cast<int>(n), 8); }
    enum Answer { FALSE, TRUE };
    unsigned bits = 0;
};

int tarnel_no_rpc_macros(Flags &f) {
    f.setbit(3);
    return f.isset(3) ? Flags::roundup(Flags::MAX(Flags::MIN(5, 9), 1), 4) : Flags::FALSE;
}
