// 16.16 fixed-point arithmetic. The results are defined by 32-bit algorithms
// (16x16 partial products, shift-and-subtract division, a 15-bit split for
// a*b/c); 64-bit intermediates give the same values, and the same overflow
// reports, faster.
#include <tarnel/tde_memory.h>
#include <tarnel/tde_metrics.h>

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>

extern "C" {
int TdeMetricOverflow = 0;
}

namespace {

constexpr std::int64_t kOne = 0x10000;
constexpr std::int64_t kFullTurn = 0x1680000;  // 360.0

// Saturating, so a long run of overflows can never wrap the indicator back
// to zero (and never overflows a signed int).
void countOverflow() {
    if (TdeMetricOverflow != INT_MAX) ++TdeMetricOverflow;
}

std::uint32_t magnitude(std::int32_t v) {
    return v < 0 ? 0u - static_cast<std::uint32_t>(v) : static_cast<std::uint32_t>(v);
}

// Reduces a 64-bit value modulo 2^32 into a T_MetricT: the silent wrap of
// the 32-bit algorithms.
T_MetricT wrap(std::uint64_t v) { return static_cast<T_MetricT>(static_cast<std::uint32_t>(v)); }

}  // namespace

extern "C" {

T_MetricT T_MetricFloat(double d) {
    const double x = d * 65536.0;
    if (std::isnan(x)) return 0;
    if (x >= 2147483648.0) return INT_MAX;
    if (x <= -2147483649.0) return INT_MIN;  // anything above truncates into range
    return static_cast<T_MetricT>(x);
}

double T_MetricToFloat(T_MetricT m) {
    // Through single precision by design: from 256.0 up the low bits are lost.
    return static_cast<double>(static_cast<float>(m) * 1.5258789e-5f);
}

T_MetricT T_MetricMake(int n, int d) {
    return T_MetricDiv(wrap(static_cast<std::uint64_t>(static_cast<std::uint32_t>(n)) << 16),
                       wrap(static_cast<std::uint64_t>(static_cast<std::uint32_t>(d)) << 16));
}

T_MetricT T_MetricMul(T_MetricT a, T_MetricT b) {
    // Truncating division of the exact product is floor(|a||b| / 2^16) with
    // the product's sign, which is what the partial-product form yields.
    const std::int64_t p = static_cast<std::int64_t>(a) * b;
    return wrap(static_cast<std::uint64_t>(p / kOne));
}

T_MetricT T_MetricSquare(T_MetricT m) {
    const std::uint64_t mag = magnitude(m);
    return wrap((mag * mag) >> 16);
}

T_MetricT T_MetricDiv(T_MetricT a, T_MetricT b) {
    if (b == 0) {
        countOverflow();
        TdeFail();
    }
    // |a| <= 2^31 means a quotient above 32768.0 always truncates to more
    // than 2^31 raw, so checking the truncated quotient against the range is
    // the same test as |a| > |b| * 32768. Exactly +32768.0 does not fit and
    // counts; exactly -32768.0 does.
    const std::int64_t q = static_cast<std::int64_t>(a) * kOne / b;
    if (q > INT_MAX) {
        countOverflow();
        return INT_MAX;
    }
    if (q < INT_MIN) {
        countOverflow();
        return INT_MIN;
    }
    return static_cast<T_MetricT>(q);
}

T_MetricT T_MetricFractMul(T_MetricT a, T_MetricT b, T_MetricT c) {
    if (c == 0) TdeFail();
    const bool negative = ((a < 0) != (b < 0)) != (c < 0);
    const std::uint32_t am = magnitude(a);
    std::uint32_t bm = magnitude(b);
    std::uint32_t cm = magnitude(c);

    // Halve b and c together until neither exceeds 1.0: the fewest shifts s
    // with max >> s <= 0x10000.
    const std::uint32_t big = bm > cm ? bm : cm;
    if (big > 0x10000) {
        int s = std::bit_width(big) - 17;  // big >> s lies in [2^16, 2^17)
        if ((big >> s) > 0x10000) ++s;
        bm >>= s;
        cm >>= s;
    }

    // On overflow the result saturates by sign, like T_MetricDiv; callers are
    // meant to look at TdeMetricOverflow. A divisor halved to 0 means a ratio
    // of about 65536 or more and is reported the same way.
    std::uint64_t q = 0;
    if (cm != 0) q = static_cast<std::uint64_t>(am) * bm / cm;
    if (cm == 0 || q >= (1u << 30)) {
        TdeMetricOverflow = 1;
        return negative ? INT_MIN : INT_MAX;
    }
    const T_MetricT r = static_cast<T_MetricT>(q);
    return negative ? -r : r;
}

T_MetricT T_MetricSqrt(T_MetricT m) {
    if (m < 0) TdeFail();
    if (m == 0) return 0;
    T_MetricT x = m;
    for (int i = 0; i < 50; ++i) {
        // The sum is formed in 64 bits: near 32768.0 it does not fit in 32.
        const T_MetricT y = static_cast<T_MetricT>((static_cast<std::int64_t>(x) + T_MetricDiv(m, x)) >> 1);
        const std::int64_t delta = static_cast<std::int64_t>(x) - y;
        if (delta >= -16 && delta <= 16) return y;
        x = y;
    }
    return T_MetricFloat(std::sqrt(T_MetricToFloat(m)));
}

int T_MetricApproxEqual(T_MetricT a, T_MetricT b) {
    // Exact difference: the 32-bit subtraction would overflow for operands of
    // opposite sign far apart and could then report them equal.
    const std::int64_t diff = static_cast<std::int64_t>(a) - b;
    return diff >= -15 && diff <= 15;
}

void T_MetricConstrainAngle(T_MetricT *pa, T_MetricT lo) {
    // Folding by whole turns in 64 bits. Only a lower bound within one turn
    // of the top of the range can put the folded value beyond INT_MAX; it is
    // then stored one turn lower, which is the same angle, though below lo.
    std::int64_t v = *pa;
    const std::int64_t hi = static_cast<std::int64_t>(lo) + kFullTurn;
    while (v < lo) v += kFullTurn;
    while (v >= hi) v -= kFullTurn;
    if (v > INT_MAX) v -= kFullTurn;
    *pa = static_cast<T_MetricT>(v);
}

void T_MetricNormalizeAngle(T_MetricT *pa) { T_MetricConstrainAngle(pa, 0); }

}  // extern "C"
