// String library: stated examples, the case tables, and a differential test
// against a reference model built on std::string.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include <gtest/gtest.h>
#include <tarnel/tde_memory.h>
#include <tarnel/tde_strings.h>

namespace {

// (capital, small) letters of the host encoding's upper half.
const int kPairs[29][2] = {{0x80, 0x8A}, {0x81, 0x8C}, {0x82, 0x8D}, {0x83, 0x8E}, {0x84, 0x96}, {0x85, 0x9A},
                           {0x86, 0x9F}, {0xAE, 0xBE}, {0xAF, 0xBF}, {0xCB, 0x88}, {0xCC, 0x8B}, {0xCD, 0x9B},
                           {0xCE, 0xCF}, {0xD9, 0xD8}, {0xE5, 0x89}, {0xE6, 0x90}, {0xE7, 0x87}, {0xE8, 0x91},
                           {0xE9, 0x8F}, {0xEA, 0x92}, {0xEB, 0x94}, {0xEC, 0x95}, {0xED, 0x93}, {0xEE, 0x97},
                           {0xEF, 0x99}, {0xF1, 0x98}, {0xF2, 0x9C}, {0xF3, 0x9E}, {0xF4, 0x9D}};

}  // namespace

TEST(CaseTables, LettersMapAndEverythingElseIsIdentity) {
    int lower[256], upper[256];
    for (int c = 0; c < 256; ++c) lower[c] = upper[c] = c;
    for (int c = 'A'; c <= 'Z'; ++c) lower[c] = c + 32, upper[c + 32] = c;
    for (const auto &p : kPairs) lower[p[0]] = p[1], upper[p[1]] = p[0];
    for (int c = 0; c < 256; ++c) {
        EXPECT_EQ(TdeMToLower[c], lower[c]) << std::hex << c;
        EXPECT_EQ(TdeMToUpper[c], upper[c]) << std::hex << c;
    }
}

// What the random model does not reach: null arguments, edits, conversions.
TEST(Strings, NullsEditsAndConversions) {
    EXPECT_EQ(T_StrLen(nullptr), 0);
    EXPECT_EQ(T_StrCmp(nullptr, "a"), -97);
    EXPECT_EQ(T_StrICmp(nullptr, nullptr), 0);
    EXPECT_EQ(T_StrSIEqual(nullptr, "- -"), 1);
    EXPECT_TRUE(T_StrSuffix(nullptr, "") == 1 && T_StrSuffix(nullptr, "a") == 0);
    EXPECT_EQ(T_StrISuffix("AB\x80", "b\x8A"), 1);
    EXPECT_EQ(T_StrSubString("abc", nullptr), -1);
    EXPECT_TRUE(T_StrAlphaToInt(nullptr) == 0 && T_StrAlphaToInt(" -42x") == -42);
    EXPECT_TRUE(T_StrChr(nullptr, 'a') == nullptr && T_StrChr("abc", 0) == nullptr);
    EXPECT_EQ(T_StrAlphaToReal(nullptr), 0.0);

    char buf[16] = "abc";
    EXPECT_TRUE(T_StrCpyN(buf, "x", 0) == 0 && std::strcmp(buf, "abc") == 0);  // no room even for the terminator
    EXPECT_TRUE(T_StrCpyN(buf, nullptr, 4) == 0 && buf[0] == 0);
    EXPECT_EQ(T_StrCpyN(nullptr, "x", 4) + T_StrCatN(nullptr, "x", 4) + T_StrNCatN(nullptr, "x", 3, 8) +
                  T_StrCatCharN(nullptr, 'x', 8) + T_StrCat(nullptr, "x"),
              0);
    T_StrCpy(nullptr, "x");
    T_StrStrip(nullptr, "x");
    T_StrCpy(buf, "a \t ");
    T_StrStripTrailingSpaces(buf);
    EXPECT_STREQ(buf, "a \t");
    T_StrCpy(buf, "  x y ");
    T_StrStripLeadingSpaces(buf);
    EXPECT_TRUE(std::strcmp(buf, "x y ") == 0 && T_StrCat(buf, "z") == 5);
    T_StrTrunc(buf, 1);
    EXPECT_STREQ(buf, "x");

    const char *words[] = {"b", "A", "a", "B", "\x8A", "\x80"};
    std::qsort(words, 6, sizeof *words, T_StrQsortCmp);
    EXPECT_EQ(std::string(words[0]) + words[1] + words[4], "Aa\x80");

    char *copy = T_StrCopyString("h\xE9llo");
    EXPECT_STREQ(copy, "h\xE9llo");
    EXPECT_TRUE(T_Free(copy) == 0 && T_StrCopyString(nullptr) == nullptr);
    char *fresh = T_StrNew(3);
    EXPECT_TRUE(T_PtrEqual(fresh, nullptr, 4));
    T_Free(fresh);
}

