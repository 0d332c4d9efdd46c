// The host encoding's fixed tables that follow from simple rules (identity,
// hexadecimal digits, property words) and the exported pointers to them and
// to the ANSI grids. Rule tables are built at compile time so they cannot
// drift from their definitions.
#include <tarnel/tde_charmaps.h>

#include <array>
#include <initializer_list>

#include "charmaps_internal.h"

namespace {

using ByteTable = std::array<unsigned char, 256>;
using PropTable = std::array<unsigned short, 256>;

constexpr ByteTable make_identity() {
    ByteTable t{};
    for (int c = 0; c < 256; ++c) t[c] = static_cast<unsigned char>(c);
    return t;
}

constexpr ByteTable make_hex_dtoa() {
    ByteTable t{};
    const char digits[] = "0123456789ABCDEF";
    for (int d = 0; d < 16; ++d) t[d] = static_cast<unsigned char>(digits[d]);
    return t;
}

constexpr ByteTable make_hex_atod() {
    ByteTable t{};
    for (int d = 0; d < 10; ++d) t['0' + d] = static_cast<unsigned char>(d);
    for (int d = 0; d < 6; ++d) {
        t['A' + d] = static_cast<unsigned char>(10 + d);
        t['a' + d] = static_cast<unsigned char>(10 + d);
    }
    return t;
}

// Bits of the property word.
enum : unsigned short {
    kBreakOrTab = 0x0001,
    kCapital = 0x0002,
    kSmall = 0x0004,
    kLetter = 0x0008,
    kDigit = 0x0010,
    kHexDigit = 0x0020,
    kWhite = 0x0040,
    kSpace = 0x0080,
    kWord = 0x0100,
    kLineBreak = 0x0200,
    kSentenceEnd = 0x0400,
    kAlnum15 = 0x0800,
    kLowControl = 0x1000,
    kTextStart = 0x2000,
    kConsonant = 0x4000,
    kQuote = 0x8000,
};

struct Span {
    int lo, hi;  // inclusive
};

constexpr void mark(PropTable &t, unsigned short bits, std::initializer_list<Span> spans) {
    for (Span s : spans)
        for (int c = s.lo; c <= s.hi; ++c) t[c] |= bits;
}

constexpr PropTable make_props() {
    PropTable t{};
    mark(t, kBreakOrTab, {{0x08, 0x0B}});
    mark(t, kCapital, {{'A', 'Z'}, {0x80, 0x86}, {0xAE, 0xAF}, {0xCB, 0xCE}, {0xD9, 0xD9}, {0xE5, 0xEF}, {0xF1, 0xF4}});
    mark(t, kSmall, {{'a', 'z'}, {0x87, 0x9F}, {0xA7, 0xA7}, {0xBE, 0xBF}, {0xCF, 0xCF}, {0xD8, 0xD8}});
    // Every letter is also a word character and counts for the alphanumeric bit.
    for (auto &w : t)
        if (w & (kCapital | kSmall)) w |= kLetter | kWord | kAlnum15;
    mark(t, kDigit | kHexDigit | kWord | kAlnum15, {{'0', '9'}});
    mark(t, kHexDigit, {{'A', 'F'}, {'a', 'f'}});
    mark(t, kWhite | kTextStart, {{0x08, 0x0B}, {0x10, 0x14}, {0x20, 0x20}});
    mark(t, kSpace, {{0x20, 0x20}});
    mark(t, kWord, {{0x04, 0x06}, {0x1B, 0x1C}, {0x5F, 0x5F}});
    mark(t, kLineBreak, {{0x09, 0x0B}});
    mark(t, kSentenceEnd, {{0x21, 0x21}, {0x2E, 0x2E}, {0x3F, 0x3F}});
    mark(t, kAlnum15, {{0x15, 0x15}});
    mark(t, kLowControl, {{0x01, 0x06}});
    mark(t, kTextStart,
         {{0x00, 0x00}, {0x22, 0x22}, {0x28, 0x28}, {0x3C, 0x3C}, {0x5B, 0x5B}, {0x7B, 0x7B}, {0xD2, 0xD2}});
    for (int c = 'A'; c <= 'Z'; ++c) {
        if (c == 'A' || c == 'E' || c == 'I' || c == 'O' || c == 'U') continue;
        t[c] |= kConsonant;
        t[c + ('a' - 'A')] |= kConsonant;
    }
    mark(t, kConsonant, {{0x82, 0x82}, {0x8D, 0x8D}, {0xA7, 0xA7}, {0xD8, 0xD9}});
    mark(t, kQuote,
         {{0x22, 0x22},
          {0x27, 0x29},
          {0x3C, 0x3C},
          {0x3E, 0x3E},
          {0x5B, 0x5B},
          {0x5D, 0x5D},
          {0x7B, 0x7B},
          {0x7D, 0x7D},
          {0xC7, 0xC8},
          {0xD2, 0xD5},
          {0xDC, 0xDD},
          {0xE2, 0xE3}});
    return t;
}

constexpr ByteTable ident_map = make_identity();
constexpr ByteTable hex_dtoa = make_hex_dtoa();
constexpr ByteTable hex_atod = make_hex_atod();
constexpr PropTable char_props = make_props();

// The worked examples of the property word pin the rules above.
static_assert(char_props['A'] == 0x092A && char_props['B'] == 0x492A && char_props['g'] == 0x490C &&
              char_props['0'] == 0x0930 && char_props[0x20] == 0x20C0);

}  // namespace

extern "C" {
const unsigned char *TdeIdentMap = ident_map.data();
const unsigned char *TdeHexDtoA = hex_dtoa.data();
const unsigned char *TdeHexAtoD = hex_atod.data();
const unsigned short *TdeCharProps = char_props.data();
const unsigned char *TdeMToAnMap = tarnel::charmaps::mtoan_map;
const unsigned char *TdeAnToMMap = tarnel::charmaps::antom_map;
}
