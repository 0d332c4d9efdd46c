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
#include <vector>

namespace {

bool in(int c, int lo, int hi) { return c >= lo && c <= hi; }
bool implies(bool a, bool b) { return !a || b; }
unsigned props(int c) { return TdeCharProps[c]; }

TEST(CharTables, IdentityAndHexDigits) {
    const std::string digits = "0123456789ABCDEF";
    for (int c = 0; c < 256; ++c) {
        EXPECT_EQ(TdeIdentMap[c], c);
        EXPECT_EQ(TdeHexDtoA[c], c < 16 ? digits[c] : 0) << c;
        bool hex = in(c, '0', '9') || in(c, 'A', 'F') || in(c, 'a', 'f');
        EXPECT_EQ((props(c) & 0x0020) != 0, hex) << c;
        // A digit's value leads back to its upper-case form; non-digits are 0.
        EXPECT_EQ(hex ? TdeHexDtoA[TdeHexAtoD[c]] : TdeHexAtoD[c], hex ? (c >= 'a' ? c - 32 : c) : 0) << c;
    }
}

// Bits defined in terms of other bits must agree everywhere.
TEST(CharTables, PropertyWord) {
    const std::pair<int, unsigned> stated[] = {
        {'A', 0x092A}, {'B', 0x492A}, {'g', 0x490C}, {'0', 0x0930}, {' ', 0x20C0}};
    for (auto [c, p] : stated) EXPECT_EQ(props(c), p) << c;
    for (int c = 0; c < 256; ++c) {
        unsigned p = props(c);
        bool letter = (p & 0x0006) != 0;
        EXPECT_NE(p & 0x0006, 0x0006u) << c;
        EXPECT_EQ((p & 0x0008) != 0, letter) << c;
        EXPECT_EQ((p & 0x0010) != 0, in(c, '0', '9')) << c;
        EXPECT_TRUE(implies(letter || (p & 0x0010), (p & 0x0900) == 0x0900)) << c;
        EXPECT_TRUE(implies(p & 0x4000, letter)) << c;
        EXPECT_TRUE(implies(p & 0x0040, p & 0x2000)) << c;
        EXPECT_TRUE(implies(p & 0x0200, p & 0x0001)) << c;
    }
    for (char v : std::string("AEIOUaeiou")) EXPECT_FALSE(props(v) & 0x4000) << v;
}

// The property word, the case tables and the conversions describe the same
// letters: case pairs keep their consonant bit and convert to case pairs
// (Latin-1 and ANSI put a pair 0x20 apart) where an equivalent exists.
TEST(CharTables, LettersAgreeAcrossTables) {
    for (int c = 0; c < 256; ++c) {
        unsigned p = props(c);
        EXPECT_EQ((p & 0x0002) != 0, TdeMToLower[c] != c) << c;
        EXPECT_EQ((p & 0x0004) != 0, TdeMToUpper[c] != c || c == 0xA7) << c;  // 0xA7 has no capital
        int a = TdeOrvelToAscii(c);
        EXPECT_TRUE(implies(p & 0x0002, in(a, 'A', 'Z') || a == '?')) << c;
        EXPECT_TRUE(implies(p & 0x0004, in(a, 'a', 'z') || a == '?')) << c;
        int small = TdeMToLower[c];
        if (small == c) continue;
        EXPECT_EQ(p & 0x4000, props(small) & 0x4000) << c;
        EXPECT_EQ(TdeOrvelToAscii(small), a == '?' ? a : a + 32) << c;
        if (c == 0xCE || c == 0xD9) continue;  // OE and Y-diaeresis lack a Latin-1 pair
        EXPECT_EQ(TdeOrvelToIsoLatin1(small), TdeOrvelToIsoLatin1(c) + 0x20) << c;
        EXPECT_EQ(TdeOrvelToAnsi(small), TdeOrvelToAnsi(c) + 0x20) << c;
    }
}

// The control codes as summarised for the encoding.
TEST(CharTables, ControlCodes) {
    struct Row {
        int lo, hi, ascii, iso, ansi;
        unsigned props;
    };
    const Row rows[] = {{0x01, 0x03, 0x00, 0x00, 0x00, 0x1000}, {0x04, 0x05, 0x00, 0x00, 0x2D, 0x1100},
                        {0x06, 0x06, 0x2D, 0x2D, 0x2D, 0x1100}, {0x08, 0x08, 0x09, 0x09, 0x09, 0x2041},
                        {0x09, 0x09, 0x0A, 0x0A, 0x0A, 0x2241}, {0x0A, 0x0A, 0x0A, 0x0A, 0xB6, 0x2241},
                        {0x0B, 0x0B, 0x0A, 0x0A, 0xA7, 0x2241}, {0x10, 0x14, 0x20, 0x20, 0x20, 0x2040},
                        {0x15, 0x15, 0x2D, 0x2D, 0x2D, 0x0800}, {0x1F, 0x1F, 0x00, 0x00, 0x09, 0x0000}};
    std::map<int, Row> by_code;
    for (const Row &r : rows)
        for (int c = r.lo; c <= r.hi; ++c) by_code[c] = r;
    for (int c = 0; c < 0x20; ++c) {
        const Row r = by_code.count(c) ? by_code[c] : Row{c, c, 0, 0, 0, props(c)};
        const auto got = {TdeOrvelToAscii(c), TdeOrvelToIsoLatin1(c), TdeOrvelToAnsi(c), int(props(c))};
        EXPECT_EQ(std::vector<int>(got), (std::vector<int>{r.ascii, r.iso, r.ansi, int(r.props)})) << c;
        // Incoming: tab to 0x08; line feed, form feed and return to 0x0A.
        const int in_code = c == 0x09 ? 0x08 : (c == 0x0A || c == 0x0C || c == 0x0D) ? 0x0A : 0;
        for (auto from : {TdeAsciiToOrvel, TdeIsoLatin1ToOrvel, TdeAnsiToOrvel}) EXPECT_EQ(from(c), in_code) << c;
    }
    EXPECT_TRUE(TdeIsoLatin1ToOrvel(0xA0) == 0x11 && TdeAnsiToOrvel(0xA0) == 0x11);  // no-break space
}

TEST(CharTables, SevenBitRange) {
    for (int c = 0x20; c < 0x7F; ++c) {
        for (auto f : {TdeOrvelToAscii, TdeAsciiToOrvel, TdeOrvelToIsoLatin1, TdeIsoLatin1ToOrvel, TdeOrvelToAnsi})
            EXPECT_EQ(f(c), c);
        // ANSI text's straight quotes arrive as the host's curly ones.
        EXPECT_EQ(TdeAnsiToOrvel(c), c == 0x27 ? 0xD5 : c == 0x60 ? 0xD4 : c) << c;
    }
    for (int c = 0x7F; c < 256; ++c) EXPECT_TRUE(TdeOrvelToAscii(c) < 0x7F && TdeAsciiToOrvel(c) == 0) << c;
}

// Upper-half host codes whose upper-half image is not shared must come back
// unchanged; the shared images are exactly the expected ones.
void expect_round_trip(int (*to)(int), int (*from)(int), const std::map<int, std::set<int>> &shared) {
    std::map<int, std::set<int>> users;
    for (int c = 0x80; c < 256; ++c)
        if (to(c) >= 0x80) users[to(c)].insert(c);
    for (const auto &[x, hosts] : users) {
        EXPECT_TRUE(hosts.size() > 1 || from(x) == *hosts.begin()) << x;
        EXPECT_EQ(hosts.size() > 1, shared.count(x) == 1) << x;
    }
    for (const auto &[x, hosts] : shared) EXPECT_EQ(users[x], hosts) << x;
    EXPECT_GT(users.size(), 70u);
}

TEST(CharTables, UpperHalfRoundTrips) {
    expect_round_trip(TdeOrvelToIsoLatin1, TdeIsoLatin1ToOrvel,
                      {{0xAF, {0xF8, 0xF9}}, {0xB7, {0xA5, 0xE1, 0xFA}}, {0xB8, {0xFC, 0xFE}}, {0xFF, {0xD8, 0xD9}}});
    expect_round_trip(TdeOrvelToAnsi, TdeAnsiToOrvel, {{0xB0, {0xA1, 0xFB}}, {0xFF, {0xD8, 0xFF}}});
    // From the other side: every ANSI code with an equivalent comes back,
    // save the quotes and the no-break space; Latin-1 likewise, save soft
    // hyphen, plus-minus and the fractions, which have only stand-ins.
    for (int x = 0x20; x < 256; ++x) {
        int h = TdeAnsiToOrvel(x);
        EXPECT_TRUE(h == 0 || x == 0x27 || x == 0x60 || x == 0xA0 || TdeOrvelToAnsi(h) == x) << x;
        h = TdeIsoLatin1ToOrvel(x);
        if (x < 0xA1 || h < 0x80 || x == 0xAD || x == 0xB1 || in(x, 0xBC, 0xBE)) continue;
        EXPECT_EQ(TdeOrvelToIsoLatin1(h), x) << x;
        EXPECT_EQ(TdeAnsiToOrvel(x), h) << x;  // the code page agrees from 0xA0 up
    }
}

TEST(CharTables, MacintoshAndExamples) {
    // Function, input, output; 0x80 still goes to the Macintosh through the ASCII map.
    const struct {
        int (*f)(int);
        int in, out;
    } rows[] = {{TdeOrvelToAscii, 0x8A, 0x61}, {TdeOrvelTo7BitAscii, 0x8A, 0x61}, {TdeOrvelToIsoLatin1, 0x8A, 0xE4},
                {TdeOrvelToAnsi, 0xD2, 0x93},  {TdeOrvelToMac, 0x80, 0x41},       {TdeOrvelToMac, 0x09, 0x0A},
                {TdeMacToOrvel, 0x0D, 0x0A},   {TdeMacToOrvel, 0x09, 0x08},       {TdeMacToOrvel, 0x01, 0x3F},
                {TdeMacToOrvel, 0x00, 0x3F}};
    for (const auto &r : rows) EXPECT_EQ(r.f(r.in), r.out) << r.in;
    for (int c = 0x20; c < 256; ++c)
        EXPECT_TRUE(TdeMacToOrvel(c) == c && (c == 0x7F || c == 0x80 || TdeOrvelToMac(c) == c)) << c;
}

// Only the low 8 bits of the argument count.
TEST(CharTables, ConversionsIgnoreHighBits) {
    int (*const all[])(int) = {TdeOrvelToAscii,     TdeOrvelTo7BitAscii, TdeAsciiToOrvel, TdeOrvelToIsoLatin1,
                               TdeIsoLatin1ToOrvel, TdeOrvelToAnsi,      TdeAnsiToOrvel,  TdeOrvelToMac,
                               TdeMacToOrvel,       TdeOrvelToOrvel};
    EXPECT_EQ(TdeOrvelToOrvel(0x1FF), 0xFF);
    for (auto f : all)
        for (int c = 0; c < 256; ++c) EXPECT_TRUE(in(f(c), 0, 255) && f(c | 0x100) == f(c) && f(c - 256) == f(c)) << c;
}

// The ANSI pointers are read at each call, so a client's own code page wins.
TEST(CharTables, AnsiPointersAreReadAtEachCall) {
    const unsigned char *saved_to = TdeMToAnMap, *saved_from = TdeAnToMMap;
    TdeMToAnMap = TdeAnToMMap = TdeIdentMap;
    EXPECT_TRUE(TdeOrvelToAnsi(0xD2) == 0xD2 && TdeAnsiToOrvel(0x27) == 0x27);
    TdeMToAnMap = saved_to, TdeAnToMMap = saved_from;
    EXPECT_EQ(TdeOrvelToAnsi(0xD2), 0x93);
}

}  // namespace
