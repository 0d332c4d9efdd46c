// The formatter: the engine Tde_doprnt, its bounded and unbounded front ends,
// the bounded output function and T_StrCatIntN.
//
// Each conversion is handed to the platform formatter on its own, always
// through the bounded snprintf, with exactly the one argument it consumes,
// fetched with the type that the conversion and its length letters name (as
// C does). Specifications whose type could be read two ways are never handed
// over: they are delivered as literal text instead.
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <cwchar>

#include <tarnel/tde_memory.h>
#include <tarnel/tde_sprint.h>
#include <tarnel/tde_strings.h>

#include "sprint_internal.h"

namespace {

// Sizes of the engine's local working areas; longer texts and
// specifications move to the heap.
constexpr int kTextLocal = 256;
constexpr int kSpecLocal = 64;

// TdePrintToStream results other than a text length.
constexpr int kUnreadable = -1;
constexpr int kRejected = -2;
constexpr int kNoMemory = -3;

// The argument type a specification consumes.
enum class Kind {
    Invalid,
    None,
    Int,
    Long,
    LLong,
    IntMax,
    Size,
    Ptrdiff,
    WInt,
    Double,
    LDouble,
    Str,
    WStr,
    Ptr,
    // %n stores
    StoreSChar,
    StoreShort,
    StoreInt,
    StoreLong,
    StoreLLong,
    StoreIntMax,
    StoreSize,
    StorePtrdiff,
};

enum class Len { None, HH, H, L, LL, J, Z, T };

inline bool isDigit(char c) { return c >= '0' && c <= '9'; }
inline bool isFlag(char c) { return c != 0 && std::strchr("-+ #0'I", c) != nullptr; }

// Reads the length letters at s[*i] (L and q mean ll, as for the platform).
Len readLength(const char *s, int *i) {
    Len len;
    switch (s[*i]) {
    case 'h': len = s[*i + 1] == 'h' ? Len::HH : Len::H; break;
    case 'l': len = s[*i + 1] == 'l' ? Len::LL : Len::L; break;
    case 'L':
    case 'q': ++*i; return Len::LL;
    case 'j': ++*i; return Len::J;
    case 'z':
    case 'Z': ++*i; return Len::Z;
    case 't': ++*i; return Len::T;
    default: return Len::None;
    }
    *i += (len == Len::HH || len == Len::LL) ? 2 : 1;
    return len;
}

Kind integerKind(Len len) {
    switch (len) {
    case Len::None:
    case Len::HH:
    case Len::H: return Kind::Int;
    case Len::L: return Kind::Long;
    case Len::LL: return Kind::LLong;
    case Len::J: return Kind::IntMax;
    case Len::Z: return Kind::Size;
    case Len::T: return Kind::Ptrdiff;
    }
    return Kind::Invalid;
}

Kind storeKind(Len len) {
    switch (len) {
    case Len::None: return Kind::StoreInt;
    case Len::HH: return Kind::StoreSChar;
    case Len::H: return Kind::StoreShort;
    case Len::L: return Kind::StoreLong;
    case Len::LL: return Kind::StoreLLong;
    case Len::J: return Kind::StoreIntMax;
    case Len::Z: return Kind::StoreSize;
    case Len::T: return Kind::StorePtrdiff;
    }
    return Kind::Invalid;
}

// Classifies spec[0, n): '%', flags, width (digits or '*'), optional '.' and
// precision (digits or '*'), length letters, conversion. Anything else is
// Invalid: the platform formatter might read an argument of another type.
Kind classify(const char *spec, int n) {
    int i = 1;
    while (isFlag(spec[i])) ++i;
    if (spec[i] == '*')
        ++i;
    else
        while (isDigit(spec[i])) ++i;
    if (spec[i] == '.') {
        ++i;
        if (spec[i] == '*')
            ++i;
        else
            while (isDigit(spec[i])) ++i;
    }
    const Len len = readLength(spec, &i);
    if (i != n - 1) return Kind::Invalid;
    switch (spec[i]) {
    case 'd':
    case 'i':
    case 'o':
    case 'u':
    case 'x':
    case 'X': return integerKind(len);
    case 'c': return len == Len::None ? Kind::Int : len == Len::L ? Kind::WInt : Kind::Invalid;
    case 's': return len == Len::None ? Kind::Str : len == Len::L ? Kind::WStr : Kind::Invalid;
    case 'p': return len == Len::None ? Kind::Ptr : Kind::Invalid;
    case '%': return len == Len::None ? Kind::None : Kind::Invalid;
    case 'n': return storeKind(len);
    case 'f':
    case 'e':
    case 'E':
    case 'g':
    case 'G': return len == Len::None || len == Len::L ? Kind::Double : len == Len::LL ? Kind::LDouble : Kind::Invalid;
    default: return Kind::Invalid;
    }
}

// One fetched argument.
struct Arg {
    Kind kind;
    union {
        int i;
        long l;
        long long ll;
        intmax_t im;
        size_t z;
        ptrdiff_t t;
        wint_t wc;
        double d;
        long double ld;
        const char *s;
        const wchar_t *ws;
        const void *p;
    };
};

void fetch(Kind kind, va_list *args, Arg &a) {
    a.kind = kind;
    switch (kind) {
    case Kind::Int: a.i = va_arg(*args, int); break;
    case Kind::Long: a.l = va_arg(*args, long); break;
    case Kind::LLong: a.ll = va_arg(*args, long long); break;
    case Kind::IntMax: a.im = va_arg(*args, intmax_t); break;
    case Kind::Size: a.z = va_arg(*args, size_t); break;
    case Kind::Ptrdiff: a.t = va_arg(*args, ptrdiff_t); break;
    case Kind::WInt: a.wc = va_arg(*args, wint_t); break;
    case Kind::Double: a.d = va_arg(*args, double); break;
    case Kind::LDouble: a.ld = va_arg(*args, long double); break;
    case Kind::Str:
        a.s = va_arg(*args, const char *);
        if (a.s == nullptr) a.s = "";
        break;
    case Kind::WStr:
        a.ws = va_arg(*args, const wchar_t *);
        if (a.ws == nullptr) a.ws = L"";
        break;
    case Kind::Ptr: a.p = va_arg(*args, const void *); break;
    default: a.i = 0; break;
    }
}

// snprintf of one conversion; its result (the full length, or negative).
// `spec` is never the caller's text: the parser built it from one checked
// conversion, so a format that is not a literal is safe here.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#pragma GCC diagnostic ignored "-Wformat-security"
int format(char *buf, int cap, const char *spec, const Arg &a) {
    const size_t n = static_cast<size_t>(cap);
    switch (a.kind) {
    case Kind::Int: return std::snprintf(buf, n, spec, a.i);
    case Kind::Long: return std::snprintf(buf, n, spec, a.l);
    case Kind::LLong: return std::snprintf(buf, n, spec, a.ll);
    case Kind::IntMax: return std::snprintf(buf, n, spec, a.im);
    case Kind::Size: return std::snprintf(buf, n, spec, a.z);
    case Kind::Ptrdiff: return std::snprintf(buf, n, spec, a.t);
    case Kind::WInt: return std::snprintf(buf, n, spec, a.wc);
    case Kind::Double: return std::snprintf(buf, n, spec, a.d);
    case Kind::LDouble: return std::snprintf(buf, n, spec, a.ld);
    case Kind::Str: return std::snprintf(buf, n, spec, a.s);
    case Kind::WStr: return std::snprintf(buf, n, spec, a.ws);
    case Kind::Ptr: return std::snprintf(buf, n, spec, a.p);
    case Kind::None: return std::snprintf(buf, n, spec);
    default: return -1;
    }
}
#pragma GCC diagnostic pop

// Stores the count for %n through a pointer of the size its letters name.
void store(Kind kind, va_list *args, int count) {
    switch (kind) {
    case Kind::StoreSChar: *va_arg(*args, signed char *) = static_cast<signed char>(count); break;
    case Kind::StoreShort: *va_arg(*args, short *) = static_cast<short>(count); break;
    case Kind::StoreInt: *va_arg(*args, int *) = count; break;
    case Kind::StoreLong: *va_arg(*args, long *) = count; break;
    case Kind::StoreLLong: *va_arg(*args, long long *) = count; break;
    case Kind::StoreIntMax: *va_arg(*args, intmax_t *) = count; break;
    case Kind::StoreSize: *va_arg(*args, size_t *) = static_cast<size_t>(count); break;
    case Kind::StorePtrdiff: *va_arg(*args, ptrdiff_t *) = count; break;
    default: break;
    }
}

// Reads an unsigned decimal at *s, saturating at INT_MAX.
int readNumber(const char **s) {
    long long v = 0;
    while (isDigit(**s)) {
        v = v * 10 + (**s - '0');
        if (v > INT_MAX) v = INT_MAX;
        ++*s;
    }
    return static_cast<int>(v);
}

// The conversion being worked on: a local area, or heap for a long one.
struct SpecBuf {
    char local[kSpecLocal];
    char *heap = nullptr;
    int heapSize = 0;

