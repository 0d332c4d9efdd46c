// The foundation string library. Null strings read as "", null targets make
// a call do nothing, bytes compare unsigned, and case folding goes through
// *TdeMToLower (loaded once per call so a swapped table takes effect at the
// next call). Comparison and copy loops are single passes over the bytes.
#include <cstdlib>
#include <cstring>

#include <tarnel/tde_memory.h>
#include <tarnel/tde_strings.h>

#include "charmaps_internal.h"

namespace {

using U = unsigned char;

// Stands in for every null string that is only read.
const U emptyString[1] = {0};

inline const U *in(const char *s) { return s != nullptr ? reinterpret_cast<const U *>(s) : emptyString; }
inline U *out(char *s) { return reinterpret_cast<U *>(s); }

inline int length(const U *s) { return static_cast<int>(std::strlen(reinterpret_cast<const char *>(s))); }

// Shared loops; Fold maps a byte to the value that is compared.
struct Exact {
    int operator()(U c) const { return c; }
};
struct Folded {
    const U *lower = TdeMToLower;
    int operator()(U c) const { return lower[c]; }
};

// A-Z to a-z, every other byte as it is: the built-in table below 0x80.
inline U asciiFold(U c) { return static_cast<U>(c + (static_cast<U>(c - 'A') < 26 ? 32 : 0)); }

template <class Fold> inline int cmp(const U *a, const U *b, Fold f) {
    while (*a != 0 && f(*a) == f(*b)) ++a, ++b;
    return f(*a) - f(*b);
}

template <class Fold> inline int cmpN(const U *a, const U *b, int n, Fold f) {
    if (n == 0) return 0;
    // Stops at index n - 1 at the latest; any n below 1 compares index 0 only.
    for (int k = 1; k < n && *a != 0 && f(*a) == f(*b); ++k) ++a, ++b;
    return f(*a) - f(*b);
}

template <class Fold> inline int equal(const U *a, const U *b, Fold f) {
    for (;; ++a, ++b) {
        if (f(*a) != f(*b)) return 0;
        if (*a == 0 || *b == 0) return *a == *b ? 1 : 0;
    }
}

template <class Fold> inline int equalN(const U *a, const U *b, int n, Fold f) {
    if (n <= 0 || a == b) return 1;
    for (int k = 0; k < n; ++k, ++a, ++b) {
        if (f(*a) != f(*b)) return 0;
        if (*a == 0) return 1;
    }
    return 1;
}

template <class Fold> inline int prefix(const U *s, const U *p, Fold f) {
    for (; *p != 0; ++s, ++p)
        if (*s == 0 || f(*s) != f(*p)) return 0;
    return 1;
}

template <class Fold> inline int suffix(const char *s, const char *suf, Fold f) {
    const U *x = in(suf);
    if (*x == 0) return 1;
    if (s == nullptr) return 0;
    const U *y = in(s);
    const int ls = length(y), lx = length(x);
    if (ls < lx) return 0;
    return equal(y + (ls - lx), x, f);
}

}  // namespace

