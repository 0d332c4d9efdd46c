#include "wire/record_fields.h"

#include <algorithm>

namespace tarnel::wire {

const RecordFields *findRecord(std::string_view name) {
    for (std::size_t i = 0; i < recordFieldsCount; ++i)
        if (name == recordFields[i].name) return &recordFields[i];
    return nullptr;
}

const ProcTypes *findProcTypes(unsigned int number) {
    const ProcTypes *end = procTypes + procTypesCount;
    const ProcTypes *p =
        std::lower_bound(procTypes, end, number, [](const ProcTypes &e, unsigned int n) { return e.number < n; });
    return p != end && p->number == number ? p : nullptr;
}

}  // namespace tarnel::wire
