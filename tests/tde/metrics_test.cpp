#include <tarnel/tde_memory.h>
#include <tarnel/tde_metrics.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <random>
#include <vector>

#include "metrics_reference.h"

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kRandomCases = 1000000;
#else
constexpr int kRandomCases = 2000000;
#endif

TEST(Metric, MultiplyAndSquareTruncateTowardZero) {
  EXPECT_EQ(T_MetricMul(0x18000, 0x18000), 0x24000);
  EXPECT_EQ(T_MetricMul(0x8000, -3), -1);
  EXPECT_EQ(T_MetricMul(-1, 1), 0);
  EXPECT_EQ(T_MetricMul(INT_MIN, INT_MIN), 0);  // 2^46 wraps to 0
  EXPECT_EQ(T_MetricSquare(-0x18000), 0x24000);
  EXPECT_EQ(T_MetricSquare(INT_MIN), 0);
}

TEST(Metric, DivisionRoundsAndSaturates) {
  EXPECT_EQ(T_MetricDiv(0x10000, 0x30000), 21845);
  EXPECT_EQ(T_MetricDiv(-0x10000, 0x30000), -21845);
  for (T_MetricT x : {INT_MIN, -1, 0, 1, 12345678, INT_MAX}) EXPECT_EQ(T_MetricDiv(x, 0x10000), x);

  TdeMetricOverflow = 0;
  EXPECT_EQ(T_MetricDiv(0x40000000, 0x7FFF), INT_MAX);
  EXPECT_EQ(T_MetricDiv(-0x40000000, 0x7FFF), INT_MIN);
  EXPECT_EQ(TdeMetricOverflow, 2);  // counted, not merely set

  // Exactly 32768.0 does not fit; exactly -32768.0 does.
  TdeMetricOverflow = 0;
  EXPECT_EQ(T_MetricDiv(0x40000000, 0x8000), INT_MAX);
  EXPECT_EQ(TdeMetricOverflow, 1);
  EXPECT_EQ(T_MetricDiv(-0x40000000, 0x8000), INT_MIN);
  EXPECT_EQ(T_MetricDiv(INT_MIN, 0x10000), INT_MIN);
  EXPECT_EQ(TdeMetricOverflow, 1);
  EXPECT_EQ(T_MetricDiv(INT_MIN, -0x10000), INT_MAX);
  EXPECT_EQ(TdeMetricOverflow, 2);

  EXPECT_EQ(T_MetricMake(1, 3), 21845);
  EXPECT_EQ(T_MetricMake(7, 1), 0x70000);
}

TEST(Metric, OverflowIndicatorStopsAtIntMax) {
  TdeMetricOverflow = INT_MAX;
  T_MetricDiv(INT_MAX, 1);
  EXPECT_EQ(TdeMetricOverflow, INT_MAX);
}

TEST(Metric, FractionalMultiply) {
  TdeMetricOverflow = 0;
  EXPECT_EQ(T_MetricFractMul(0xA0000, 2, 3), 0x6AAAA);
  for (T_MetricT a : {0x10000, -0x50000, 12345, 0x20000000 / 3})
    EXPECT_EQ(T_MetricFractMul(a, 0x30000, 0x20000), a / 2 * 3 + (a % 2) * 3 / 2);
  EXPECT_EQ(T_MetricFractMul(-0x10000, -0x30000, 0x20000), 0x18000);  // two signs cancel
  EXPECT_EQ(TdeMetricOverflow, 0);

  // The indicator is set, not counted; the value saturates by sign.
  EXPECT_EQ(T_MetricFractMul(0x40000000, 0x10000, 0x10000), INT_MAX);
  EXPECT_EQ(T_MetricFractMul(0x40000000, -0x10000, 0x10000), INT_MIN);
  EXPECT_EQ(TdeMetricOverflow, 1);
  TdeMetricOverflow = 0;
  EXPECT_EQ(T_MetricFractMul(0x3FFFFFFF, 0x10000, 0x10000), 0x3FFFFFFF);
  EXPECT_EQ(TdeMetricOverflow, 0);
}

