// Type-erased helpers for tests that iterate every record or procedure
// through its xdrproc_t: random filling, encoding, decoding, ownership.
#ifndef TARNEL_TESTS_WIRE_RECORDS_SUPPORT_H
#define TARNEL_TESTS_WIRE_RECORDS_SUPPORT_H

#include <cstdint>
#include <cstdlib>
#include <vector>

#include <wire/proctable.h>
#include "values_support.h"

namespace wiretest {

// A zeroed record of `size` bytes that releases what its routine decoded
// into it (xdr_free) before freeing itself.
class Held {
public:
    Held(xdrproc_t proc, std::size_t size)
        : proc_(proc), mem_(std::calloc(1, size == 0 ? 1 : size)) {}
    ~Held() { reset(); std::free(mem_); }
    Held(const Held &) = delete;
    Held &operator=(const Held &) = delete;
    void *get() const { return mem_; }
    void reset() { xdr_free(proc_, mem_); }

private:
    xdrproc_t proc_;
    void *mem_;
};

// Decodes a record from a stream of random data: small non-negative numbers
// (so counts, union kinds 0..25 and optional-pointer booleans stay small and
// valid) and non-zero bytes for string contents. Any routine run on it
// yields a fully populated random record. Same seed, same record.
bool random_fill(xdrproc_t proc, void *record, uint32_t seed);

bool encode_any(xdrproc_t proc, void *record, Bytes *out);
// Decodes the first `len` bytes (all by default) into a record and says
// whether the routine succeeded and, through `used`, how far it read.
bool decode_any(xdrproc_t proc, const Bytes &bytes, void *record,
                std::size_t len = SIZE_MAX, std::size_t *used = nullptr);

} // namespace wiretest

#endif
