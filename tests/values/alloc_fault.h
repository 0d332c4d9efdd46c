// Test-only control of the API allocators. This program defines TapiMalloc,
// TapiCalloc, TapiRealloc and T_ApiFree itself (alloc_fault.cpp), so the
// linker never takes the archive's own unit: the library's calls land here,
// pass through to the system allocator, are counted, and fail on demand.
#ifndef TARNEL_TESTS_VALUES_ALLOC_FAULT_H
#define TARNEL_TESTS_VALUES_ALLOC_FAULT_H

#include <cstddef>

#include <gtest/gtest.h>

namespace alloc_fault {

struct Counters {
    unsigned calls = 0;  // allocation requests (malloc, calloc, realloc)
    unsigned reallocs = 0;
    size_t lastReallocSize = 0;
    long live = 0;  // blocks allocated and not yet released
};

// Let `pass` allocation requests succeed, then fail the next `fail` ones.
void arm(unsigned pass, unsigned fail = 1);
void disarm();
Counters &counters();

// Arms for its lifetime; disarms on the way out, also when a check fails.
struct Scope {
    explicit Scope(unsigned pass, unsigned fail = 1) { arm(pass, fail); }
    ~Scope() { disarm(); }
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;
};

// Runs op with 0, 1, 2 ... successful requests before a single failure, up
// to the first run that meets no failure; returns how many runs failed one
// request. op must leave nothing allocated: each run must end with as many
// live blocks as it began with.
template <typename Op> unsigned each_failure_point(Op op) {
    for (unsigned pass = 0;; ++pass) {
        const unsigned before = counters().calls;
        const long live = counters().live;
        {
            Scope s(pass);
            op();
        }
        EXPECT_EQ(counters().live, live) << "leak after " << pass << " successful requests";
        if (counters().calls - before <= pass) return pass;
    }
}

}  // namespace alloc_fault

#endif
