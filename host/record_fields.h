// Requests by the names the protocol gives their fields (the generated table
// of wire/record_fields.h): request_args.cpp turns a decoded record into JSON
// (through the trace's value form) and compares it with what a scenario
// expects.
#ifndef TNHOST_RECORD_FIELDS_H
#define TNHOST_RECORD_FIELDS_H

#include <cstddef>
#include <memory>
#include <string>

#include <nlohmann/json_fwd.hpp>

#include "tarnel/api_to_tn.h"
#include "trace/node.h"
#include "wire/record_fields.h"

namespace tarnel::host {

using wire::FieldEntry;
using wire::findRecord;
using wire::RecordFields;

// A decoded value of the type as JSON: records as objects by field name,
// lists as arrays, typed values as document descriptions write them.
nlohmann::json valueAsJson(const std::string &type, const void *value);
// An event value as JSON: texts and words as strings, flags true.
nlohmann::json nodeJson(const trace::Node &value);
// Whether a procedure taking this argument stores a value: its record has a
// field `value`, `prop` or `props`. The request line of such a procedure
// shows every field of its argument (argFields), so a new one needs no code.
bool storesValue(const std::string &argType);
// The fields of the argument record, in the record's order, for the request
// line; an argument that is one value is the field `arg`, none is no field.
trace::Node argFields(const std::string &argType, const void *arg);
// A request's decoded argument record as JSON, kept with the request.
std::shared_ptr<const nlohmann::json> argsAsJson(const std::string &argType, const void *arg);
// Why `got` does not hold `expected` ("" when it does): objects need the
// expected keys only, arrays and scalars must be equal. `path` names the place.
std::string mismatch(const nlohmann::json &expected, const nlohmann::json &got, const std::string &path);
// The same for a request's decoded argument (null: not kept), at "args".
std::string argsMismatch(const nlohmann::json &expected, const std::shared_ptr<const nlohmann::json> &got);
// How many leaves of `expected` a request's decoded argument does not hold
// (0: it holds them all), to find the closest of several.
std::size_t argsMismatchCount(const nlohmann::json &expected, const std::shared_ptr<const nlohmann::json> &got);
// What a step expects of a request's argument, leaf by leaf:
// "args.message = \"Hi\", args.loc.offset = 3".
std::string expectedFields(const nlohmann::json &expected);
// Throws std::runtime_error at the first key of `expected` that the type has
// no field of (records of the protocol file only).
void checkFieldNames(const std::string &type, const nlohmann::json &expected, const std::string &path);

}  // namespace tarnel::host

#endif
