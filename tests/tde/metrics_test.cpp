// 16.16 arithmetic: stated examples, broken preconditions, and agreement
// with a step-by-step transcription of the 32-bit algorithms (namespace
// ref), the yardstick for the library's 64-bit versions.
#include <tarnel/tde_memory.h>
#include <tarnel/tde_metrics.h>

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <random>
#include <vector>

using std::int32_t;
using std::uint32_t;

namespace ref {

int overflow = 0;  // mirrors TdeMetricOverflow; the fatal paths abort

uint32_t mag(int32_t v) { return v < 0 ? 0u - static_cast<uint32_t>(v) : static_cast<uint32_t>(v); }
// (Ah*Bh) << 16 + Ah*Bl + Al*Bh + (Al*Bl) >> 16, modulo 2^32.
uint32_t partialProducts(uint32_t A, uint32_t B) {
  const uint32_t Ah = A >> 16, Al = A & 0xFFFF, Bh = B >> 16, Bl = B & 0xFFFF;
  return ((Ah * Bh) << 16) + Ah * Bl + Al * Bh + ((Al * Bl) >> 16);
}
void scale(uint32_t &B, uint32_t &C) {
  while (B > 0x10000 || C > 0x10000) B >>= 1, C >>= 1;
}

int32_t metricFloat(double d) {
  const double x = d * 65536.0;
  if (x != x) return 0;
  const double t = std::trunc(x);
  return t > 2147483647.0 ? INT_MAX : t < -2147483648.0 ? INT_MIN : static_cast<int32_t>(t);
}
double metricToFloat(int32_t m) { return static_cast<float>(m) * 1.5258789e-5f; }
int32_t metricMul(int32_t a, int32_t b) {
  const uint32_t R = partialProducts(mag(a), mag(b));
  return static_cast<int32_t>((a > 0) != (b > 0) ? 0u - R : R);
}
int32_t metricSquare(int32_t m) { return static_cast<int32_t>(partialProducts(mag(m), mag(m))); }

int32_t metricDiv(int32_t a, int32_t b) {
  if (b == 0) overflow += 1, std::abort();
  if (b == 0x10000) return a;
  if ((b & 0xFFFF) == 0) {
    const int32_t whole = b / 65536;
    if (a == INT_MIN && whole == -1) return overflow += 1, INT_MAX;
    return a / whole;
  }
  uint32_t N = mag(a), D = mag(b), q = 0x10000, Q = 0;
  const bool negative = (a > 0) != (b > 0);
  while (D < N && (D << 1) != 0) D <<= 1, q <<= 1;
  if (q == 0) return overflow += 1, negative ? INT_MIN : INT_MAX;
  if (D & 0x80000000u) {
    if (N >= D) N -= D, Q |= q;
    D >>= 1, q >>= 1;
  }
  for (; q != 0 && N != 0; N <<= 1, q >>= 1)
    if (N >= D) N -= D, Q |= q;
  if (!negative && Q == 0x80000000u) return overflow += 1, INT_MAX;
  return static_cast<int32_t>(negative ? 0u - Q : Q);
}
int32_t metricMake(int n, int d) {
  return metricDiv(static_cast<int32_t>(static_cast<uint32_t>(n) * 65536u),
                   static_cast<int32_t>(static_cast<uint32_t>(d) * 65536u));
}

int32_t metricFractMul(int32_t a, int32_t b, int32_t c) {
  if (c == 0) std::abort();
  const bool negative = ((c < 0) != (b < 0)) != (a < 0);
  uint32_t C = mag(c), B = mag(b);
  const uint32_t A = mag(a);
  scale(B, C);
  if (C == 0) return overflow = 1, negative ? INT_MIN : INT_MAX;  // the library's choice: no division
  const uint32_t Ah = A >> 15, Al = A & 0x7FFF, L = Al * B, H = Ah * B + (L >> 15), q = H / C, r = H % C;
  if (q > 0x7FFF) return overflow = 1, negative ? INT_MIN : INT_MAX;  // the library's choice of value
  const uint32_t result = (q << 15) + ((r << 15) + (L & 0x7FFF)) / C;
  return negative ? -static_cast<int32_t>(result) : static_cast<int32_t>(result);
}
// |a| is 2^31 and b scales to exactly 1.0: the 32-bit split's high product
// wraps and the transcription yields 0 where the library reports overflow.
bool fractMulWraps(int32_t a, int32_t b, int32_t c) {
  uint32_t B = mag(b), C = mag(c);
  scale(B, C);
  return a == INT_MIN && C != 0 && B == 0x10000;
}

int32_t metricSqrt(int32_t m) {
  if (m < 0) std::abort();
  if (m == 0) return 0;
  for (int32_t x = m, i = 0; i < 50; ++i) {
    const int32_t y = static_cast<int32_t>((static_cast<int64_t>(x) + metricDiv(m, x)) >> 1);
    if (std::llabs(static_cast<long long>(x) - y) <= 16) return y;
    x = y;
  }
  return metricFloat(std::sqrt(metricToFloat(m)));
}
int metricApproxEqual(int32_t a, int32_t b) { return std::llabs(int64_t{a} - b) <= 15; }
// lo + 360.0 must fit in 32 bits.
void metricConstrainAngle(int32_t *pa, int32_t lo) {
  while (*pa < lo) *pa += 0x1680000;
  while (*pa >= lo + 0x1680000) *pa -= 0x1680000;
}

}  // namespace ref

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr int kRandomCases = 1000000;
#else
constexpr int kRandomCases = 2000000;
#endif
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
      {"normalize 360", [] { return normalized(360 * kDeg); }, 0, 0},
      {"normalize 359", [] { return normalized(359 * kDeg); }, 359 * kDeg, 0},
      {"normalize INT_MIN", [] { return normalized(INT_MIN); }, 23068672, 0},
      {"fold all", [] { return folded(INT_MAX, INT_MIN); }, INT_MIN + static_cast<T_MetricT>(0xFFFFFFFFLL % 0x1680000), 0},
      // A lower bound with less than a turn above it: the angle is kept one
      // turn below lo rather than wrapping or looping.
      {"fold near top", [] { return folded(INT_MAX - 15, INT_MAX - 10); }, INT_MAX - 15, 0},
      {"fold near top 2", [] { return folded(INT_MAX - 7, INT_MAX - 10); }, INT_MAX - 7, 0},
      {"fold near top 3", [] { return folded(0, INT_MAX - 10); }, (INT_MAX - 10) - ((INT_MAX - 10) % 0x1680000), 0},
      {"72.0", [] { return T_MetricFloat(72.0); }, 0x480000, 0},
      {"32767.99999", [] { return T_MetricFloat(32767.99999); }, INT_MAX, 0},
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

