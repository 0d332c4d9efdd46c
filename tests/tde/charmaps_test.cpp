// Character tables and single-character conversions of the host encoding.
// The checks derive properties independently of how the tables are stored:
// agreement between tables, round trips where the grids are inverse, and the
// control-code summary of the encoding.
#include <gtest/gtest.h>

#include <tarnel/tde_charmaps.h>
#include <tarnel/tde_strings.h>

#include <map>
#include <set>
#include <string>

namespace {

bool in(int c, int lo, int hi) { return c >= lo && c <= hi; }
unsigned props(int c) { return TdeCharProps[c]; }
bool implies(bool a, bool b) { return !a || b; }

// The 29 capital/small pairs of the upper half.
const int kCasePairs[][2] = {
    {0x80, 0x8A}, {0x81, 0x8C}, {0x82, 0x8D}, {0x83, 0x8E}, {0x84, 0x96}, {0x85, 0x9A}, {0x86, 0x9F}, {0xAE, 0xBE},
    {0xAF, 0xBF}, {0xCB, 0x88}, {0xCC, 0x8B}, {0xCD, 0x9B}, {0xCE, 0xCF}, {0xD9, 0xD8}, {0xE5, 0x89}, {0xE6, 0x90},
    {0xE7, 0x87}, {0xE8, 0x91}, {0xE9, 0x8F}, {0xEA, 0x92}, {0xEB, 0x94}, {0xEC, 0x95}, {0xED, 0x93}, {0xEE, 0x97},
    {0xEF, 0x99}, {0xF1, 0x98}, {0xF2, 0x9C}, {0xF3, 0x9E}, {0xF4, 0x9D}};

TEST(CharTables, IdentityAndHexDigits) {
    const std::string digits = "0123456789ABCDEF";
    for (int c = 0; c < 256; ++c) {
        EXPECT_EQ(TdeIdentMap[c], c);
        EXPECT_EQ(TdeHexDtoA[c], c < 16 ? digits[c] : 0) << c;
        bool hex = in(c, '0', '9') || in(c, 'A', 'F') || in(c, 'a', 'f');
        EXPECT_EQ((props(c) & 0x0020) != 0, hex) << c;
        if (hex) {
            // Digit value and back yields the canonical upper-case digit.
            EXPECT_EQ(TdeHexDtoA[TdeHexAtoD[c]], c >= 'a' ? c - 32 : c) << c;
        } else {
            EXPECT_EQ(TdeHexAtoD[c], 0) << c;
        }
    }
}

TEST(CharTables, PropertyWordExamples) {
    EXPECT_EQ(props('A'), 0x092Au);
    EXPECT_EQ(props('B'), 0x492Au);
    EXPECT_EQ(props('g'), 0x490Cu);
    EXPECT_EQ(props('0'), 0x0930u);
    EXPECT_EQ(props(0x20), 0x20C0u);
    EXPECT_EQ(props(0x00), 0x2000u);
    EXPECT_EQ(props('.'), 0x0400u);
    EXPECT_EQ(props('_'), 0x0100u);
    EXPECT_EQ(props(0xD2), 0xA000u);  // left double quote opens and quotes
    EXPECT_EQ(props(0xA7), 0x490Cu);  // small consonant without a capital
}

// Bits that are defined in terms of other bits must agree everywhere.
TEST(CharTables, PropertyBitsAreConsistent) {
    for (int c = 0; c < 256; ++c) {
        unsigned p = props(c);
        bool letter = (p & 0x0006) != 0;
        EXPECT_EQ((p & 0x0008) != 0, letter) << c;
        EXPECT_NE(p & 0x0006, 0x0006u) << c;
        EXPECT_EQ((p & 0x0010) != 0, in(c, '0', '9')) << c;
        EXPECT_TRUE(implies(letter || (p & 0x0010), (p & 0x0900) == 0x0900)) << c;
        EXPECT_TRUE(implies(p & 0x4000, letter)) << c;
        EXPECT_TRUE(implies(p & 0x0040, p & 0x2000)) << c;
        EXPECT_TRUE(implies(p & 0x0200, p & 0x0001)) << c;
        EXPECT_EQ((p & 0x0080) != 0, c == 0x20) << c;
    }
    for (char v : std::string("AEIOUaeiou")) EXPECT_FALSE(props(v) & 0x4000) << v;
    for (char k : std::string("BYbyZz")) EXPECT_TRUE(props(k) & 0x4000) << k;
}

// The property word and the case tables describe the same letters.
TEST(CharTables, PropertyWordAgreesWithCaseTables) {
    for (int c = 0; c < 256; ++c) {
        unsigned p = props(c);
        EXPECT_EQ((p & 0x0002) != 0, TdeMToLower[c] != c) << c;
        // 0xA7 is the one small letter without a capital.
        EXPECT_EQ((p & 0x0004) != 0, TdeMToUpper[c] != c || c == 0xA7) << c;
        // Case mapping keeps the consonant bit.
        EXPECT_EQ(p & 0x4000, props(TdeMToLower[c]) & 0x4000) << c;
        EXPECT_EQ(p & 0x4000, props(TdeMToUpper[c]) & 0x4000) << c;
    }
}

// Case pairs have images of matching case in every target character set
// (Latin-1 and ANSI put a pair 0x20 apart), where an equivalent exists.
TEST(CharTables, CasePairsConvertToCasePairs) {
    for (const auto &pair : kCasePairs) {
        int cap = pair[0], small = pair[1];
        int a = TdeOrvelToAscii(cap), b = TdeOrvelToAscii(small);
        EXPECT_TRUE((in(a, 'A', 'Z') && b == a + 32) || (a == '?' && b == '?')) << cap;
        if (cap == 0xCE || cap == 0xD9) continue;  // no Latin-1 pair for OE, Y-diaeresis
        EXPECT_EQ(TdeOrvelToIsoLatin1(small), TdeOrvelToIsoLatin1(cap) + 0x20) << cap;
        EXPECT_EQ(TdeOrvelToAnsi(small), TdeOrvelToAnsi(cap) + 0x20) << cap;
    }
    // ASCII stand-ins for letters keep the case, or are '?'.
    for (int c = 0; c < 256; ++c) {
        int a = TdeOrvelToAscii(c);
        EXPECT_TRUE(implies(props(c) & 0x0002, in(a, 'A', 'Z') || a == '?')) << c;
        EXPECT_TRUE(implies(props(c) & 0x0004, in(a, 'a', 'z') || a == '?')) << c;
    }
}

// The control codes as summarised for the encoding: code range, ASCII,
// Latin-1, ANSI, property word.
TEST(CharTables, ControlCodeSummary) {
    struct Row {
        int lo, hi, ascii, iso, ansi;
        unsigned props;
    };
    const Row rows[] = {
        {0x01, 0x03, 0x00, 0x00, 0x00, 0x1000}, {0x04, 0x04, 0x00, 0x00, 0x2D, 0x1100},
        {0x05, 0x05, 0x00, 0x00, 0x2D, 0x1100}, {0x06, 0x06, 0x2D, 0x2D, 0x2D, 0x1100},
        {0x08, 0x08, 0x09, 0x09, 0x09, 0x2041}, {0x09, 0x09, 0x0A, 0x0A, 0x0A, 0x2241},
        {0x0A, 0x0A, 0x0A, 0x0A, 0xB6, 0x2241}, {0x0B, 0x0B, 0x0A, 0x0A, 0xA7, 0x2241},
        {0x10, 0x14, 0x20, 0x20, 0x20, 0x2040}, {0x15, 0x15, 0x2D, 0x2D, 0x2D, 0x0800},
        {0x1F, 0x1F, 0x00, 0x00, 0x09, 0x0000}};
    std::map<int, const Row *> by_code;
    for (const Row &r : rows)
        for (int c = r.lo; c <= r.hi; ++c) by_code[c] = &r;
    for (int c = 0; c < 0x20; ++c) {
        auto it = by_code.find(c);
        if (it == by_code.end()) {
            EXPECT_EQ(TdeOrvelToAscii(c), 0) << c;
            EXPECT_EQ(TdeOrvelToIsoLatin1(c), 0) << c;
            EXPECT_EQ(TdeOrvelToAnsi(c), 0) << c;
            continue;
        }
        EXPECT_EQ(TdeOrvelToAscii(c), it->second->ascii) << c;
        EXPECT_EQ(TdeOrvelToIsoLatin1(c), it->second->iso) << c;
        EXPECT_EQ(TdeOrvelToAnsi(c), it->second->ansi) << c;
        EXPECT_EQ(props(c), it->second->props) << c;
    }
    // Incoming control codes: tab to 0x08, line feed, form feed and return to
    // 0x0A, everything else below 0x20 has no equivalent.
    for (int c = 0; c < 0x20; ++c) {
        int want = c == 0x09 ? 0x08 : (c == 0x0A || c == 0x0C || c == 0x0D) ? 0x0A : 0;
        EXPECT_EQ(TdeAsciiToOrvel(c), want) << c;
        EXPECT_EQ(TdeIsoLatin1ToOrvel(c), want) << c;
        EXPECT_EQ(TdeAnsiToOrvel(c), want) << c;
    }
    EXPECT_EQ(TdeIsoLatin1ToOrvel(0xA0), 0x11);  // no-break space
    EXPECT_EQ(TdeAnsiToOrvel(0xA0), 0x11);
    EXPECT_EQ(TdeAsciiToOrvel(0xA0), 0);
}

TEST(CharTables, SevenBitRangeRoundTrips) {
    for (int c = 0x20; c < 0x7F; ++c) {
        EXPECT_EQ(TdeOrvelToAscii(c), c);
        EXPECT_EQ(TdeAsciiToOrvel(c), c);
        EXPECT_EQ(TdeOrvelToIsoLatin1(c), c);
        EXPECT_EQ(TdeIsoLatin1ToOrvel(c), c);
        EXPECT_EQ(TdeOrvelToAnsi(c), c);
        // ANSI text's straight quotes arrive as the host's curly ones.
        EXPECT_EQ(TdeAnsiToOrvel(c), c == 0x27 ? 0xD5 : c == 0x60 ? 0xD4 : c) << c;
    }
    for (int c = 0x7F; c < 256; ++c) {
        EXPECT_LT(TdeOrvelToAscii(c), 0x7F) << c;  // ASCII output stays 7-bit
        EXPECT_EQ(TdeAsciiToOrvel(c), 0) << c;
    }
    EXPECT_EQ(TdeOrvelTo7BitAscii(0x8A), 0x61);
}

// Upper-half host codes whose image in the upper half of the other set is
// not shared with another host code must come back unchanged; the shared
// images are exactly the expected collisions (image: host codes).
void expect_upper_half_round_trip(int (*to)(int), int (*from)(int), const std::map<int, std::set<int>> &shared,
                                  const char *name) {
    std::map<int, std::set<int>> users;
    for (int c = 0x80; c < 256; ++c)
        if (to(c) >= 0x80) users[to(c)].insert(c);
    int checked = 0;
    for (const auto &[x, hosts] : users) {
        if (hosts.size() > 1) {
            EXPECT_EQ(shared.count(x), 1u) << name << " image " << x;
            continue;
        }
        EXPECT_EQ(from(x), *hosts.begin()) << name << " host code " << *hosts.begin();
        ++checked;
    }
    for (const auto &[x, hosts] : shared) EXPECT_EQ(users[x], hosts) << name << " image " << x;
    EXPECT_GT(checked, 70) << name;
}

TEST(CharTables, UpperHalfRoundTrips) {
    expect_upper_half_round_trip(TdeOrvelToIsoLatin1, TdeIsoLatin1ToOrvel,
                                 {{0xAF, {0xF8, 0xF9}}, {0xB7, {0xA5, 0xE1, 0xFA}}, {0xB8, {0xFC, 0xFE}},
                                  {0xFF, {0xD8, 0xD9}}},
                                 "Latin-1");
    expect_upper_half_round_trip(TdeOrvelToAnsi, TdeAnsiToOrvel, {{0xB0, {0xA1, 0xFB}}, {0xFF, {0xD8, 0xFF}}},
                                 "ANSI");
    // The ANSI grids are inverse on every code that has an equivalent, save
    // the quotes and the no-break space.
    for (int x = 0x20; x < 256; ++x) {
        int h = TdeAnsiToOrvel(x);
        if (h == 0 || x == 0x27 || x == 0x60 || x == 0xA0) continue;
        EXPECT_EQ(TdeOrvelToAnsi(h), x) << x;
    }
    // Latin-1 letters and symbols with a host counterpart come back; soft
    // hyphen, plus-minus and the fractions have only stand-ins.
    for (int x = 0xA1; x < 256; ++x) {
        int h = TdeIsoLatin1ToOrvel(x);
        if (h < 0x80 || x == 0xAD || x == 0xB1 || in(x, 0xBC, 0xBE)) continue;
        EXPECT_EQ(TdeOrvelToIsoLatin1(h), x) << x;
        EXPECT_EQ(TdeAnsiToOrvel(x), h) << x;  // the code page agrees from 0xA0 up
    }
}

// Where the host has a Latin-1 equivalent from 0xA0 up, the ANSI code page
// uses the same code, except for stand-ins for characters Latin-1 lacks
// (bullet, Y-diaeresis, breve, dot accent, ogonek).
TEST(CharTables, LatinOneAgreesWithAnsi) {
    const std::set<int> stand_ins = {0xA5, 0xD9, 0xF9, 0xFA, 0xFE};
    for (int c = 0; c < 256; ++c) {
        int x = TdeOrvelToIsoLatin1(c);
        if (x >= 0xA0) EXPECT_EQ(TdeOrvelToAnsi(c) == x, !stand_ins.count(c)) << c;
    }
}

TEST(CharTables, SingleCharacterExamples) {
    EXPECT_EQ(TdeOrvelToAscii(0x8A), 0x61);
    EXPECT_EQ(TdeOrvelToIsoLatin1(0x8A), 0xE4);
    EXPECT_EQ(TdeOrvelToAnsi(0xD2), 0x93);
    EXPECT_EQ(TdeAsciiToOrvel(0x27), 0x27);
    EXPECT_EQ(TdeOrvelToMac(0x80), 0x41);
    EXPECT_EQ(TdeOrvelToMac(0x81), 0x81);
    EXPECT_EQ(TdeOrvelToMac(0x09), 0x0A);
    EXPECT_EQ(TdeMacToOrvel(0x27), 0x27);
    EXPECT_EQ(TdeMacToOrvel(0x0D), 0x0A);
    EXPECT_EQ(TdeMacToOrvel(0x09), 0x08);
    EXPECT_EQ(TdeMacToOrvel(0x01), 0x3F);
    EXPECT_EQ(TdeMacToOrvel(0x00), 0x3F);
}

TEST(CharTables, MacintoshSharesCodesFrom0x20) {
    for (int c = 0x20; c < 256; ++c) {
        EXPECT_EQ(TdeMacToOrvel(c), c);
        EXPECT_TRUE(c == 0x7F || c == 0x80 || TdeOrvelToMac(c) == c) << c;
    }
}

// Only the low 8 bits of the argument count, whatever else is set.
TEST(CharTables, ConversionsIgnoreHighBits) {
    int (*const all[])(int) = {TdeOrvelToAscii, TdeOrvelTo7BitAscii, TdeAsciiToOrvel, TdeOrvelToIsoLatin1,
                               TdeIsoLatin1ToOrvel, TdeOrvelToAnsi, TdeAnsiToOrvel, TdeOrvelToMac,
                               TdeMacToOrvel, TdeOrvelToOrvel};
    EXPECT_EQ(TdeOrvelToOrvel(0x1FF), 0xFF);
    for (auto f : all)
        for (int c = 0; c < 256; ++c) {
            int r = f(c);
            EXPECT_TRUE(in(r, 0, 255));
            EXPECT_EQ(f(c | 0x100), r);
            EXPECT_EQ(f(c - 256), r);
        }
}

// The ANSI pointers are read at each call, so a client's own code page wins.
TEST(CharTables, AnsiPointersAreReadAtEachCall) {
    const unsigned char *saved_to = TdeMToAnMap, *saved_from = TdeAnToMMap;
    TdeMToAnMap = TdeIdentMap;
    TdeAnToMMap = TdeIdentMap;
    EXPECT_EQ(TdeOrvelToAnsi(0xD2), 0xD2);
    EXPECT_EQ(TdeAnsiToOrvel(0x27), 0x27);
    TdeMToAnMap = saved_to;
    TdeAnToMMap = saved_from;
    EXPECT_EQ(TdeOrvelToAnsi(0xD2), 0x93);
}

}  // namespace