    // Room for n bytes; null when memory is short.
    char *reserve(long long n) {
        if (n <= kSpecLocal) return local;
        if (n <= heapSize) return heap;
        if (n > static_cast<long long>(TDE_MAX_ALLOC)) return nullptr;
        void *p = heap ? T_Realloc(heap, static_cast<unsigned int>(n), 0) : T_Alloc(static_cast<unsigned int>(n), 0);
        if (p == nullptr) return nullptr;
        heap = static_cast<char *>(p);
        heapSize = static_cast<int>(n);
        return heap;
    }
    ~SpecBuf() { T_Free(heap); }
};

int clampCount(long long count) { return count > INT_MAX ? INT_MAX : static_cast<int>(count); }

}  // namespace

extern "C" {

int outs(void *ctx, const char *text, int n) {
    auto *c = static_cast<TdeOutsCtxT *>(ctx);
    int k = n < c->room ? n : c->room;
    if (k <= 0) return 0;
    T_CopyPtr(text, c->pos, static_cast<unsigned int>(k));
    c->pos += k;
    c->room -= k;
    return k;
}

int TdeTextBufReserve(TdeTextBufT *buf, long long size) {
    if (size <= buf->capacity) return 0;
    if (size > static_cast<long long>(TDE_MAX_ALLOC)) return -1;
    const auto n = static_cast<unsigned int>(size);
    void *p = buf->heap ? T_Realloc(buf->heap, n, 0) : T_Alloc(n, 0);
    if (p == nullptr) return -1;
    buf->heap = buf->data = static_cast<char *>(p);
    buf->capacity = static_cast<int>(n);
    return 0;
}

void TdeTextBufFree(TdeTextBufT *buf) {
    if (buf->heap == nullptr) return;
    T_Free(buf->heap);
    buf->heap = nullptr;
    buf->data = nullptr;
    buf->capacity = 0;
}

int TdeSpecLength(const char *format) {
    const size_t k = std::strcspn(format + 1, TDE_CONVERSIONS);
    return format[1 + k] == 0 ? -1 : static_cast<int>(k + 2);
}

const char *copyformat(char *spec, const char *format) {
    const int n = TdeSpecLength(format);
    std::memcpy(spec, format, static_cast<size_t>(n));
    spec[n] = 0;
    return format + n;
}

int getStringSize(const char *spec, va_list *args) {
    va_list peek;
    va_copy(peek, *args);
    const char *s = va_arg(peek, const char *);
    va_end(peek);
    // Every flag is skipped, so that a width after any of them counts.
    const char *p = spec + 1;
    while (isFlag(*p)) ++p;
    const int width = readNumber(&p);
    long long len;
    if (*p == '.' && isDigit(p[1])) {
        ++p;
        // With a precision the argument need not be terminated within reach.
        const int prec = readNumber(&p);
        len = s ? static_cast<long long>(strnlen(s, static_cast<size_t>(prec))) : 0;
    } else {
        len = s ? static_cast<long long>(std::strlen(s)) : 0;
    }
    return clampCount(len > width ? len : width);
}

int TdePrintToStream(TdeTextBufT *buf, const char *spec, int specLength, va_list *args) {
    const Kind kind = classify(spec, specLength);
    if (kind == Kind::Invalid || kind >= Kind::StoreSChar) return kUnreadable;
    Arg a;
    fetch(kind, args, a);
    int r = format(buf->data, buf->capacity, spec, a);
    if (r >= buf->capacity) {
        // Measured by the bounded call: grow to the full length and format again.
        if (TdeTextBufReserve(buf, static_cast<long long>(r) + 1) != 0) return kNoMemory;
        r = format(buf->data, buf->capacity, spec, a);
    }
    return r < 0 ? kRejected : r;
}

int Tde_doprnt(TdeOutFuncT out, void *ctx, const char *format, va_list args) {
    va_list ap;
    va_copy(ap, args);
    char textLocal[kTextLocal];
    TdeTextBufT text = {textLocal, kTextLocal, nullptr};
    SpecBuf specBuf;
    long long count = 0;
    const char *p = format ? format : "";

    for (;;) {
        const char *pct = std::strchr(p, '%');
        const size_t run = pct ? static_cast<size_t>(pct - p) : std::strlen(p);
        count += out(ctx, p, static_cast<int>(run));
        if (pct == nullptr) break;

        const int specLen = TdeSpecLength(pct);
        if (specLen < 0) {
            // The format ends inside a specification: deliver it as it stands.
            count += out(ctx, pct, static_cast<int>(std::strlen(pct)));
            break;
        }
        p = pct + specLen;
        const Kind kind = classify(pct, specLen);
        if (kind == Kind::Invalid) {
            count += out(ctx, pct, specLen);
            continue;
        }
        int stars = 0;
        for (int i = 1; i < specLen; ++i) stars += pct[i] == '*';
        char *spec = specBuf.reserve(specLen + 1 + static_cast<long long>(stars) * TDE_WILD_DIGITS);
        if (spec == nullptr) break;
        copyformat(spec, pct);
        const int n = stars ? TdeProcessWildFieldWidth(spec, &ap) : specLen;

        if (kind >= Kind::StoreSChar) {
            store(kind, &ap, clampCount(count));
            continue;
        }
        if (kind == Kind::Str && TdeTextBufReserve(&text, static_cast<long long>(getStringSize(spec, &ap)) + 1) != 0)
            break;
        const int r = TdePrintToStream(&text, spec, n, &ap);
        if (r == kNoMemory) break;
        if (r < 0) continue;  // the formatter rejected it: no text
        const void *nul = std::memchr(text.data, 0, static_cast<size_t>(r));
        const int k = nul ? static_cast<int>(static_cast<const char *>(nul) - text.data) : r;
        count += out(ctx, text.data, k);
    }
    va_end(ap);
    TdeTextBufFree(&text);
    return clampCount(count);
}

int TdeVSnprintf(char *buf, int size, const char *format, va_list args) {
    // Without room for a terminator nothing is stored, but the format still
    // runs so that its arguments are consumed and %n stores happen.
    const bool room = buf != nullptr && size >= 1;
    TdeOutsCtxT ctx = {buf, room ? size - 1 : -1};
    const int count = Tde_doprnt(outs, &ctx, format, args);
    if (room) *ctx.pos = 0;
    return count;
}

int T_Sprintf(char *buf, const char *format, ...) {
    va_list ap;
    va_start(ap, format);
    const int count = TdeVSnprintf(buf, 0x7FFFFFFF, format, ap);
    va_end(ap);
    return count;
}

int T_StrCatIntN(char *dst, int i, int size) {
    char text[16];
    T_Sprintf(text, "%d", i);
    return T_StrCatN(dst, text, size);
}

}  // extern "C"
