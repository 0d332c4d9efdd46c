// 16.16 arithmetic: stated examples, broken preconditions, and agreement
// with the 32-bit algorithms, the yardstick for the library's 64-bit versions.
#include <tarnel/tde_memory.h>
#include <tarnel/tde_metrics.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <vector>

using std::int32_t;
using std::uint32_t;

namespace {

constexpr T_MetricT kDeg = 0x10000;

T_MetricT folded(T_MetricT v, T_MetricT lo) {
    T_MetricConstrainAngle(&v, lo);
    return v;
}
T_MetricT normalized(T_MetricT v) {
    T_MetricNormalizeAngle(&v);
    return v;
}

// What the agreement below cannot show: the indicator's counting, setting
// and cap, the mended split, inputs outside the transcription's range.
// Each row starts from a clear indicator (or the one given) and states the
// indicator after the call: T_MetricDiv counts, T_MetricFractMul sets.
TEST(Metric, StatedExamples) {
    const struct {
        const char *what;
        std::function<T_MetricT()> call;
        T_MetricT want;
        int overflow, before = 0;
    } rows[] = {
        {"div saturates", [] { return T_MetricDiv(0x40000000, 0x7FFF); }, INT_MAX, 1},
        {"div counts", [] { return T_MetricDiv(-0x40000000, 0x7FFF); }, INT_MIN, 2, 1},
        {"indicator stops at INT_MAX", [] { return T_MetricDiv(INT_MAX, 1); }, INT_MAX, INT_MAX, INT_MAX},
        {"by -1.0", [] { return T_MetricDiv(INT_MIN, -0x10000); }, INT_MAX, 1},
        {"fract", [] { return T_MetricFractMul(0xA0000, 2, 3); }, 0x6AAAA, 0},
        {"fract saturates", [] { return T_MetricFractMul(0x40000000, 0x10000, 0x10000); }, INT_MAX, 1},
        {"fract sets", [] { return T_MetricFractMul(0x40000000, -0x10000, 0x10000); }, INT_MIN, 1, 5},
        // Mended: the 32-bit split's high product wraps to 0 here.
        {"fract -32768.0", [] { return T_MetricFractMul(INT_MIN, 0x10000, 0x10000); }, INT_MIN, 1},
        {"fract -32768.0 * -2", [] { return T_MetricFractMul(INT_MIN, -0x40000, 0x20000); }, INT_MAX, 1},
        {"fract divisor halved to 0", [] { return T_MetricFractMul(5, INT_MAX, 1); }, INT_MAX, 1},
        {"approx 15", [] { return T_MetricApproxEqual(1000, 1015); }, 1, 0},
        {"approx far apart", [] { return T_MetricApproxEqual(INT_MAX, INT_MIN); }, 0, 0},  // no 32-bit wrap
        {"approx at INT_MIN", [] { return T_MetricApproxEqual(INT_MIN, INT_MIN + 15); }, 1, 0},
        {"normalize -90", [] { return normalized(-90 * kDeg); }, 270 * kDeg, 0},
        {"normalize 720", [] { return normalized(720 * kDeg); }, 0, 0},
        {"normalize 359", [] { return normalized(359 * kDeg); }, 359 * kDeg, 0},
        {"normalize INT_MIN", [] { return normalized(INT_MIN); }, 23068672, 0},
        {"fold all", [] { return folded(INT_MAX, INT_MIN); },
         INT_MIN + static_cast<T_MetricT>(0xFFFFFFFFLL % 0x1680000), 0},
        // A lower bound with less than a turn above it: the angle is kept one
        // turn below lo rather than wrapping or looping.
        {"fold near top", [] { return folded(INT_MAX - 15, INT_MAX - 10); }, INT_MAX - 15, 0},
        {"fold near top 3", [] { return folded(0, INT_MAX - 10); }, (INT_MAX - 10) - ((INT_MAX - 10) % 0x1680000), 0},
        {"72.0", [] { return T_MetricFloat(72.0); }, 0x480000, 0},
        {"32768.0", [] { return T_MetricFloat(32768.0); }, INT_MAX, 0},
        {"-32768.00001", [] { return T_MetricFloat(-32768.00001); }, INT_MIN, 0},
        {"inf", [] { return T_MetricFloat(std::numeric_limits<double>::infinity()); }, INT_MAX, 0},
        {"-inf", [] { return T_MetricFloat(-std::numeric_limits<double>::infinity()); }, INT_MIN, 0},
        {"nan", [] { return T_MetricFloat(std::nan("")); }, 0, 0},
    };
    for (const auto &r : rows) {
        TdeMetricOverflow = r.before;
        EXPECT_EQ(r.call(), r.want) << r.what;
        EXPECT_EQ(TdeMetricOverflow, r.overflow) << r.what;
    }
    EXPECT_TRUE(T_MetricToFloat(0x10000) == 1.0 && T_MetricToFloat(0x1000001) == 256.0);  // 24-bit significand
}

void printOverflowAndContinue() { std::fprintf(stderr, "overflow=%d\n", TdeMetricOverflow); }

TEST(MetricDeathTest, BrokenPreconditionsFail) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    auto failWith = [](void (*fn)()) {
        T_SetAssert(printOverflowAndContinue);
        TdeMetricOverflow = 0;
        fn();
    };
    EXPECT_DEATH(failWith([] { T_MetricDiv(1, 0); }), "overflow=1");
    EXPECT_DEATH(failWith([] { T_MetricMake(1, 0x10000); }), "overflow=1");  // d*65536 wraps to 0
    EXPECT_DEATH(failWith([] { T_MetricFractMul(1, 1, 0); }), "overflow=0");
    EXPECT_DEATH(failWith([] { T_MetricSqrt(-1); }), "overflow=0");
}