// ---- Agreement with the transcription -------------------------------------

std::vector<int32_t> boundaryValues() {
  std::vector<int32_t> v;
  for (int64_t base : {0LL, 1LL << 15, 1LL << 16, 1LL << 30, 1LL << 31})
    for (int d = -2; d <= 2; ++d)
      for (int64_t x : {base + d, -base + d})
        if (x >= INT_MIN && x <= INT_MAX) v.push_back(static_cast<int32_t>(x));
  for (int32_t x : {0xFFFF, 0x17FFF, 0x18000, 0x30000, 0x1680000, 0x7FFF0000, 0x7FFF, 92681}) v.insert(v.end(), {x, -x});
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
      case 4: return static_cast<int32_t>(static_cast<uint32_t>(((r >> 48) & 1 ? -pow : pow) + int((r >> 50) % 5) - 2));
      default: return boundary_[low % boundary_.size()];
    }
  }
  uint64_t raw() { return rng_(); }

 private:
  std::mt19937_64 rng_{20240611};
  std::vector<int32_t> boundary_ = boundaryValues();
};

#define EXPECT_SAME(libCall, refCall, inputs)                                       \
  do {                                                                              \
    TdeMetricOverflow = ref::overflow = 0;                                          \
    const auto got = (libCall);                                                     \
    const auto want = (refCall);                                                    \
    ASSERT_EQ(got, want) << inputs;                                                 \
    ASSERT_EQ(TdeMetricOverflow, ref::overflow) << "overflow indicator, " << inputs; \
  } while (0)

