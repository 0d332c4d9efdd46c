// Every record of the protocol file by field: generated from it at build time
// (gen_tables.awk), so that requests and replies are shown and matched by the
// names the protocol gives their fields.
#ifndef TARNEL_WIRE_RECORD_FIELDS_H
#define TARNEL_WIRE_RECORD_FIELDS_H

#include <cstddef>
#include <string_view>

namespace tarnel::wire {

struct FieldEntry {
    const char *name;
    const char *type;  // "int", "unsigned int", "StringT", a record or value type
    std::size_t offset;
    bool pointer;  // "TYPE *name": may be null
};

struct RecordFields {
    const char *name;
    const FieldEntry *fields;
    std::size_t count;
};

// A procedure's stub name and its argument and reply types ("void" for
// none), in ascending order of number.
struct ProcTypes {
    unsigned int number;
    const char *stub;
    const char *argType;
    const char *resType;
};

extern const ProcTypes procTypes[];
extern const std::size_t procTypesCount;
// Null when the program has no such procedure.
const ProcTypes *findProcTypes(unsigned int number);

extern const RecordFields recordFields[];
extern const std::size_t recordFieldsCount;

// Null when the name is not a record of the protocol file.
const RecordFields *findRecord(std::string_view name);

}  // namespace tarnel::wire

#endif
