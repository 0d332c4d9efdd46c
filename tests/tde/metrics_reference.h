// Step-by-step transcription of the 32-bit fixed-point algorithms, kept as
// the yardstick for the library's faster 64-bit versions. Only the effects
// are mirrored: the overflow indicator here is ref::overflow, and the
// fatal paths abort.
#pragma once

#include <cstdint>

namespace ref {

extern int overflow;

std::int32_t metricFloat(double d);
double metricToFloat(std::int32_t m);
std::int32_t metricMake(int n, int d);
std::int32_t metricMul(std::int32_t a, std::int32_t b);
std::int32_t metricSquare(std::int32_t m);
std::int32_t metricDiv(std::int32_t a, std::int32_t b);
std::int32_t metricFractMul(std::int32_t a, std::int32_t b, std::int32_t c);
std::int32_t metricSqrt(std::int32_t m);
int metricApproxEqual(std::int32_t a, std::int32_t b);
// lo + 360.0 must fit in 32 bits (lo <= INT_MAX - 0x1680000).
void metricConstrainAngle(std::int32_t* pa, std::int32_t lo);

// True when the 32-bit form of a*b/c wraps its high partial product (|a| is
// 2^31 and b scales to exactly 1.0): the transcription then yields 0.
bool fractMulWraps(std::int32_t a, std::int32_t b, std::int32_t c);

}  // namespace ref
