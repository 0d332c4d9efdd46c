// Address-space cap for the death tests that need the system allocator to
// fail: they call it inside the child, after fork.
#ifndef TARNEL_TESTS_TDE_ADDRESS_SPACE_H
#define TARNEL_TESTS_TDE_ADDRESS_SPACE_H

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

// Caps the address space 64 MB above what is mapped now (ASan's shadow
// reservation is already counted), so any large request fails inside the
// system allocator.
inline void capAddressSpace() {
    long pages = 0;
    FILE *f = std::fopen("/proc/self/statm", "r");
    if (f == nullptr || std::fscanf(f, "%ld", &pages) != 1) std::_Exit(99);
    std::fclose(f);
    const rlim_t cap = static_cast<rlim_t>(pages) * sysconf(_SC_PAGESIZE) + (64u << 20);
    const rlimit r{cap, cap};
    if (setrlimit(RLIMIT_AS, &r) != 0) std::_Exit(98);
}

#endif
