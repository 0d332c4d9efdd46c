// Any value of the protocol as an event's value: records by the field names
// of the protocol file, the value types by their own, typed values as
// document descriptions write them ({"int": 5}, {"string": "x"}, ...).
#ifndef TARNEL_TRACE_VALUES_H
#define TARNEL_TRACE_VALUES_H

#include <string_view>

#include <tarnel/api_values.h>

#include "trace/node.h"

namespace tarnel::trace {

// A decoded value of the named type ("int", "StringT", a record of the
// protocol file or a value type); "void" is null.
Node valueNode(std::string_view type, const void *value);
// A typed value as document descriptions write it.
Node typedValueNode(const T_TypedValT &value);

}  // namespace tarnel::trace

#endif
