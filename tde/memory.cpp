// Foundation allocators and raw-memory helpers.
//
// Every request is checked against TDE_MAX_ALLOC before it reaches the system
// allocator. A null result always means exhaustion: zero-byte requests ask
// the system for one byte, because malloc(0) may return null and
// realloc(p, 0) may free p.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include <tarnel/tde_memory.h>

namespace {

inline size_t systemSize(unsigned int size) { return size != 0 ? size : 1; }

inline void *checkResult(void *block, int flags) {
    if (block == nullptr && (flags & TDE_ALLOC_FATAL) != 0) TdeFDSExit();
    return block;
}

inline void checkSize(uint64_t size) {
    if (size > TDE_MAX_ALLOC) TdeFail();
}

}  // namespace

extern "C" {

void *T_Alloc(unsigned int size, int flags) {
    checkSize(size);
    return checkResult(std::malloc(systemSize(size)), flags);
}

void *T_Calloc(unsigned int count, unsigned int size, int flags) {
    // The product is taken in 64 bits so a total that wraps in 32 cannot pass
    // as a small block.
    const uint64_t total = uint64_t{count} * size;
    checkSize(total);
    return checkResult(std::calloc(1, systemSize(static_cast<unsigned int>(total))), flags);
}

void *T_Realloc(void *ptr, unsigned int size, int flags) {
    checkSize(size);
    if (ptr == nullptr) return T_Calloc(1, size, flags);
    return checkResult(std::realloc(ptr, systemSize(size)), flags);
}

int TdeFree(void *pptr) {
    // pptr addresses a pointer variable of any object-pointer type; memcpy
    // reads and clears it without aliasing it as void *.
    if (pptr == nullptr) return -1;
    void *block;
    std::memcpy(&block, pptr, sizeof block);
    if (block == nullptr) return -1;
    std::free(block);
    block = nullptr;
    std::memcpy(pptr, &block, sizeof block);
    return 0;
}

int T_Free(void *ptr) { return TdeFree(&ptr); }

int T_PtrEqual(const void *a, const void *b, unsigned int n) {
    if (n == 0) return 1;
    if (a != nullptr && b != nullptr) return std::memcmp(a, b, n) == 0 ? 1 : 0;
    if (a == nullptr && b == nullptr) return 1;
    // A null pointer stands for n zero bytes.
    const auto *p = static_cast<const unsigned char *>(a != nullptr ? a : b);
    for (unsigned int i = 0; i < n; ++i)
        if (p[i] != 0) return 0;
    return 1;
}

int T_CopyPtr(const void *src, void *dst, unsigned int n) {
    if (src == nullptr || dst == nullptr) return -1;
    checkSize(n);
    std::memmove(dst, src, n);
    return 0;
}

int T_CopyBytes(const void *src, void *dst, unsigned int n) { return T_CopyPtr(src, dst, n); }

void *T_DuplicatePtr(const void *src, unsigned int size, int flags) {
    if (src == nullptr) return nullptr;
    void *copy = T_Alloc(size, flags);
    if (copy != nullptr) std::memcpy(copy, src, size);
    return copy;
}

int T_ClearPtr(void *p, unsigned int n) {
    if (p == nullptr) return -1;
    std::memset(p, 0, n);
    return 0;
}

}  // extern "C"