// ---- Agreement with the 32-bit algorithms ----------------------------------

std::vector<int32_t> boundaryValues() {
    std::vector<int32_t> v;
    for (int64_t base : {0LL, 1LL << 15, 1LL << 16, 1LL << 30, 1LL << 31})
        for (int d = -2; d <= 2; ++d)
            for (int64_t x : {base + d, -base + d})
                if (x >= INT_MIN && x <= INT_MAX) v.push_back(static_cast<int32_t>(x));
    for (int32_t x : {0xFFFF, 0x17FFF, 0x18000, 0x30000, 0x1680000, 0x7FFF0000, 0x7FFF, 92681})
        v.insert(v.end(), {x, -x});
    return v;
}

// Any magnitude, whole numbers, small values, powers of two and boundaries.
class Inputs {
  public:
    int32_t next() {
        const uint64_t r = rng_();
        const auto low = static_cast<uint32_t>(r);
        const int64_t pow = int64_t{1} << ((r >> 40) % 32);
        switch ((r >> 32) % 6) {
        case 0: return static_cast<int32_t>(low);
        case 1: return static_cast<int32_t>(low) >> ((r >> 40) % 32);
        case 2: return static_cast<int32_t>(low & 0xFFFF0000u);
        case 3: return static_cast<int32_t>(low % 0x40000) - 0x20000;
        case 4:
            return static_cast<int32_t>(static_cast<uint32_t>(((r >> 48) & 1 ? -pow : pow) + int((r >> 50) % 5) - 2));
        default: return boundary_[low % boundary_.size()];
        }
    }
    uint64_t raw() { return rng_(); }

  private:
    std::mt19937_64 rng_{20240611};
    std::vector<int32_t> boundary_ = boundaryValues();
};

// FNV-1a over every result and the overflow indicator after it.
class Digest {
  public:
    template <class F> void run(F f) {
        TdeMetricOverflow = 0;
        const auto r = f();
        uint64_t bits;
        if constexpr (std::is_floating_point_v<decltype(r)>)
            std::memcpy(&bits, &r, sizeof bits);
        else
            bits = static_cast<uint64_t>(static_cast<int64_t>(r));
        add(bits);
        add(static_cast<uint64_t>(TdeMetricOverflow));
    }
    uint64_t value() const { return h_; }

  private:
    void add(uint64_t v) {
        for (int i = 0; i < 64; i += 8) h_ = (h_ ^ ((v >> i) & 0xFF)) * 0x100000001B3ull;
    }
    uint64_t h_ = 0xCBF29CE484222325ull;
};

constexpr int kCases = 1000000;  // generated inputs per family

