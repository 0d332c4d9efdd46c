// Movable blocks with a lock count. The header and the data block are
// separate foundation allocations; a null handle is a broken precondition.
#include <cstdint>

#include <tarnel/tde_memory.h>

namespace {

inline T_HandleT *need(T_HandleT *h) {
    if (h == nullptr) TdeFail();
    return h;
}

}  // namespace

extern "C" {

T_HandleT *T_AllocHandle(unsigned int size, int flags) {
    if (size > TDE_MAX_ALLOC) TdeFail();
    auto *h = static_cast<T_HandleT *>(T_Alloc(sizeof(T_HandleT), flags));
    if (h == nullptr) return nullptr;
    h->data = T_Calloc(size, 1, flags);
    if (h->data == nullptr) {
        T_Free(h);
        return nullptr;
    }
    h->lockCount = 0;
    h->size = size;
    return h;
}

int T_FreeHandle(T_HandleT *h) {
    need(h);
    if (h->lockCount != 0) TdeEnforcement();
    T_Free(h->data);
    T_Free(h);
    return 0;
}

int TdeFreeHandle(T_HandleT **ph) {
    if (ph == nullptr) TdeFail();
    T_FreeHandle(*ph);
    *ph = reinterpret_cast<T_HandleT *>(static_cast<uintptr_t>(TDE_HANDLE_POISON));
    return 0;
}

void *T_LockHandle(T_HandleT *h) {
    ++need(h)->lockCount;
    return h->data;
}

unsigned int TdeHandleCountDec(unsigned int *count) {
    if (*count != 0) --*count;
    return *count;
}

unsigned int T_UnlockHandle(T_HandleT *h) { return TdeHandleCountDec(&need(h)->lockCount); }

T_HandleT *T_ReallocHandle(T_HandleT *h, unsigned int size, int flags) {
    need(h);
    if (h->lockCount != 0) TdeEnforcement();
    if (size == h->size) return h;
    void *data = T_Realloc(h->data, size, flags);
    if (data == nullptr) return nullptr;
    h->data = data;
    h->size = size;
    return h;
}

unsigned int T_GetHandleSize(T_HandleT *h) { return need(h)->size; }

int T_HandleEqual(T_HandleT *a, T_HandleT *b) {
    need(a);
    need(b);
    if (a->size != b->size) return 0;
    return T_PtrEqual(a->data, b->data, a->size);
}

int T_HandlesAreEqual(T_HandleT *a, T_HandleT *b) { return T_HandleEqual(a, b); }

int T_DuplicateHandle(T_HandleT *from, T_HandleT *to) {
    need(from);
    need(to);
    const unsigned int n = from->size < to->size ? from->size : to->size;
    return T_CopyPtr(from->data, to->data, n);
}

int T_ClearHandle(T_HandleT *h) {
    need(h);
    return T_ClearPtr(h->data, h->size);
}

}  // extern "C"
