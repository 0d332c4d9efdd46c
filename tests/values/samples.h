// Sample values (static, owning nothing) and deep comparison through the
// wire encoding, which visits every field of every value type.
#ifndef TARNEL_TESTS_VALUES_SAMPLES_H
#define TARNEL_TESTS_VALUES_SAMPLES_H

#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <tarnel/tnapi_values.h>

namespace samples {

// The nineteen kinds of the wire and some outside that range.
std::vector<int> all_kinds();
// Content in everything the kind owns; kind 19 points to a range.
T_TypedValT value(int kind);
T_FontsT fonts();
T_CombinedFontsT combined_fonts();
// One entry per kind of all_kinds(); every third is named by number 0.
T_PropValsT prop_vals();
TextItemsT text_items();

template <typename T> std::string wire(bool_t (*proc)(XDR *, T *), const T &v) {
    static char buffer[1 << 16];
    XDR x;
    xdrmem_create(&x, buffer, sizeof buffer, XDR_ENCODE);
    const bool ok = proc(&x, const_cast<T *>(&v));
    std::string out = ok ? std::string(buffer, xdr_getpos(&x)) : "<encoding failed>";
    xdr_destroy(&x);
    return out;
}

// Copies the sample, copies that copy, releases the first and checks that
// the second still holds the sample (the sanitizer build turns any shared
// memory into a use-after-free). Returns the second copy released twice.
template <typename T, typename Copy, typename Release>
T round_trip(const T &sample, Copy copy, Release release, bool_t (*proc)(XDR *, T *)) {
    T first = copy(&sample);
    T second = copy(&first);
    EXPECT_EQ(wire(proc, first), wire(proc, sample));
    release(&first);
    EXPECT_EQ(wire(proc, second), wire(proc, sample));
    release(&second);
    release(&second);
    release(static_cast<T *>(nullptr));
    return second;
}

}  // namespace samples

#endif
