// The formatter: agreement with the platform's snprintf on generated formats,
// the places where it deliberately differs, and its safety limits.
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <variant>
#include <vector>

#include <gtest/gtest.h>
#include <tarnel/tde_sprint.h>

// Formats here are data: generated ones compared with the C library's, and a
// null format on purpose.
#pragma GCC diagnostic ignored "-Wformat-security"
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
#include <tarnel/tde_strings.h>

#include "address_space.h"

namespace {

// Unchecked entry points, so tests can pass what the format attribute rejects.
int vs(char *buf, int size, const char *format, ...) {
    va_list ap;
    va_start(ap, format);
    const int n = TdeVSnprintf(buf, size, format, ap);
    va_end(ap);
    return n;
}

std::string fmt(const char *format, ...) {
    static char buf[1 << 17];
    va_list ap;
    va_start(ap, format);
    TdeVSnprintf(buf, sizeof buf, format, ap);
    va_end(ap);
    return buf;
}

using Val = std::variant<int, long, double, const char *>;

template <class... A>
void compare(const std::string &format, const std::vector<Val> &vals, size_t i, unsigned cut, A... a) {
    if constexpr (sizeof...(A) < 4)
        if (i < vals.size()) return std::visit([&](auto x) { compare(format, vals, i + 1, cut, a..., x); }, vals[i]);
    static char want[1 << 14], got[1 << 14];
    const char *f = format.c_str();
    const int full = std::snprintf(want, sizeof want, f, a...);
    EXPECT_EQ(vs(got, sizeof got, f, a...), full) << f;
    EXPECT_STREQ(got, want) << f;
    // Truncated: the first size - 1 characters, their count, nothing beyond.
    const int size = static_cast<int>(cut % (full + 2)) + 1, kept = std::min(full, size - 1);
    std::memset(got, 'Z', sizeof got);
    EXPECT_EQ(vs(got, size, f, a...), kept) << f << " size " << size;
    EXPECT_EQ(std::string(got), std::string(want, kept)) << f;
    EXPECT_EQ(got[size], 'Z') << f;
}

TEST(SprintDifferential, GeneratedFormatsAgreeWithSnprintf) {
    std::mt19937 rng(20240611);
    auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    const std::string longText(700, 'q');
    const char *strings[] = {"", "a", "hello", "tab\there", "\xE9\xFF", longText.c_str()};
    const double doubles[] = {0.0, -0.0, 1.5, -2.25, 3.14159265358979, 1e-300, 6.02e23, -1e300, 123456.789};
    const char *convs = "diouxXcsfeEgG%";

    for (int round = 0; round < 4000; ++round) {
        std::string format = pick(3) ? "<" : "";
        std::vector<Val> vals;
        while (vals.size() < 4 && pick(4) != 0) {
            const char conv = convs[pick(14)];
            std::string spec = "%";
            for (const char f : std::string("-+ #0"))
                if (pick(4) == 0) spec += f;
            auto number = [&](bool star) {
                if (star && vals.size() < 3 && pick(4) == 0)
                    spec += '*', vals.push_back(pick(600) - 300);
                else if (pick(2))
                    spec += std::to_string(pick(4) == 0 ? 250 + pick(60) : pick(20));
            };
            number(conv != '%');  // %% consumes nothing, not even a star
            if (pick(2)) spec += '.', number(conv != '%');
            if (conv == 's')
                vals.push_back(strings[pick(6)]);
            else if (conv == 'c')
                vals.push_back(1 + pick(255));
            else if (std::strchr("feEgG", conv))
                vals.push_back(doubles[pick(9)]);
            else if (conv != '%' && pick(3) == 0)
                spec += 'l', vals.push_back(static_cast<long>(rng()) * (pick(2) ? -977 : 1));
            else if (conv != '%')
                spec += pick(3) ? "" : pick(2) ? "h" : "hh", vals.push_back(static_cast<int>(rng()));
            format += spec + conv + std::string(pick(3), 'a' + pick(26));
        }
        compare(format, vals, 0, rng());
        if (HasFailure()) return;
    }
}

TEST(Sprint, BoundedBufferStoresAndCountsOnlyWhatFits) {
    char buf[16] = "keep";
    int n = -1;
    EXPECT_TRUE(vs(buf, 0, "abc") == 0 && std::strcmp(buf, "keep") == 0);  // no room even for the terminator
    EXPECT_EQ(vs(nullptr, 10, "abc"), 0);
    EXPECT_TRUE(vs(buf, 1, "abcdefgh") == 0 && buf[0] == 0);
    std::memset(buf, 'Z', sizeof buf);
    EXPECT_EQ(vs(buf, 5, "abcdef%ngh", &n), 4);  // %n counts what was stored
    EXPECT_TRUE(std::strcmp(buf, "abcd") == 0 && buf[5] == 'Z' && n == 4);
    // Appending a decimal: the count is the new length, cut to the size.
    std::strcpy(buf, "n=");
    EXPECT_EQ(T_StrCatIntN(buf, -12, 16), 5);
    EXPECT_EQ(T_StrCatIntN(buf, -2147483647 - 1, 8), 7);
    EXPECT_STREQ(buf, "n=-12-2");
    EXPECT_EQ(T_StrCatIntN(nullptr, 5, 8), 0);
}

TEST(Sprint, DocumentedConversions) {
    char buf[64];
    const char *none = nullptr;
    EXPECT_TRUE(T_Sprintf(buf, none) == 0 && buf[0] == 0);
    EXPECT_TRUE(vs(buf, 64, "%5s|", none) == 6 && std::strcmp(buf, "     |") == 0);
    EXPECT_TRUE(vs(buf, 64, "a%cb", 0) == 2 && std::strcmp(buf, "ab") == 0);  // a conversion's text ends at its 0
    EXPECT_EQ(fmt("%*d|%-*d|%*d|%%|%.2s", 5, 42, 5, 42, -5, 42, "abcdef"), "   42|42   |42   |%|ab");
    EXPECT_EQ(fmt("%.*f|%.*s", -1, 2.5, -3, "abc"), "2.500000|abc");  // negative precision: none
    // Each %n store has the width its length letters name.
    unsigned char bytes[2] = {0xEE, 0xEE};
    short s[2] = {-1, -1};
    long l = -1;
    fmt("%70000d%hhn%hn%ln", 1, bytes, s, &l);
    EXPECT_TRUE(bytes[0] == (70000 & 0xFF) && bytes[1] == 0xEE && s[0] == static_cast<short>(70000) && s[1] == -1);
    EXPECT_EQ(l, 70000);
}

TEST(Sprint, LongTextsAndSpecificationsAreFormattedInFull) {
    const std::string big(1000, 'x');
    EXPECT_EQ(fmt("%s|%-1200s|", big.c_str(), "y"), big + "|y" + std::string(1199, ' ') + "|");
    char want[2048];
    std::snprintf(want, sizeof want, "%1000.900e", -2.5);
    EXPECT_EQ(fmt("%1000.900e", -2.5), want);
    // A precision may cover an array without a terminator.
    const char raw[3] = {'a', 'b', 'c'};
    EXPECT_EQ(fmt("%.3s|%.2s", raw, raw), "abc|ab");
    // Specifications beyond the 63-character local area, with and without stars.
    const std::string zeros(120, '0');
    EXPECT_EQ(fmt(("[%" + zeros + "7d]").c_str(), 42), "[0000042]");
    EXPECT_EQ(fmt(("[%-" + zeros + "*.*d]").c_str(), 600, 3, 42).size(), 602u);
}

TEST(Sprint, UnreadableOrIncompleteSpecificationsAreLiteral) {
    // Nothing is consumed, so the next conversion still gets its argument.
    EXPECT_EQ(fmt("%a|%1$d|%hs|%lp|%l5d|%d", 5), "%a|%1$d|%hs|%lp|%l5d|5");
    char buf[16];
    EXPECT_TRUE(vs(buf, 16, "ab%-5") == 5 && std::strcmp(buf, "ab%-5") == 0);
    // A width beyond the int range is rejected by the formatter: no text.
    EXPECT_EQ(fmt("<%99999999999d>%d", 1, 2), "<>2");
}

// The engine's count is what its output function accepted: here two
// characters of each delivery.
int viaEngine(std::string *got, const char *format, ...) {
    va_list ap;
    va_start(ap, format);
    auto twoAtATime = [](void *ctx, const char *text, int n) {
        static_cast<std::string *>(ctx)->append(text, static_cast<size_t>(std::min(n, 2)));
        return std::min(n, 2);
    };
    const int r = Tde_doprnt(twoAtATime, got, format, ap);
    va_end(ap);
    return r;
}

TEST(Sprint, OutputFunctionDecidesTheCount) {
    std::string got;
    int n = 0;
    EXPECT_EQ(viaEngine(&got, "abc%d%s%n|", 12345, "xyz", &n), 7);
    EXPECT_TRUE(got == "ab12xy|" && n == 6) << got;
}

TEST(SprintDeathTest, MemoryShortageStopsAtTheConversion) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            capAddressSpace();
            char buf[32];
            int n = 0;
            const int stored = vs(buf, 32, "ab%d%n%1500000000s|%d", 1, &n, "x", 2);
            std::_Exit(stored == 3 && n == 3 && std::strcmp(buf, "ab1") == 0 ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}

}  // namespace