extern "C" {

/* ---- Creation and length ---- */

int T_StrLen(const char *s) { return s != nullptr ? length(in(s)) : 0; }

char *T_StrNew(int n) {
    if (n < 0) n = 0;
    // Too long for any single block: short of memory rather than a broken
    // precondition, since no string function is fatal.
    if (static_cast<unsigned int>(n) >= TDE_MAX_ALLOC) return nullptr;
    return static_cast<char *>(T_Calloc(static_cast<unsigned int>(n) + 1, 1, 0));
}

char *T_StrCopyString(const char *s) {
    if (s == nullptr) return nullptr;
    const size_t n = std::strlen(s);
    if (n >= TDE_MAX_ALLOC) return nullptr;
    auto *copy = static_cast<char *>(T_Calloc(static_cast<unsigned int>(n) + 1, 1, 0));
    if (copy != nullptr) std::memcpy(copy, s, n + 1);
    return copy;
}

/* ---- Copying and appending ---- */

void T_StrCpy(char *dst, const char *src) {
    if (dst == nullptr) return;
    U *d = out(dst);
    const U *s = in(src);
    while ((*d++ = *s++) != 0) {}
}

int T_StrCpyN(char *dst, const char *src, int size) {
    // A size below 1 leaves no room even for the terminator: write nothing.
    if (dst == nullptr || size < 1) return 0;
    U *d = out(dst);
    const U *s = in(src);
    int k = 0;
    for (; k < size - 1 && s[k] != 0; ++k) d[k] = s[k];
    d[k] = 0;
    return k;
}

int T_StrCat(char *dst, const char *src) {
    if (dst == nullptr) return 0;
    U *d = out(dst);
    int len = 0;
    while (d[len] != 0) ++len;
    for (const U *s = in(src); *s != 0; ++s) d[len++] = *s;
    d[len] = 0;
    return len;
}

int T_StrCatN(char *dst, const char *src, int size) {
    if (dst == nullptr) return 0;
    U *d = out(dst);
    const U *s = in(src);
    const long long cap = static_cast<long long>(size) - 1;
    int len = 0;
    while (d[len] != 0) ++len;
    if (*s == 0 || cap <= len) return len;  // full already: never shorten
    while (*s != 0 && len < cap) d[len++] = *s++;
    d[len] = 0;
    return len;
}

int T_StrNCatN(char *dst, const char *src, int count, int size) {
    if (dst == nullptr) return 0;
    U *d = out(dst);
    const U *s = in(src);
    const long long cap = static_cast<long long>(size) - 1;
    int len = 0;
    while (len < cap && d[len] != 0) ++len;
    // Both the walk and the append draw on the one budget of size - 1.
    for (; count > 0 && len < cap && *s != 0; --count) d[len++] = *s++;
    d[len] = 0;
    return len;
}

int T_StrCatCharN(char *dst, int c, int size) {
    if (dst == nullptr) return 0;
    U *d = out(dst);
    int len = 0;
    while (d[len] != 0) ++len;
    if (len >= static_cast<long long>(size) - 1) return len;
    d[len] = static_cast<U>(c);
    d[len + 1] = 0;
    return len + 1;
}

void T_StrTrunc(char *s, int i) {
    if (s != nullptr && i >= 0) s[i] = 0;
}

/* ---- Comparison ---- */

int T_StrEqual(const char *a, const char *b) { return equal(in(a), in(b), Exact{}); }
int T_StrIEqual(const char *a, const char *b) { return equal(in(a), in(b), Folded{}); }
int T_StrEqualN(const char *a, const char *b, int n) { return equalN(in(a), in(b), n, Exact{}); }
int T_StrIEqualN(const char *a, const char *b, int n) { return equalN(in(a), in(b), n, Folded{}); }

int T_StrSIEqual(const char *a, const char *b) {
    const U *x = in(a), *y = in(b);
    if (x == y) return 1;
    const Folded f;
    for (;; ++x, ++y) {
        while (*x == ' ' || *x == '-') ++x;
        while (*y == ' ' || *y == '-') ++y;
        if (*x == 0 || *y == 0 || f(*x) != f(*y)) break;
    }
    return f(*x) == f(*y) ? 1 : 0;
}

int T_StrCmp(const char *a, const char *b) { return cmp(in(a), in(b), Exact{}); }
int T_StrICmp(const char *a, const char *b) {
    const Folded f;
    if (f.lower != tarnel::charmaps::builtin_to_lower) return cmp(in(a), in(b), f);
    // Block by block over the bytes both strings still have (found by
    // strnlen, so nothing past either end is read): a block that is ASCII and
    // equal after the arithmetic fold, which the compiler vectorises, is
    // passed whole; any other block goes through the table byte by byte.
    constexpr size_t kBlock = 64;
    const U *x = in(a), *y = in(b);
    for (;;) {
        const size_t n = strnlen(reinterpret_cast<const char *>(y), strnlen(reinterpret_cast<const char *>(x), kBlock));
        U differs = 0;
        for (size_t i = 0; i < n; ++i) differs |= static_cast<U>((asciiFold(x[i]) ^ asciiFold(y[i])) | ((x[i] | y[i]) & 0x80));
        if (differs != 0)
            for (size_t i = 0; i < n; ++i)
                if (f(x[i]) != f(y[i])) return f(x[i]) - f(y[i]);
        x += n, y += n;
        if (n < kBlock) return f(*x) - f(*y);  // one of them ends here
    }
}

int T_StrMCmp(const char *a, const char *b) {
    const int r = T_StrICmp(a, b);
    return r != 0 ? r : T_StrCmp(a, b);
}

int T_StrQsortCmp(const void *pa, const void *pb) {
    return T_StrMCmp(*static_cast<const char *const *>(pa), *static_cast<const char *const *>(pb));
}

int T_StrCmpN(const char *a, const char *b, int n) { return cmpN(in(a), in(b), n, Exact{}); }
int T_StrICmpN(const char *a, const char *b, int n) { return cmpN(in(a), in(b), n, Folded{}); }

/* ---- Prefixes, suffixes and searching ---- */

int T_StrPrefix(const char *s, const char *p) { return prefix(in(s), in(p), Exact{}); }
int T_StrIPrefix(const char *s, const char *p) { return prefix(in(s), in(p), Folded{}); }

int T_StrPrefixN(const char *s, const char *p, int n) {
    const U *x = in(s), *y = in(p);
    for (int k = 0; k < n && y[k] != 0; ++k)
        if (x[k] != y[k]) return 0;
    return 1;
}

int T_StrSuffix(const char *s, const char *suf) { return suffix(s, suf, Exact{}); }
int T_StrISuffix(const char *s, const char *suf) { return suffix(s, suf, Folded{}); }

char *T_StrChr(const char *s, int c) {
    if (s == nullptr || c <= 0 || c > 255) return nullptr;
    for (const U *p = in(s); *p != 0; ++p)
        if (*p == c) return const_cast<char *>(reinterpret_cast<const char *>(p));
    return nullptr;
}

char *T_StrRChr(const char *s, int c) {
    if (s == nullptr || c <= 0 || c > 255) return nullptr;
    const U *base = in(s);
    for (const U *p = base + length(base); p != base;)
        if (*--p == c) return const_cast<char *>(reinterpret_cast<const char *>(p));
    return nullptr;
}

int T_StrSubString(const char *s, const char *sub) {
    if (s == nullptr || sub == nullptr || *s == 0) return -1;
    const U *x = in(s), *y = in(sub);
    for (int i = 0; x[i] != 0; ++i) {
        int k = 0;
        while (y[k] != 0 && x[i + k] == y[k]) ++k;
        if (y[k] == 0) return i;
    }
    return -1;
}

/* ---- In-place editing ---- */

void T_StrStripTrailingSpaces(char *s) {
    if (s == nullptr) return;
    int len = length(out(s));
    while (len > 0 && s[len - 1] == ' ') --len;
    s[len] = 0;
}

void T_StrStripLeadingSpaces(char *s) {
    if (s == nullptr) return;
    const char *p = s;
    while (*p == ' ') ++p;
    if (p != s) std::memmove(s, p, std::strlen(p) + 1);
}

void T_StrStrip(char *s, const char *set) {
    if (s == nullptr || set == nullptr || *set == 0) return;
    bool drop[256] = {};
    for (const U *p = in(set); *p != 0; ++p) drop[*p] = true;
    U *w = out(s);
    for (const U *r = w; *r != 0; ++r)
        if (!drop[*r]) *w++ = *r;
    *w = 0;
}

void T_StrReverse(char *s, int n) {
    if (s == nullptr || n < 2) return;
    const int len = length(out(s));
    int i = 0, j = (n < len ? n : len) - 1;
    while (i < j) {
        const char t = s[i];
        s[i++] = s[j];
        s[j--] = t;
    }
}

/* ---- Conversion ---- */

int T_StrAlphaToInt(const char *s) { return s != nullptr ? std::atoi(s) : 0; }
double T_StrAlphaToReal(const char *s) { return s != nullptr ? std::atof(s) : 0.0; }

}  // extern "C"