TEST(Strings, FoldingFollowsTheTablePointer) {
    static unsigned char identity[256];
    for (int c = 0; c < 256; ++c) identity[c] = static_cast<unsigned char>(c);
    const unsigned char *saved = TdeMToLower;
    TdeMToLower = identity;
    EXPECT_EQ(T_StrIEqual("a", "A"), 0);
    EXPECT_GT(T_StrICmp("a", "A"), 0);
    TdeMToLower = saved;
    EXPECT_EQ(T_StrIEqual("a", "A"), 1);
}

namespace {

using S = std::string;
int at(const S &s, size_t k) { return k < s.size() ? static_cast<unsigned char>(s[k]) : 0; }
int fold(int c) { return TdeMToLower[c]; }
S folded(S s) {
    for (char &c : s) c = static_cast<char>(fold(static_cast<unsigned char>(c)));
    return s;
}
// Stopping index: the first difference, or the end of a.
int refCmp(const S &a, const S &b, long limit, bool ci) {
    const S x = ci ? folded(a) : a, y = ci ? folded(b) : b;
    size_t k = std::mismatch(x.begin(), x.end(), y.begin(), y.end()).first - x.begin();
    k = std::min<size_t>(k, static_cast<size_t>(std::max(limit, 0L)));
    return at(x, k) - at(y, k);
}
S strip(S s, const S &set) {
    s.erase(std::remove_if(s.begin(), s.end(), [&](char c) { return set.find(c) != S::npos; }), s.end());
    return s;
}

// Runs a bounded write on a canary-filled buffer and checks nothing past
// the larger of size and the initial string was touched.
template <class F> S bounded(const S &dst, int size, int expectResult, F call) {
    char buf[64];
    std::memset(buf, 0x55, sizeof buf);
    std::memcpy(buf, dst.c_str(), dst.size() + 1);
    EXPECT_EQ(call(buf), expectResult);
    const size_t owned = std::max<size_t>(std::max(size, 0), dst.size() + 1);
    for (size_t i = owned; i < sizeof buf; ++i) EXPECT_EQ(buf[i], 0x55) << "wrote past the buffer";
    return S(buf);
}

}  // namespace

