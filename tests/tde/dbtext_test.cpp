// DbText, the escaped text form of the host encoding, in both directions.
#include <gtest/gtest.h>

#include <tarnel/tde_charmaps.h>
#include <tarnel/tde_memory.h>

#include <algorithm>
#include <string>

namespace {

// Runs a conversion and takes ownership of its result.
std::string run(char *(*conv)(const char *), const std::string &in) {
    char *out = conv(in.c_str());
    EXPECT_NE(out, nullptr);
    if (out == nullptr) return "<null>";
    std::string s(out);
    T_Free(out);
    return s;
}
std::string to_host(const std::string &db) { return run(TdeDbTextToOrvel, db); }
std::string to_db(const std::string &host) { return run(TdeOrvelToDbText, host); }

// Host code and the letter written after the backslash for it.
const struct {
    char code, letter;
} kEscapes[] = {{0x04, '-'}, {0x05, '_'}, {0x08, 't'}, {0x09, 'r'}, {0x0A, 'p'}, {0x10, '#'}, {0x11, ' '},
                {0x12, 'i'}, {0x13, 'N'}, {0x14, 'M'}, {0x15, '+'}, {0x20, 's'}, {'\\', '\\'}};

TEST(DbText, EscapesInBothDirections) {
    for (const auto &e : kEscapes) {
        const std::string pair = {'\\', e.letter};
        EXPECT_EQ(to_db(std::string(1, e.code)), pair) << int(e.code);
        EXPECT_EQ(to_host(pair), std::string(1, e.code)) << e.letter;
    }
    // Every other code passes unchanged both ways.
    for (int c = 1; c < 256; ++c) {
        const std::string one(1, static_cast<char>(c));
        const bool escaped =
            std::any_of(std::begin(kEscapes), std::end(kEscapes), [&](auto e) { return e.code == one[0]; });
        EXPECT_TRUE(escaped || (to_db(one) == one && to_host(one) == one)) << c;
    }
    EXPECT_EQ(to_db("a b"), "a\\sb");
}

TEST(DbText, ReaderAcceptsMoreThanWriterProduces) {
    EXPECT_EQ(to_host("\\n\\h\\P|a\\tb|\\q|\\\\| plain\x08|"), "\x09\x09\x0A|a\x08"
                                                               "b|q|\\| plain\x08|");
    EXPECT_EQ(to_host("ab\\"), "ab");  // a trailing backslash is dropped
    EXPECT_EQ(to_host("\\"), "");
}

TEST(DbText, EmptyAndNullInput) {
    EXPECT_EQ(to_host("") + to_db(""), "");
    // Null reads as the empty string rather than crashing.
    for (auto conv : {TdeDbTextToOrvel, TdeOrvelToDbText}) {
        char *out = conv(nullptr);
        ASSERT_NE(out, nullptr);
        EXPECT_STREQ(out, "");
        T_Free(out);
    }
}

TEST(DbText, OutputIsCutAt255Bytes) {
    EXPECT_EQ(to_db(std::string(300, 'x')), std::string(254, 'x'));
    std::string pairs;
    for (int i = 0; i < 127; ++i) pairs += "\\s";
    EXPECT_EQ(to_db(std::string(200, ' ')), pairs);
    // A pair that would start at byte 254 still fits; one at 255 does not.
    EXPECT_EQ(to_db(std::string(253, 'x') + "  "), std::string(253, 'x') + "\\s");
    EXPECT_EQ(to_db(std::string(254, 'x') + " "), std::string(254, 'x'));

    EXPECT_EQ(to_host(std::string(300, 'x')), std::string(255, 'x'));
    // Escapes count by their output: 255 tabs from 255 pairs, then stop.
    std::string tabs;
    for (int i = 0; i < 300; ++i) tabs += "\\t";
    EXPECT_EQ(to_host(tabs), std::string(255, '\x08'));
}

}  // namespace
