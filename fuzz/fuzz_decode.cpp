// Every decoder of the protocol over hostile bytes. The first two bytes pick
// the routine: each procedure's result routine and every record of the
// catalogue (both generated from api_to_tn.x), then the hand-written value
// types. The rest is decoded into a zeroed record of exactly its size.
//
// A decode must never crash or leak, failed or not. A successful one must
// re-encode, and that encoding must decode again to the same bytes (XDR is
// canonical except where the decoder normalises: padding is not checked,
// a string ends at its first 0 byte when encoded, an unsigned char keeps
// the low byte of its word, a boolean is any non-zero word). A value type
// with a deep copy is also copied, compared and released.
#include <algorithm>
#include <set>

#include <wire/proctable.h>

#include "support.h"

namespace {

using namespace fuzz;
using tarnel::wire::procCount;
using tarnel::wire::procTable;
using tarnel::wire::recordCatalogue;
using tarnel::wire::recordCount;

struct Decoder {
    std::string name;
    xdrproc_t routine;
    std::size_t size;
    void (*copy_check)(const void *record);  // null for types without a deep copy
};

template <typename T> void copy_check(const void *record) {
    const T &decoded = *static_cast<const T *>(record);
    T copy = copy_of(decoded);
    FUZZ_CHECK(same(copy, decoded));
    dispose(copy);
}

template <typename T> Decoder value_decoder(const char *name) {
    void (*check)(const void *) = nullptr;
    if constexpr (owns_memory<T>()) check = copy_check<T>;
    return {name, routine_of(static_cast<const T *>(nullptr)), sizeof(T), check};
}

const std::vector<Decoder> &decoders() {
    static const std::vector<Decoder> table = [] {
        std::vector<Decoder> t;
        std::set<xdrproc_t> seen;
        auto add = [&](const Decoder &d) {
            if (d.size != 0 && seen.insert(d.routine).second) t.push_back(d);
        };
        for (std::size_t i = 0; i < procCount; ++i)
            add({procTable[i].resType, procTable[i].resProc, procTable[i].resSize, nullptr});
        for (std::size_t i = 0; i < recordCount; ++i)
            add({recordCatalogue[i].name, recordCatalogue[i].proc, recordCatalogue[i].size, nullptr});
            // Value types go last so that they replace nothing above (StringT is
            // a result type too): their copy check is looked up by routine.
#define FUZZ_VALUE(T) value_decoder<T>(#T),
        const Decoder values[] = {TARNEL_WIRE_VALUE_TYPES(FUZZ_VALUE)};
#undef FUZZ_VALUE
        for (const Decoder &v : values) {
            auto it = std::find_if(t.begin(), t.end(), [&](const Decoder &d) { return d.routine == v.routine; });
            if (it != t.end())
                it->copy_check = v.copy_check;
            else
                add(v);
        }
        return t;
    }();
    return table;
}

void write_seeds(const char *dir) {
    const auto &table = decoders();
    for (std::size_t i = 0; i < table.size(); ++i) {
        const Bytes selector = {static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
        int n = 0;
        for (const Bytes &b : sample_encodings(table[i].routine, table[i].size))
            write_seed(dir, table[i].name + "-" + std::to_string(n++), with_prefix(selector, b));
    }
}

void roundtrip(const Decoder &d, const void *record, std::size_t consumed) {
    Bytes first, second;
    FUZZ_CHECK(encode(d.routine, record, d.size, first));
    FUZZ_CHECK(first.size() <= consumed);  // normalising only ever shortens
    std::vector<unsigned char> again(d.size, 0);
    const long used = decode(d.routine, again.data(), d.size, first.data(), first.size());
    FUZZ_CHECK(used == static_cast<long>(first.size()));
    FUZZ_CHECK(encode(d.routine, again.data(), d.size, second));
    FUZZ_CHECK(first == second);
    release(d.routine, again.data());
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) { return seed_mode(write_seeds); }

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    if (size < 2) return -1;
    const auto &table = decoders();
    const Decoder &d = table[((data[0] << 8) | data[1]) % table.size()];
    data += 2;
    size -= 2;

    // Exactly the record's size on the heap, so a decoder that writes past
    // its record is caught.
    void *record = std::calloc(1, d.size);
    const long consumed = decode(d.routine, record, d.size, data, size);
    if (consumed >= 0) {
        roundtrip(d, record, static_cast<std::size_t>(consumed));
        if (d.copy_check != nullptr) d.copy_check(record);
    }
    // A failed decode leaves what it had decoded for the free operation.
    release(d.routine, record);
    std::free(record);
    return 0;
}