TEST(Strings, MatchesReferenceModelOnRandomInputs) {
    const unsigned char alphabet[] = {'a', 'A', 'b', 'B', 'z', ' ', '-', 0x80, 0x8A, 0xA7, 0xE7, 0x87, 0xFF};
    std::mt19937 rng(20240611);
    auto word = [&] {
        S s(rng() % 7, ' ');
        for (char &c : s) c = static_cast<char>(alphabet[rng() % sizeof alphabet]);
        return s;
    };
    for (int iter = 0; iter < 20000; ++iter) {
        const S a = word(), b = rng() % 4 == 0 ? a : word();
        const char *pa = a.c_str(), *pb = b.c_str();
        const int n = static_cast<int>(rng() % 11) - 2, size = static_cast<int>(rng() % 12) - 2;
        SCOPED_TRACE("a='" + a + "' b='" + b + "' n=" + std::to_string(n) + " size=" + std::to_string(size));

        EXPECT_EQ(T_StrCmp(pa, pb), refCmp(a, b, 1L << 20, false));
        EXPECT_EQ(T_StrICmp(pa, pb), refCmp(a, b, 1L << 20, true));
        // The same past a first block that folds equal: the comparison takes blocks of bytes.
        const S la = S(70, 'Q') + a, lb = S(70, 'q') + b;
        EXPECT_EQ(T_StrICmp(la.c_str(), lb.c_str()), refCmp(la, lb, 1L << 20, true));
        EXPECT_EQ(T_StrCmpN(pa, pb, n), n == 0 ? 0 : refCmp(a, b, n - 1, false));
        EXPECT_EQ(T_StrICmpN(pa, pb, n), n == 0 ? 0 : refCmp(a, b, n - 1, true));
        EXPECT_EQ(T_StrEqual(pa, pb), a == b);
        EXPECT_EQ(T_StrIEqual(pa, pb), folded(a) == folded(b));
        EXPECT_EQ(T_StrEqualN(pa, pb, n), n <= 0 || a.substr(0, n) == b.substr(0, n));
        EXPECT_EQ(T_StrIEqualN(pa, pb, n), n <= 0 || folded(a.substr(0, n)) == folded(b.substr(0, n)));
        EXPECT_EQ(T_StrSIEqual(pa, pb), folded(strip(a, " -")) == folded(strip(b, " -")));
        EXPECT_EQ(T_StrPrefix(pa, pb), a.compare(0, b.size(), b) == 0);
        EXPECT_EQ(T_StrIPrefix(pa, pb), folded(a).compare(0, b.size(), folded(b)) == 0);
        EXPECT_EQ(T_StrPrefixN(pa, pb, n), n <= 0 || a.compare(0, std::min<size_t>(n, b.size()), b, 0, n) == 0);
        const bool ends = a.size() >= b.size() && a.compare(a.size() - b.size(), b.size(), b) == 0;
        EXPECT_EQ(T_StrSuffix(pa, pb), ends);
        EXPECT_EQ(T_StrSubString(pa, pb), a.empty() || a.find(b) == S::npos ? -1 : static_cast<int>(a.find(b)));
        const int c = b.empty() ? 'a' : static_cast<unsigned char>(b[0]);
        const size_t first = a.find(static_cast<char>(c)), last = a.rfind(static_cast<char>(c));
        EXPECT_EQ(T_StrChr(pa, c), first == S::npos ? nullptr : pa + first);
        EXPECT_EQ(T_StrRChr(pa, c), last == S::npos ? nullptr : pa + last);

        const size_t room = static_cast<size_t>(std::max(size - 1, 0));
        if (size >= 1) {
            const S r = bounded(a, size, static_cast<int>(std::min(b.size(), room)),
                                [&](char *d) { return T_StrCpyN(d, pb, size); });
            EXPECT_EQ(r, b.substr(0, room));
        }
        const S cat = a.size() >= room ? a : a + b.substr(0, room - a.size());
        EXPECT_EQ(bounded(a, size, static_cast<int>(cat.size()), [&](char *d) { return T_StrCatN(d, pb, size); }), cat);
        const S cut = a.substr(0, room);
        const S ncat = cut + b.substr(0, std::min<size_t>(std::max(n, 0), room - cut.size()));
        EXPECT_EQ(bounded(a, size, static_cast<int>(ncat.size()), [&](char *d) { return T_StrNCatN(d, pb, n, size); }),
                  ncat);
        const S chr = a.size() >= room ? a : a + static_cast<char>(c);
        EXPECT_EQ(bounded(a, size, static_cast<int>(chr.size()), [&](char *d) { return T_StrCatCharN(d, c, size); }),
                  chr);

        char buf[16];
        std::strcpy(buf, pa);
        T_StrStrip(buf, pb);
        EXPECT_EQ(S(buf), strip(a, b));
        std::strcpy(buf, pa);
        T_StrReverse(buf, n);
        S rev = a;
        std::reverse(rev.begin(), rev.begin() + std::min<size_t>(std::max(n, 0), a.size()));
        EXPECT_EQ(S(buf), rev);
    }
}
