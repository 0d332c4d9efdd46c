// Strings as the value utilities see them: nullable, NUL-terminated, owned by
// whoever holds the pointer, always on the API allocators.
#include <cstring>

#include <tarnel/tnapi_values.h>

extern "C" {

void strCpy(char *dst, const char *src) {
    if (src == nullptr) {
        *dst = '\0';
        return;
    }
    std::memcpy(dst, src, std::strlen(src) + 1);
}

void api_free(void *pptr) {
    void **p = static_cast<void **>(pptr);
    T_ApiFree(*p);
    *p = nullptr;
}

int T_ApiStringLen(const char *s) { return s == nullptr ? 0 : static_cast<int>(std::strlen(s)); }

StringT T_ApiCopyString(const char *s) {
    // strlen, not T_ApiStringLen: the size must not pass through an int.
    const size_t n = s == nullptr ? 0 : std::strlen(s);
    auto *copy = static_cast<char *>(TapiMalloc(n + 1));
    if (copy == nullptr) return nullptr;
    strCpy(copy, s);
    return copy;
}

void T_ApiDeallocateString(StringT *s) {
    if (s == nullptr) return;
    api_free(s);
}

}  // extern "C"
