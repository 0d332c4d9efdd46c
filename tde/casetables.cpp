// The host encoding's case tables. They are generated at compile time from
// the ASCII rule and the list of upper-half letter pairs, so each cell
// follows from one source line and the two tables are inverse by
// construction.
#include <array>
#include <utility>

#include <tarnel/tde_strings.h>

#include "charmaps_internal.h"

namespace {

using Table = std::array<unsigned char, 256>;
using Pair = std::pair<unsigned char, unsigned char>;  // (capital, small)

// Upper-half letters with both cases. Small letters without a capital
// (0xA7, 0xDE, 0xDF, ...) stay the identity in both tables.
constexpr Pair kUpperHalfPairs[] = {
    {0x80, 0x8A}, {0x81, 0x8C}, {0x82, 0x8D}, {0x83, 0x8E}, {0x84, 0x96}, {0x85, 0x9A}, {0x86, 0x9F}, {0xAE, 0xBE},
    {0xAF, 0xBF}, {0xCB, 0x88}, {0xCC, 0x8B}, {0xCD, 0x9B}, {0xCE, 0xCF}, {0xD9, 0xD8}, {0xE5, 0x89}, {0xE6, 0x90},
    {0xE7, 0x87}, {0xE8, 0x91}, {0xE9, 0x8F}, {0xEA, 0x92}, {0xEB, 0x94}, {0xEC, 0x95}, {0xED, 0x93}, {0xEE, 0x97},
    {0xEF, 0x99}, {0xF1, 0x98}, {0xF2, 0x9C}, {0xF3, 0x9E}, {0xF4, 0x9D},
};

constexpr Table makeTable(bool toLower) {
    Table t{};
    for (int c = 0; c < 256; ++c) t[c] = static_cast<unsigned char>(c);
    for (int c = 'A'; c <= 'Z'; ++c) {
        const int small = c - 'A' + 'a';
        if (toLower)
            t[c] = static_cast<unsigned char>(small);
        else
            t[small] = static_cast<unsigned char>(c);
    }
    for (const Pair &p : kUpperHalfPairs) {
        if (toLower)
            t[p.first] = p.second;
        else
            t[p.second] = p.first;
    }
    return t;
}

constexpr bool inverseOnLetters(const Table &lower, const Table &upper) {
    for (int c = 0; c < 256; ++c) {
        if (lower[c] != c && upper[lower[c]] != c) return false;
        if (upper[c] != c && lower[upper[c]] != c) return false;
    }
    return true;
}

constexpr Table kToLower = makeTable(true);
constexpr Table kToUpper = makeTable(false);
static_assert(inverseOnLetters(kToLower, kToUpper), "case tables must be mutual inverses");

constexpr bool foldsAsciiOnly(const Table &lower) {
    for (int c = 0; c < 0x80; ++c)
        if (lower[c] != (c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c)) return false;
    return true;
}
static_assert(foldsAsciiOnly(kToLower), "below 0x80 the lower table is the ASCII rule");

}  // namespace

const unsigned char *const tarnel::charmaps::builtin_to_lower = kToLower.data();

extern "C" {
const unsigned char *TdeMToLower = kToLower.data();
const unsigned char *TdeMToUpper = kToUpper.data();
}
