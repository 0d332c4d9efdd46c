// Status bits of the return-parameter list of a scripted operation.
#include <cstdint>

#include <tarnel/tnapi_session.h>
#include <tarnel/tnapi_values.h>

namespace {

// The status entry's value as 32-bit words. The host sends an integer list;
// the other lists of 32-bit words read the same way. Any other kind holds no
// status bits: its union is not a list and must not be read as one.
bool status_words(const T_TypedValT &v, u_int *count, const int **words) {
    switch (v.kind) {
    case 5: *count = v.u.metrics.count; *words = v.u.metrics.items; break;
    case 13: *count = v.u.ints.count; *words = v.u.ints.items; break;
    case 15:
        *count = v.u.uints.count;
        *words = reinterpret_cast<const int *>(v.u.uints.items);
        break;
    default: return false;
    }
    return *words != nullptr;
}

}  // namespace

extern "C" {

int T_ApiCheckStatus(const T_PropValsT *list, int bit) {
    int i = T_ApiGetPropIndex(list, 3);
    if (i < 0) i = T_ApiGetPropIndex(list, 1);
    if (i < 0) {
        TA_errno = -5;
        return 0;
    }
    u_int count = 0;
    const int *words = nullptr;
    // 64 bits: count * 32 overflows 32 bits for long lists.
    if (bit < 0 || !status_words(list->items[i].value, &count, &words) ||
        static_cast<uint64_t>(count) * 32 <= static_cast<uint64_t>(bit)) {
        TA_errno = -4;
        return 0;
    }
    const auto word = static_cast<uint32_t>(words[bit / 32]);
    return static_cast<int>((word >> (bit % 32)) & 1u);
}

}  // extern "C"