uint64_t mulDigest() {
    Inputs in;
    Digest d;
    for (int i = 0; i < kCases; ++i) {
        const int32_t a = in.next(), b = in.next();
        d.run([&] { return T_MetricMul(a, b); });
        d.run([&] { return T_MetricSquare(a); });
    }
    return d.value();
}

uint64_t divDigest() {
    Inputs in;
    Digest d;
    auto check = [&](int32_t a, int32_t b) {
        if (b != 0) d.run([&] { return T_MetricDiv(a, b); });
    };
    for (int32_t a : boundaryValues())
        for (int32_t b : boundaryValues()) check(a, b);
    for (int i = 0; i < kCases; ++i) {
        const int32_t a = in.next(), b = in.next();
        check(a, b);
        // Quotients at and around +-32768.0.
        const int64_t near = int64_t{b} * 32768 * (in.raw() & 1 ? 1 : -1) + int(in.raw() % 3) - 1;
        if (near >= INT_MIN && near <= INT_MAX) check(static_cast<int32_t>(near), b);
        const int n = static_cast<int>(in.raw() % 200001) - 100000, dd = in.next() >> 16;
        if (dd % 0x10000 != 0) d.run([&] { return T_MetricMake(n, dd); });
    }
    return d.value();
}

uint64_t fractDigest() {
    Inputs in;
    Digest d;
    auto check = [&](int32_t a, int32_t b, int32_t c) {
        if (c != 0) d.run([&] { return T_MetricFractMul(a, b, c); });
    };
    const std::vector<int32_t> edges = boundaryValues();
    for (int32_t a : edges)
        for (int32_t b : edges)
            for (int32_t c : edges) check(a, b, c);
    for (int i = 0; i < kCases; ++i) {
        const int32_t a = in.next(), b = in.next(), c = in.next();
        check(a, b, c);
        // Magnitudes around the 16384.0 limit once b and c are scaled.
        int64_t B = std::llabs(b), C = std::llabs(c);
        while (B > 0x10000 || C > 0x10000) B >>= 1, C >>= 1;
        if (B == 0 || C == 0) continue;
        const int64_t edge = ((int64_t{1} << 30) * C + B - 1) / B + static_cast<int>(in.raw() % 3) - 1;
        if (edge <= INT_MAX) check(static_cast<int32_t>(in.raw() & 1 ? edge : -edge), b, c);
    }
    return d.value();
}

uint64_t restDigest() {
    Inputs in;
    Digest d;
    for (int32_t m : boundaryValues())
        if (m >= 0) d.run([&] { return T_MetricSqrt(m); });
    for (int i = 0; i < kCases / 10; ++i) {
        const int32_t m = in.next() & INT_MAX;
        d.run([&] { return T_MetricSqrt(m); });
        const double x = static_cast<double>(in.next()) / (1 << (in.raw() % 20));
        d.run([&] { return T_MetricFloat(x); });
        d.run([&] { return T_MetricToFloat(m); });
        const int32_t a = in.next();
        const int32_t b =
            in.raw() & 1 ? in.next() : static_cast<int32_t>(static_cast<uint32_t>(a) + in.raw() % 41 - 20);
        d.run([&] { return T_MetricApproxEqual(a, b); });
        const int32_t lo = std::min(in.next(), INT_MAX - 0x1680000);
        d.run([&] { return folded(a, lo); });
    }
    return d.value();
}

// Each digest is that of the step-by-step transcription of the 32-bit
// algorithms (in this file's history), with the mended split of
// T_MetricFractMul reporting overflow, over the same inputs.
TEST(MetricReference, MultiplyAndSquare) { EXPECT_EQ(mulDigest(), 0xad1e5f185b37eee2ull); }
TEST(MetricReference, DivisionAndMake) { EXPECT_EQ(divDigest(), 0xb1e9675abc5a22b3ull); }
TEST(MetricReference, FractionalMultiply) { EXPECT_EQ(fractDigest(), 0x78314049da7c2715ull); }
TEST(MetricReference, SquareRootConversionsApproxAndAngles) { EXPECT_EQ(restDigest(), 0xc2a4fdd16067ad7eull); }

}  // namespace
