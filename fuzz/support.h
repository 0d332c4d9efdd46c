// Shared by the fuzz targets: XDR to and from byte buffers, the invariant
// check, the value types' routines, copies and releases by overload, and the
// seed writer each target runs in its seed mode.
#ifndef TARNEL_FUZZ_SUPPORT_H
#define TARNEL_FUZZ_SUPPORT_H

#include <rpc/rpc.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <tarnel/api_values.h>
#include <tarnel/tnapi_values.h>
#include <wire/value_types.h>

namespace fuzz {

using Bytes = std::vector<std::uint8_t>;

// A broken invariant is a crash: libFuzzer keeps the input that caused it.
[[noreturn]] inline void fail(const char *what, const char *file, int line) {
    std::fprintf(stderr, "fuzz invariant broken at %s:%d: %s\n", file, line, what);
    std::abort();
}
#define FUZZ_CHECK(cond) ((cond) ? (void)0 : ::fuzz::fail(#cond, __FILE__, __LINE__))

template <typename F> xdrproc_t proc(F *routine) {
    return reinterpret_cast<xdrproc_t>(reinterpret_cast<void (*)()>(routine));
}

// Runs a routine over *record of `size` bytes. The call goes through the RPC
// library, as every call of an xdrproc_t does in production: calling it from
// here would call a function through a pointer of another type.
inline bool run(XDR *xdrs, xdrproc_t routine, void *record, std::size_t size) {
    caddr_t p = static_cast<caddr_t>(record);  // not null: xdr_reference only passes it on
    return xdr_reference(xdrs, &p, static_cast<u_int>(size), routine);
}

// Decodes `size` bytes into *record; the bytes consumed, or -1 when the
// routine fails (the record may then hold a partial decode to free).
inline long decode(xdrproc_t routine, void *record, std::size_t recordSize, const std::uint8_t *data,
                   std::size_t size) {
    XDR xdrs;
    xdrmem_create(&xdrs, reinterpret_cast<char *>(const_cast<std::uint8_t *>(data)), static_cast<u_int>(size),
                  XDR_DECODE);
    const bool ok = run(&xdrs, routine, record, recordSize);
    const long used = ok ? static_cast<long>(xdr_getpos(&xdrs)) : -1;
    xdr_destroy(&xdrs);
    return used;
}

// The encoding of *record; false when the routine refuses it.
inline bool encode(xdrproc_t routine, const void *record, std::size_t recordSize, Bytes &out) {
    const unsigned long size = xdr_sizeof(routine, const_cast<void *>(record));
    out.assign(size + 4, 0);  // + 4: xdr_sizeof is 0 both for empty and for failure
    XDR xdrs;
    xdrmem_create(&xdrs, reinterpret_cast<char *>(out.data()), static_cast<u_int>(out.size()), XDR_ENCODE);
    const bool ok = run(&xdrs, routine, const_cast<void *>(record), recordSize);
    out.resize(xdr_getpos(&xdrs));
    xdr_destroy(&xdrs);
    return ok;
}

inline void release(xdrproc_t routine, void *record) { xdr_free(routine, static_cast<char *>(record)); }

// ---- Value types by overload ------------------------------------------------

#define FUZZ_ROUTINE_OF(T)                                                                                             \
    inline xdrproc_t routine_of(const T *) { return proc(&xdr_##T); }
TARNEL_WIRE_VALUE_TYPES(FUZZ_ROUTINE_OF)
#undef FUZZ_ROUTINE_OF
inline xdrproc_t routine_of(const int *) { return proc(&xdr_int); }
inline xdrproc_t routine_of(const u_int *) { return proc(&xdr_u_int); }

// Two values are the same when they encode to the same bytes.
template <typename T> bool same(const T &a, const T &b) {
    Bytes ea, eb;
    FUZZ_CHECK(encode(routine_of(&a), &a, sizeof a, ea));
    FUZZ_CHECK(encode(routine_of(&b), &b, sizeof b, eb));
    return ea == eb;
}

// Strings exactly: a null string is not the empty one.
inline bool same(const StringT &a, const StringT &b) {
    return a == nullptr ? b == nullptr : b != nullptr && std::strcmp(a, b) == 0;
}

// The public deep copy and release of each type that owns memory; types
// without them are plain values.
#define FUZZ_OWNED_TYPES(X)                                                                                            \
    X(T_StringsT, Strings)                                                                                             \
    X(T_UBytesT, UBytes)                                                                                               \
    X(T_MetricsT, Metrics)                                                                                             \
    X(T_IntsT, Ints)                                                                                                   \
    X(T_UIntsT, UInts)                                                                                                 \
    X(T_PointsT, Points)                                                                                               \
    X(T_ElementCatalogEntriesT, ElementCatalogEntries)                                                                 \
    X(T_FontsT, Fonts)                                                                                                 \
    X(T_CombinedFontsT, CombinedFonts)                                                                                 \
    X(T_TabT, Tab)                                                                                                     \
    X(T_TabsT, Tabs)                                                                                                   \
    X(T_AttributeDefT, AttributeDef)                                                                                   \
    X(T_AttributeDefsT, AttributeDefs)                                                                                 \
    X(T_AttributeT, Attribute)                                                                                         \
    X(T_AttributesT, Attributes)                                                                                       \
    X(T_TypedValT, Val)                                                                                                \
    X(T_PropValT, PropVal)                                                                                             \
    X(T_PropValsT, PropVals)                                                                                           \
    X(TextItemT, TextItem)                                                                                             \
    X(TextItemsT, TextItems)

#define FUZZ_COPY_OPS(T, stem)                                                                                         \
    inline T copy_of(const T &v) { return T_ApiCopy##stem(&v); }                                                       \
    inline void dispose(T &v) { T_ApiDeallocate##stem(&v); }
FUZZ_OWNED_TYPES(FUZZ_COPY_OPS)
#undef FUZZ_COPY_OPS
inline StringT copy_of(const StringT &s) { return T_ApiCopyString(s); }
inline void dispose(StringT &s) { T_ApiDeallocateString(&s); }
template <typename T> void dispose(T &) {}

template <typename T> constexpr bool owns_memory() {
    return requires(const T &v) { copy_of(v); };
}

// ---- Sample values ----------------------------------------------------------

// A decoding stream that never runs dry: every word is the next number of a
// small pseudo-random sequence (counts, kinds and integers alike), every byte
// a lower-case letter. Decoding a record from it gives a populated sample
// whose encoding is a valid seed.
class SampleStream {
  public:
    explicit SampleStream(unsigned variant) : state_(variant * 2654435761u + 1u) {
        static const XDR::xdr_ops ops = {getlong,  nullptr,   getbytes, nullptr, getpostn,
                                         setpostn, inlinebuf, destroy,  nullptr};
        xdrs_.x_op = XDR_DECODE;
        xdrs_.x_ops = &ops;
        xdrs_.x_private = reinterpret_cast<char *>(this);
    }
    XDR *xdrs() { return &xdrs_; }

  private:
    static SampleStream *self(XDR *x) { return reinterpret_cast<SampleStream *>(x->x_private); }
    unsigned next() {
        state_ = state_ * 1103515245u + 12345u;
        return (state_ >> 16) % 20;  // every value kind, and lists of up to 19
    }
    static bool_t getlong(XDR *x, long *v) {
        *v = self(x)->next();
        return TRUE;
    }
    static bool_t getbytes(XDR *x, char *buf, u_int n) {
        for (u_int i = 0; i < n; ++i) buf[i] = static_cast<char>('a' + self(x)->next());
        return TRUE;
    }
    static u_int getpostn(XDR *) { return 0; }
    static bool_t setpostn(XDR *, u_int) { return FALSE; }
    static int32_t *inlinebuf(XDR *, u_int) { return nullptr; }
    static void destroy(XDR *) {}

    XDR xdrs_{};
    unsigned state_;
};

// Valid encodings of a record of `size` bytes: the zeroed record, then
// samples, each at most `limit` bytes.
inline std::vector<Bytes> sample_encodings(xdrproc_t routine, std::size_t size, unsigned samples = 3,
                                           std::size_t limit = 4096) {
    std::vector<Bytes> out;
    std::vector<unsigned char> record(size == 0 ? 1 : size, 0);
    Bytes b;
    if (encode(routine, record.data(), size, b)) out.push_back(b);
    for (unsigned v = 1; v <= samples; ++v) {
        std::memset(record.data(), 0, record.size());
        SampleStream s(v);
        if (run(s.xdrs(), routine, record.data(), size) && encode(routine, record.data(), size, b) && b.size() <= limit)
            out.push_back(b);
        release(routine, record.data());
    }
    return out;
}

// Seed mode, the whole of each target's LLVMFuzzerInitialize: with
// TARNEL_FUZZ_WRITE_SEEDS=DIR set, the target writes its seeds into DIR with
// `write_seeds` and ends instead of fuzzing; otherwise it returns 0.
inline int seed_mode(void (*write_seeds)(const char *dir)) {
    if (const char *dir = std::getenv("TARNEL_FUZZ_WRITE_SEEDS")) {
        write_seeds(dir);
        std::exit(0);
    }
    return 0;
}

inline void write_seed(const char *dir, const std::string &name, const Bytes &bytes) {
    const std::string path = std::string(dir) + "/" + name;
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size()) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::fclose(f);
}

inline Bytes with_prefix(Bytes prefix, const Bytes &rest) {
    prefix.insert(prefix.end(), rest.begin(), rest.end());
    return prefix;
}

}  // namespace fuzz

#endif
