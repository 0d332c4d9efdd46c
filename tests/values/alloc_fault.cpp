// Interposed API allocators; see alloc_fault.h.
#include "alloc_fault.h"

#include <cstdlib>

#include <tarnel/tnapi_values.h>

namespace alloc_fault {
namespace {

Counters g_counters;
bool g_armed = false;
unsigned g_pass = 0, g_fail = 0;

bool should_fail() {
    ++g_counters.calls;
    if (!g_armed) return false;
    if (g_pass > 0) return --g_pass, false;
    if (g_fail > 0) return --g_fail, true;
    return false;
}

void *counted(void *p) {
    if (p != nullptr) ++g_counters.live;
    return p;
}

}  // namespace

void arm(unsigned pass, unsigned fail) { g_armed = true, g_pass = pass, g_fail = fail; }
void disarm() { g_armed = false; }
Counters &counters() { return g_counters; }

}  // namespace alloc_fault

extern "C" {

void *TapiMalloc(size_t size) { return alloc_fault::should_fail() ? nullptr : alloc_fault::counted(std::malloc(size)); }

void *TapiCalloc(size_t count, size_t size) {
    return alloc_fault::should_fail() ? nullptr : alloc_fault::counted(std::calloc(count, size));
}

void *TapiRealloc(void *ptr, size_t size) {
    auto &c = alloc_fault::counters();
    ++c.reallocs;
    c.lastReallocSize = size;
    if (alloc_fault::should_fail()) return nullptr;
    if (ptr == nullptr) return alloc_fault::counted(std::malloc(size));
    return std::realloc(ptr, size != 0 ? size : 1);
}

void T_ApiFree(void *ptr) {
    if (ptr != nullptr) --alloc_fault::counters().live;
    std::free(ptr);
}

}  // extern "C"