TEST(MetricReference, MultiplyAndSquare) {
  Inputs in;
  for (int i = 0; i < kRandomCases; ++i) {
    const int32_t a = in.next(), b = in.next();
    EXPECT_SAME(T_MetricMul(a, b), ref::metricMul(a, b), a << ' ' << b);
    EXPECT_SAME(T_MetricSquare(a), ref::metricSquare(a), a);
  }
}

TEST(MetricReference, Division) {
  Inputs in;
  auto check = [](int32_t a, int32_t b) {
    if (b != 0) EXPECT_SAME(T_MetricDiv(a, b), ref::metricDiv(a, b), a << " / " << b);
  };
  for (int32_t a : boundaryValues())
    for (int32_t b : boundaryValues()) check(a, b);
  for (int i = 0; i < kRandomCases; ++i) {
    const int32_t a = in.next(), b = in.next();
    check(a, b);
    // Quotients at and around +-32768.0.
    const int64_t near = int64_t{b} * 32768 * (in.raw() & 1 ? 1 : -1) + int(in.raw() % 3) - 1;
    if (near >= INT_MIN && near <= INT_MAX) check(static_cast<int32_t>(near), b);
    const int n = static_cast<int>(in.raw() % 200001) - 100000, d = in.next() >> 16;
    if (d % 0x10000 != 0) EXPECT_SAME(T_MetricMake(n, d), ref::metricMake(n, d), n << " make " << d);
  }
}

TEST(MetricReference, FractionalMultiply) {
  Inputs in;
  auto check = [](int32_t a, int32_t b, int32_t c) {
    if (c == 0) return;
    if (ref::fractMulWraps(a, b, c)) {  // mended: overflow instead of 0
      TdeMetricOverflow = 0;
      ASSERT_EQ(T_MetricFractMul(a, b, c), (b < 0) != (c < 0) ? INT_MAX : INT_MIN);
      ASSERT_EQ(TdeMetricOverflow, 1);
      return;
    }
    EXPECT_SAME(T_MetricFractMul(a, b, c), ref::metricFractMul(a, b, c), a << " * " << b << " / " << c);
  };
  const std::vector<int32_t> edges = boundaryValues();
  for (int32_t a : edges)
    for (int32_t b : edges)
      for (int32_t c : edges) check(a, b, c);
  for (int i = 0; i < kRandomCases; ++i) {
    const int32_t a = in.next(), b = in.next(), c = in.next();
    check(a, b, c);
    // Magnitudes around the 16384.0 limit once b and c are scaled.
    int64_t B = std::llabs(b), C = std::llabs(c);
    while (B > 0x10000 || C > 0x10000) B >>= 1, C >>= 1;
    if (B == 0 || C == 0) continue;
    const int64_t edge = ((int64_t{1} << 30) * C + B - 1) / B + static_cast<int>(in.raw() % 3) - 1;
    if (edge <= INT_MAX) check(static_cast<int32_t>(in.raw() & 1 ? edge : -edge), b, c);
  }
}

TEST(MetricReference, SquareRootConversionsApproxAndAngles) {
  Inputs in;
  for (int32_t m : boundaryValues())
    if (m >= 0) EXPECT_SAME(T_MetricSqrt(m), ref::metricSqrt(m), m);
  for (int i = 0; i < kRandomCases / 10; ++i) {
    const int32_t m = in.next() & INT_MAX;
    EXPECT_SAME(T_MetricSqrt(m), ref::metricSqrt(m), m);
    const double d = static_cast<double>(in.next()) / (1 << (in.raw() % 20));
    EXPECT_SAME(T_MetricFloat(d), ref::metricFloat(d), d);
    EXPECT_SAME(T_MetricToFloat(m), ref::metricToFloat(m), m);
    const int32_t a = in.next();
    const int32_t b = in.raw() & 1 ? in.next() : static_cast<int32_t>(static_cast<uint32_t>(a) + in.raw() % 41 - 20);
    EXPECT_SAME(T_MetricApproxEqual(a, b), ref::metricApproxEqual(a, b), a << ' ' << b);
    const int32_t lo = std::min(in.next(), INT_MAX - 0x1680000);
    T_MetricT got = a, want = a;
    T_MetricConstrainAngle(&got, lo);
    ref::metricConstrainAngle(&want, lo);
    ASSERT_EQ(got, want) << a << " from " << lo;
  }
}

}  // namespace
