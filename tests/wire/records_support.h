// Type-erased helpers for tests that run records through their xdrproc_t:
// encoding, decoding, ownership.
#ifndef TARNEL_TESTS_WIRE_RECORDS_SUPPORT_H
#define TARNEL_TESTS_WIRE_RECORDS_SUPPORT_H

#include <wire/proctable.h>

#include <cstdlib>
#include <type_traits>

#include "support/values.h"

namespace wiretest {

using namespace tv;

// A zeroed record that releases what its routine decoded into it.
class Held {
  public:
    Held(xdrproc_t proc, size_t size) : proc_(proc), mem_(std::calloc(1, size == 0 ? 1 : size)) {}
    ~Held() {
        xdr_free(proc_, mem_);
        std::free(mem_);
    }
    Held(const Held &) = delete;
    Held &operator=(const Held &) = delete;
    void *get() const { return mem_; }

  private:
    xdrproc_t proc_;
    void *mem_;
};

// Decodes the first len bytes (all by default); true if the routine succeeds.
inline bool decode_any(xdrproc_t proc, const Bytes &bytes, void *record, size_t len = SIZE_MAX) {
    XDR x;
    xdrmem_create(&x, reinterpret_cast<char *>(const_cast<uint8_t *>(bytes.data())),
                  static_cast<u_int>(len == SIZE_MAX ? bytes.size() : len), XDR_DECODE);
    const bool ok = proc(&x, record);
    xdr_destroy(&x);
    return ok;
}

}  // namespace wiretest

#endif
