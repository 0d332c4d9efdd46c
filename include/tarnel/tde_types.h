/** @file
 * Scalar types shared by the foundation library and the wire protocol. */
#ifndef TARNEL_TDE_TYPES_H
#define TARNEL_TDE_TYPES_H

/** @ingroup foundation
 * A measurement in 16.16 fixed point: 1.0 is 0x10000; angles in degrees
 * (360.0 is 0x1680000). See @ref metrics. */
typedef int T_MetricT;

#endif
