/** @file
 * 16.16 fixed-point measurements: arithmetic, conversions, angle folding. */
#ifndef TARNEL_TDE_METRICS_H
#define TARNEL_TDE_METRICS_H

#include <tarnel/cdecls.h>
#include <tarnel/tde_types.h>

TARNEL_BEGIN_DECLS

/** @defgroup metrics Metrics
 * @ingroup foundation
 * Arithmetic on #T_MetricT values (16.16 fixed point). A "failure" below
 * is a broken precondition: it goes to TdeFail() and does not return.
 * @{ */

/** Overflow indicator: T_MetricDiv() adds 1 per overflow (and per division
 * by zero), T_MetricFractMul() sets it to 1. Nothing here clears it: set it
 * to 0, compute, then test for non-zero. It stops counting at INT_MAX. */
extern int TdeMetricOverflow;

/** @param d the value
 * @return d * 65536 truncated toward zero; saturates out of range; NaN
 *         gives 0 */
T_MetricT T_MetricFloat(double d);
/** @param m the measurement
 * @return m through single precision times 2^-16, widened to double */
double T_MetricToFloat(T_MetricT m);
/** @param n,d numerator and denominator
 * @return n/d as T_MetricDiv(n * 65536, d * 65536), the products wrapping
 *         in 32 bits */
T_MetricT T_MetricMake(int n, int d);
/** @param a,b the factors
 * @return a*b/65536 truncated toward zero; wraps silently */
T_MetricT T_MetricMul(T_MetricT a, T_MetricT b);
/** @param a the dividend
 * @param b the divisor; 0 counts an overflow, then fails
 * @return a*65536/b truncated toward zero; saturates and counts overflow */
T_MetricT T_MetricDiv(T_MetricT a, T_MetricT b);
/** a*b/c with b and c first scaled down to at most 1.0.
 * @param a,b the factors
 * @param c the divisor; 0 fails
 * @return the quotient truncated toward zero; a magnitude of 16384.0 or
 *         more sets #TdeMetricOverflow to 1 and gives 0x7FFFFFFF or
 *         0x80000000 by sign */
T_MetricT T_MetricFractMul(T_MetricT a, T_MetricT b, T_MetricT c);
/** @param m the measurement
 * @return m*m/65536 truncated; wraps silently */
T_MetricT T_MetricSquare(T_MetricT m);
/** @param m the measurement; negative fails
 * @return its square root (Newton iteration, truncated) */
T_MetricT T_MetricSqrt(T_MetricT m);
/** @param a,b the measurements
 * @return 1 when |a - b| <= 15 raw units, else 0 */
int T_MetricApproxEqual(T_MetricT a, T_MetricT b);
/** Folds *pa into [lo, lo + 360.0) by whole turns.
 * @param pa the angle, changed in place
 * @param lo the lower bound */
void T_MetricConstrainAngle(T_MetricT *pa, T_MetricT lo);
/** Folds *pa into [0, 360.0).
 * @param pa the angle, changed in place */
void T_MetricNormalizeAngle(T_MetricT *pa);

/** @} */

TARNEL_END_DECLS

#endif