TEST(Metric, FractionalMultiplyBeyondTheSplit) {
  // -32768.0 * 1.0 / 1.0: the 32-bit split's high product wraps to 0 here;
  // the magnitude is far beyond 16384.0, so it must report an overflow.
  TdeMetricOverflow = 0;
  EXPECT_EQ(T_MetricFractMul(INT_MIN, 0x10000, 0x10000), INT_MIN);
  EXPECT_EQ(TdeMetricOverflow, 1);
  TdeMetricOverflow = 0;
  EXPECT_EQ(T_MetricFractMul(INT_MIN, -0x40000, 0x20000), INT_MAX);
  EXPECT_EQ(TdeMetricOverflow, 1);

  // A ratio that halves the divisor to 0 is an overflow, whatever a is.
  TdeMetricOverflow = 0;
  EXPECT_EQ(T_MetricFractMul(5, INT_MAX, 1), INT_MAX);
  EXPECT_EQ(TdeMetricOverflow, 1);
}

TEST(Metric, SquareRoot) {
  EXPECT_EQ(T_MetricSqrt(0), 0);
  EXPECT_EQ(T_MetricSqrt(0x40000), 0x20000);
  EXPECT_EQ(T_MetricSqrt(1), 256);
  EXPECT_EQ(T_MetricSqrt(0x20000), 92681);
  EXPECT_EQ(T_MetricSqrt(INT_MAX), 11863283);
  EXPECT_EQ(T_MetricSqrt(0x7FFF0000), 11863102);
}

TEST(Metric, ApproximateEquality) {
  EXPECT_EQ(T_MetricApproxEqual(1000, 1015), 1);
  EXPECT_EQ(T_MetricApproxEqual(1015, 1000), 1);
  EXPECT_EQ(T_MetricApproxEqual(1000, 1016), 0);
  // Far apart with opposite signs: a 32-bit difference would wrap to -1.
  EXPECT_EQ(T_MetricApproxEqual(INT_MAX, INT_MIN), 0);
  EXPECT_EQ(T_MetricApproxEqual(INT_MIN, INT_MIN + 15), 1);
}

T_MetricT folded(T_MetricT v, T_MetricT lo) {
  T_MetricConstrainAngle(&v, lo);
  return v;
}

TEST(Metric, AngleFolding) {
  const T_MetricT deg = 0x10000;
  for (auto [in, out] : {std::pair{-90 * deg, 270 * deg}, {720 * deg, 0}, {360 * deg, 0},
                         {359 * deg, 359 * deg}, {INT_MIN, 23068672}}) {
    T_MetricT v = in;
    T_MetricNormalizeAngle(&v);
    EXPECT_EQ(v, out) << in;
  }
  EXPECT_EQ(folded(190 * deg, -180 * deg), -170 * deg);
  EXPECT_EQ(folded(INT_MAX, INT_MIN), INT_MIN + static_cast<T_MetricT>(0xFFFFFFFFLL % 0x1680000));
  // A lower bound with less than a turn above it: the angle is kept, one
  // turn below lo, rather than wrapping or looping.
  const T_MetricT lo = INT_MAX - 10;
  EXPECT_EQ(folded(lo - 5, lo), lo - 5);
  EXPECT_EQ(folded(lo + 3, lo), lo + 3);
  EXPECT_EQ(folded(0, lo), static_cast<T_MetricT>(lo - (static_cast<std::int64_t>(lo) % 0x1680000)));
}

