// How the decoders of strings and counted lists grow their buffers. They
// never trust a length word for the size of an allocation: a buffer starts at
// kFirstGrowthBytes and grows (doubling, at most kMaxGrowthStepBytes a step)
// only as data actually decodes, so a length far beyond the data fails after
// a bounded allocation.
#ifndef TARNEL_WIRE_DECODE_GROWTH_H
#define TARNEL_WIRE_DECODE_GROWTH_H

#include <rpc/rpc.h>

namespace tarnel::wire {

// Both are multiples of 4, so every string chunk but the last ends on an XDR
// unit boundary and the final one takes the padding.
inline constexpr u_int kFirstGrowthBytes = 4096;
inline constexpr u_int kMaxGrowthStepBytes = 1u << 20;

}  // namespace tarnel::wire

#endif
