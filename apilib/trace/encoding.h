// A value's XDR encoding as hex text, as a trace records what travelled, and
// back: a replayed reply goes out byte for byte as it was recorded.
#ifndef TARNEL_TRACE_ENCODING_H
#define TARNEL_TRACE_ENCODING_H

#include <optional>
#include <string>
#include <string_view>

#include "wire/xdrproc.h"

namespace tarnel::trace {

// The encoding in lower-case hex; "" for nothing (xdr_void) or when the value
// cannot be encoded.
std::string xdrHex(xdrproc_t proc, const void *value);
// The bytes of hex text; none when it is not an even run of hex digits.
std::optional<std::string> hexBytes(std::string_view hex);

}  // namespace tarnel::trace

#endif
