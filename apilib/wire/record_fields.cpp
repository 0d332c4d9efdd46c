#include "wire/record_fields.h"

namespace tarnel::wire {

const RecordFields *findRecord(std::string_view name) {
    for (std::size_t i = 0; i < recordFieldsCount; ++i)
        if (name == recordFields[i].name) return &recordFields[i];
    return nullptr;
}

}  // namespace tarnel::wire
