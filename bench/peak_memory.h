// The process's peak resident size, for the benchmarks that report what a
// call adds to it.
#ifndef TARNEL_BENCH_PEAK_MEMORY_H
#define TARNEL_BENCH_PEAK_MEMORY_H

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

// A field of /proc/self/status, in kB.
inline long statusKb(const char *field) {
    FILE *f = std::fopen("/proc/self/status", "r");
    char line[256];
    long kb = -1;
    while (f != nullptr && std::fgets(line, sizeof line, f))
        if (std::strncmp(line, field, std::strlen(field)) == 0) kb = std::atol(line + std::strlen(field));
    if (f != nullptr) std::fclose(f);
    return kb;
}

// Hands free memory back and resets the peak to the present size (Linux:
// 5 to clear_refs), so the next peak is what the next call takes; false
// when the kernel kept the old peak.
inline bool resetPeak() {
    malloc_trim(0);
    if (FILE *f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
    return statusKb("VmHWM:") <= statusKb("VmRSS:") + 64;
}

#endif