TEST(Metric, Conversions) {
  EXPECT_EQ(T_MetricFloat(72.0), 0x480000);
  EXPECT_EQ(T_MetricFloat(1e-6), 0);
  EXPECT_EQ(T_MetricFloat(-0.5), -32768);
  EXPECT_EQ(T_MetricFloat(32767.99999), INT_MAX);
  EXPECT_EQ(T_MetricFloat(32768.0), INT_MAX);
  EXPECT_EQ(T_MetricFloat(-32768.00001), INT_MIN);
  EXPECT_EQ(T_MetricFloat(std::numeric_limits<double>::infinity()), INT_MAX);
  EXPECT_EQ(T_MetricFloat(-std::numeric_limits<double>::infinity()), INT_MIN);
  EXPECT_EQ(T_MetricFloat(std::nan("")), 0);
  EXPECT_EQ(T_MetricToFloat(0x10000), 1.0);
  EXPECT_EQ(T_MetricToFloat(0x1000001), 256.0);  // 24-bit significand
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

// ---- Agreement with the step-by-step 32-bit algorithms ------------------

std::vector<std::int32_t> boundaryValues() {
  std::vector<std::int32_t> v;
  for (std::int64_t base : {0LL, 1LL << 15, 1LL << 16, 1LL << 30, 1LL << 31}) {
    for (int d = -2; d <= 2; ++d) {
      for (std::int64_t x : {base + d, -base + d}) {
        if (x >= INT_MIN && x <= INT_MAX) v.push_back(static_cast<std::int32_t>(x));
      }
    }
  }
  for (std::int32_t x : {0xFFFF, 0x17FFF, 0x18000, 0x30000, 0x1680000, 0x7FFF0000, 0x7FFF, 92681})
    v.insert(v.end(), {x, -x});
  return v;
}

class Inputs {
 public:
  std::int32_t next() {
    const std::uint64_t r = rng_();
    const auto low = static_cast<std::uint32_t>(r);
    switch ((r >> 32) % 6) {
      case 0:
        return static_cast<std::int32_t>(low);
      case 1:  // any magnitude, so every bit length is common
        return static_cast<std::int32_t>(low) >> ((r >> 40) % 32);
      case 2:
        return static_cast<std::int32_t>(low & 0xFFFF0000u);  // whole numbers
      case 3:
        return static_cast<std::int32_t>(low % 0x40000) - 0x20000;
      case 4: {
        const std::int64_t x = std::int64_t{1} << ((r >> 40) % 32);
        const std::int64_t v = ((r >> 48) & 1 ? -x : x) + static_cast<int>((r >> 50) % 5) - 2;
        return static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
      }
      default:
        return boundary_[low % boundary_.size()];
    }
  }
  std::uint64_t raw() { return rng_(); }

 private:
  std::mt19937_64 rng_{20240611};
  std::vector<std::int32_t> boundary_ = boundaryValues();
};

#define EXPECT_SAME(libCall, refCall, inputs)                                     \
  do {                                                                            \
    TdeMetricOverflow = 0;                                                        \
    ref::overflow = 0;                                                            \
    const auto got = (libCall);                                                   \
    const auto want = (refCall);                                                  \
    ASSERT_EQ(got, want) << inputs;                                               \
    ASSERT_EQ(TdeMetricOverflow, ref::overflow) << "overflow indicator, " << inputs; \
  } while (0)

TEST(MetricReference, MultiplyAndSquare) {
  Inputs in;
  for (int i = 0; i < kRandomCases; ++i) {
    const std::int32_t a = in.next(), b = in.next();
    EXPECT_SAME(T_MetricMul(a, b), ref::metricMul(a, b), a << ' ' << b);
    EXPECT_SAME(T_MetricSquare(a), ref::metricSquare(a), a);
  }
}

TEST(MetricReference, Division) {
  Inputs in;
  auto check = [](std::int32_t a, std::int32_t b) {
    if (b == 0) return;
    EXPECT_SAME(T_MetricDiv(a, b), ref::metricDiv(a, b), a << " / " << b);
  };
  for (std::int32_t a : boundaryValues())
    for (std::int32_t b : boundaryValues()) check(a, b);
  for (int i = 0; i < kRandomCases; ++i) {
    const std::int32_t a = in.next(), b = in.next();
    check(a, b);
    // Quotients at and around +-32768.0.
    const std::int64_t edge = static_cast<std::int64_t>(b) * 32768 * (in.raw() & 1 ? 1 : -1);
    const std::int64_t near = edge + static_cast<int>(in.raw() % 3) - 1;
    if (near >= INT_MIN && near <= INT_MAX) check(static_cast<std::int32_t>(near), b);
    const int n = static_cast<int>(in.raw() % 200001) - 100000, d = in.next() >> 16;
    if (d % 0x10000 != 0) {
      EXPECT_SAME(T_MetricMake(n, d), ref::metricMake(n, d), n << " make " << d);
    }
  }
}

TEST(MetricReference, FractionalMultiply) {
  Inputs in;
  auto check = [](std::int32_t a, std::int32_t b, std::int32_t c) {
    if (c == 0) return;
    if (ref::fractMulWraps(a, b, c)) {  // mended: overflow instead of 0
      TdeMetricOverflow = 0;
      ASSERT_EQ(T_MetricFractMul(a, b, c), (b < 0) != (c < 0) ? INT_MAX : INT_MIN);
      ASSERT_EQ(TdeMetricOverflow, 1);
      return;
    }
    EXPECT_SAME(T_MetricFractMul(a, b, c), ref::metricFractMul(a, b, c),
                a << " * " << b << " / " << c);
  };
  const std::vector<std::int32_t> edges = boundaryValues();
  for (std::int32_t a : edges)
    for (std::int32_t b : edges)
      for (std::int32_t c : edges) check(a, b, c);
  for (int i = 0; i < kRandomCases; ++i) {
    const std::int32_t a = in.next(), b = in.next(), c = in.next();
    check(a, b, c);
    // Magnitudes around the 16384.0 limit once b and c are scaled.
    std::int64_t B = std::llabs(b), C = std::llabs(c);
    while (B > 0x10000 || C > 0x10000) B >>= 1, C >>= 1;
    if (B == 0 || C == 0) continue;
    const std::int64_t edge = ((std::int64_t{1} << 30) * C + B - 1) / B + static_cast<int>(in.raw() % 3) - 1;
    if (edge <= INT_MAX) check(static_cast<std::int32_t>(in.raw() & 1 ? edge : -edge), b, c);
  }
}

TEST(MetricReference, SquareRootAndConversions) {
  Inputs in;
  for (std::int32_t m : boundaryValues()) {
    if (m >= 0) EXPECT_SAME(T_MetricSqrt(m), ref::metricSqrt(m), m);
  }
  for (int i = 0; i < kRandomCases / 10; ++i) {
    const std::int32_t m = in.next() & INT_MAX;
    EXPECT_SAME(T_MetricSqrt(m), ref::metricSqrt(m), m);
    const double d = static_cast<double>(in.next()) / (1 << (in.raw() % 20));
    EXPECT_SAME(T_MetricFloat(d), ref::metricFloat(d), d);
    EXPECT_SAME(T_MetricToFloat(m), ref::metricToFloat(m), m);
  }
}

TEST(MetricReference, ApproxEqualAndAngles) {
  Inputs in;
  for (int i = 0; i < kRandomCases / 10; ++i) {
    const std::int32_t a = in.next();
    const std::int32_t b = in.raw() & 1 ? in.next()
                                        : static_cast<std::int32_t>(static_cast<std::uint32_t>(a) +
                                                                    in.raw() % 41 - 20);
    EXPECT_SAME(T_MetricApproxEqual(a, b), ref::metricApproxEqual(a, b), a << ' ' << b);
    const std::int32_t lo = std::min(in.next(), INT_MAX - 0x1680000);
    T_MetricT got = a, want = a;
    T_MetricConstrainAngle(&got, lo);
    ref::metricConstrainAngle(&want, lo);
    ASSERT_EQ(got, want) << a << " from " << lo;
  }
}

}  // namespace
