#include "metrics_reference.h"

#include <climits>
#include <cmath>
#include <cstdlib>

namespace ref {

int overflow = 0;

namespace {

std::uint32_t mag(std::int32_t v) {
  return v < 0 ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
}

// R = (Ah*Bh) << 16 + Ah*Bl + Al*Bh + (Al*Bl) >> 16, all modulo 2^32.
std::uint32_t partialProducts(std::uint32_t A, std::uint32_t B) {
  const std::uint32_t Ah = A >> 16, Al = A & 0xFFFF;
  const std::uint32_t Bh = B >> 16, Bl = B & 0xFFFF;
  return ((Ah * Bh) << 16) + Ah * Bl + Al * Bh + ((Al * Bl) >> 16);
}

void scale(std::uint32_t& B, std::uint32_t& C) {
  while (B > 0x10000 || C > 0x10000) {
    B >>= 1;
    C >>= 1;
  }
}

}  // namespace

std::int32_t metricFloat(double d) {
  const double x = d * 65536.0;
  if (x != x) return 0;
  const double t = std::trunc(x);
  if (t > 2147483647.0) return INT_MAX;
  if (t < -2147483648.0) return INT_MIN;
  return static_cast<std::int32_t>(t);
}

double metricToFloat(std::int32_t m) {
  const float f = static_cast<float>(m);
  const float scaled = f * 1.5258789e-5f;
  return scaled;
}

std::int32_t metricMake(int n, int d) {
  const std::uint32_t sn = static_cast<std::uint32_t>(n) * 65536u;
  const std::uint32_t sd = static_cast<std::uint32_t>(d) * 65536u;
  return metricDiv(static_cast<std::int32_t>(sn), static_cast<std::int32_t>(sd));
}

std::int32_t metricMul(std::int32_t a, std::int32_t b) {
  const bool negate = (a > 0) != (b > 0);
  std::uint32_t R = partialProducts(mag(a), mag(b));
  if (negate) R = 0u - R;
  return static_cast<std::int32_t>(R);
}

std::int32_t metricSquare(std::int32_t m) {
  return static_cast<std::int32_t>(partialProducts(mag(m), mag(m)));
}

std::int32_t metricDiv(std::int32_t a, std::int32_t b) {
  if (b == 0) {
    overflow += 1;
    std::abort();
  }
  if (b == 0x10000) return a;
  if ((b & 0xFFFF) == 0) {
    const std::int32_t whole = b / 65536;
    if (a == INT_MIN && whole == -1) {
      overflow += 1;
      return INT_MAX;
    }
    return a / whole;
  }
  std::uint32_t N = mag(a), D = mag(b);
  const bool negative = (a > 0) != (b > 0);
  std::uint32_t q = 0x10000, Q = 0;
  while (D < N) {
    if ((D << 1) == 0) break;
    D <<= 1;
    q <<= 1;
  }
  if (q == 0) {
    overflow += 1;
    return negative ? INT_MIN : INT_MAX;
  }
  if (D & 0x80000000u) {
    if (N >= D) {
      N -= D;
      Q |= q;
    }
    D >>= 1;
    q >>= 1;
  }
  while (q != 0 && N != 0) {
    if (N >= D) {
      N -= D;
      Q |= q;
    }
    N <<= 1;
    q >>= 1;
  }
  if (!negative && Q == 0x80000000u) {
    overflow += 1;
    return INT_MAX;
  }
  if (negative) Q = 0u - Q;
  return static_cast<std::int32_t>(Q);
}

std::int32_t metricFractMul(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) std::abort();
  bool negative = false;
  if (c < 0) negative = !negative;
  if (b < 0) negative = !negative;
  if (a < 0) negative = !negative;
  std::uint32_t C = mag(c), B = mag(b);
  const std::uint32_t A = mag(a);
  scale(B, C);
  if (C == 0) {  // the library's choice: an overflow, no division
    overflow = 1;
    return negative ? INT_MIN : INT_MAX;
  }
  const std::uint32_t Ah = A >> 15, Al = A & 0x7FFF;
  const std::uint32_t L = Al * B;
  const std::uint32_t H = Ah * B + (L >> 15);
  const std::uint32_t q = H / C, r = H % C;
  if (q > 0x7FFF) {
    overflow = 1;
    return negative ? INT_MIN : INT_MAX;  // the library's choice of value
  }
  const std::uint32_t result = (q << 15) + ((r << 15) + (L & 0x7FFF)) / C;
  return negative ? -static_cast<std::int32_t>(result) : static_cast<std::int32_t>(result);
}

bool fractMulWraps(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (a != INT_MIN || c == 0) return false;
  std::uint32_t B = mag(b), C = mag(c);
  scale(B, C);
  return C != 0 && B == 0x10000;
}

std::int32_t metricSqrt(std::int32_t m) {
  if (m < 0) std::abort();
  if (m == 0) return 0;
  std::int32_t x = m;
  for (int i = 0; i < 50; ++i) {
    const std::int32_t y =
        static_cast<std::int32_t>((static_cast<std::int64_t>(x) + metricDiv(m, x)) >> 1);
    if (std::llabs(static_cast<long long>(x) - y) <= 16) return y;
    x = y;
  }
  return metricFloat(std::sqrt(metricToFloat(m)));
}

int metricApproxEqual(std::int32_t a, std::int32_t b) {
  const std::int64_t larger = a > b ? a : b, smaller = a > b ? b : a;
  return larger - smaller <= 15 ? 1 : 0;
}

void metricConstrainAngle(std::int32_t* pa, std::int32_t lo) {
  std::int32_t v = *pa;
  while (v < lo) v += 0x1680000;
  const std::int32_t hi = lo + 0x1680000;
  while (v >= hi) v -= 0x1680000;
  *pa = v;
}

}  // namespace ref
