// Status bits of the return-parameter list of a scripted operation.
#include <cstdint>
#include <type_traits>

#include <tarnel/tnapi_errors.h>
#include <tarnel/tnapi_session.h>
#include <tarnel/tnapi_values.h>

namespace {

// A list holds status words when its items are 4-byte integers: the host
// sends an integer list, and the other lists of 32-bit words read the same way.
template <typename List> constexpr bool holds_words() {
    using Item = std::remove_pointer_t<decltype(List::items)>;
    return std::is_integral_v<Item> && sizeof(Item) == sizeof(int);
}

template <typename List> bool words_of(const List &list, u_int *count, const int **words) {
    if constexpr (holds_words<List>()) {
        *count = list.count;
        *words = reinterpret_cast<const int *>(list.items);
        return *words != nullptr;
    } else {
        return false;
    }
}

// The kinds whose value holds status words, one bit per kind.
#define TA_WORD_KIND_BIT_LIST(num, stem) | (holds_words<T_##stem##T>() ? uint64_t{1} << num : 0)
#define TA_WORD_KIND_BIT_WORD(num, stem)
#define TA_WORD_KIND_BIT_STRING(num, stem)
#define TA_WORD_KIND_BIT_RECORD(num, stem)
#define TA_WORD_KIND_BIT_OPTIONAL(num, stem)
#define TA_WORD_KIND_BIT(num, name, member, shape, stem) TA_WORD_KIND_BIT_##shape(num, stem)
constexpr uint64_t kWordKinds = 0 TA_VALUE_KINDS(TA_WORD_KIND_BIT);
static_assert(kWordKinds ==
                  ((uint64_t{1} << TA_KIND_METRICS) | (uint64_t{1} << TA_KIND_INTS) | (uint64_t{1} << TA_KIND_UINTS)),
              "status bits are read from the metrics, ints and uints kinds only");

// The status entry's value as 32-bit words. Any other kind holds no status
// bits: its union is not a list and must not be read as one.
#define TA_WORDS_LIST(num, member)                                                                                     \
    case num:                                                                                                          \
        return words_of(v.u.member, count, words);
#define TA_WORDS_WORD(num, member)
#define TA_WORDS_STRING(num, member)
#define TA_WORDS_RECORD(num, member)
#define TA_WORDS_OPTIONAL(num, member)
#define TA_WORDS_KIND(num, name, member, shape, stem) TA_WORDS_##shape(num, member)
bool status_words(const T_TypedValT &v, u_int *count, const int **words) {
    switch (v.kind) {
        TA_VALUE_KINDS(TA_WORDS_KIND)
    default: return false;
    }
}

}  // namespace

extern "C" {

int T_ApiCheckStatus(const T_PropValsT *list, int bit) {
    int i = T_ApiGetPropIndex(list, 3);
    if (i < 0) i = T_ApiGetPropIndex(list, 1);
    if (i < 0) {
        TA_errno = TA_ERR_NO_STATUS_PROP;
        return 0;
    }
    u_int count = 0;
    const int *words = nullptr;
    // 64 bits: count * 32 overflows 32 bits for long lists.
    if (bit < 0 || !status_words(list->items[i].value, &count, &words) ||
        static_cast<uint64_t>(count) * 32 <= static_cast<uint64_t>(bit)) {
        TA_errno = TA_ERR_BIT_NOT_IN_STATUS;
        return 0;
    }
    const auto word = static_cast<uint32_t>(words[bit / 32]);
    return static_cast<int>((word >> (bit % 32)) & 1u);
}

}  // extern "C"
