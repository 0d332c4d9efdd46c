// Filter notification 75: its text carries the arguments separated by byte
// 30. The pieces go into a record that the client's T_ApiNotify receives in
// place of the text.
#include <cstdint>
#include <cstring>
#include <iterator>

#include <tarnel/tde_memory.h>
#include <tarnel/tnapi_session.h>
#include <tarnel/tnapi_values.h>

namespace {

constexpr u_int kExtraStep = 16;

StringT copy_piece(const char *begin, size_t length) {
    auto *piece = static_cast<char *>(TapiMalloc(length + 1));
    if (piece == nullptr) return nullptr;
    std::memcpy(piece, begin, length);
    piece[length] = '\0';
    return piece;
}

// Gives `extra` room for every piece after the first `slots`, rounded up to
// the list's step; returns that capacity, or 0 when there are no such pieces
// or no memory (addfstr then grows the list as it goes).
u_int presize_extra(T_StringsT *extra, const char *text, size_t slots) {
    size_t pieces = 1;
    for (const char *p = text; *p != '\0'; ++p) pieces += *p == TDE_FILTER_ARG_SEPARATOR;
    if (pieces <= slots) return 0;
    const size_t capacity = (pieces - slots + kExtraStep - 1) / kExtraStep * kExtraStep;
    if (capacity > UINT32_MAX) return 0;
    extra->items = static_cast<StringT *>(TapiCalloc(capacity, sizeof(StringT)));
    return extra->items != nullptr ? static_cast<u_int>(capacity) : 0;
}

}  // namespace

extern "C" {

int addfstr(T_StringsT *list, StringT piece) {
    if (list->count % kExtraStep == 0) {
        auto *grown = list->count > UINT32_MAX - kExtraStep
                          ? nullptr
                          : static_cast<StringT *>(TapiCalloc(list->count + kExtraStep, sizeof(StringT)));
        if (grown == nullptr) {
            // Not in the record, so nobody else would release it.
            T_ApiFree(piece);
            return -1;
        }
        if (list->items != nullptr) std::memcpy(grown, list->items, list->count * sizeof(StringT));
        T_ApiFree(list->items);
        list->items = grown;
    }
    list->items[list->count++] = piece;
    return 0;
}

TdeApiFilterArgsT *TdeApiExpandFilterArgs(const char *text) {
    auto *args = static_cast<TdeApiFilterArgsT *>(TapiCalloc(1, sizeof(TdeApiFilterArgsT)));
    if (args == nullptr) return nullptr;
    StringT *slots[] = {&args->arg1, &args->arg2, &args->arg3, &args->arg4, &args->arg5, &args->arg6};
    if (text == nullptr) text = "";

    // The host's text has no length limit: growing `extra` 16 slots at a
    // time would copy the list once per 16 pieces, quadratic in the text.
    // Counting first sizes it once, to the capacity addfstr would reach.
    const u_int extra_capacity = presize_extra(&args->extra, text, std::size(slots));

    // Piece k goes to slot k (or extra), whether or not its copy succeeded,
    // so that no later piece moves into the place of one that is missing.
    const char *begin = text;
    for (size_t k = 0;; ++k) {
        const char *end = begin;
        while (*end != '\0' && *end != TDE_FILTER_ARG_SEPARATOR) ++end;
        StringT piece = copy_piece(begin, static_cast<size_t>(end - begin));
        if (k < std::size(slots)) {
            *slots[k] = piece;
        } else if (args->extra.count < extra_capacity) {
            args->extra.items[args->extra.count++] = piece;
        } else if (addfstr(&args->extra, piece) != 0) {
            // Later pieces would be out of place: the list ends here.
            break;
        }
        if (*end == '\0') break;
        begin = end + 1;
    }
    return args;
}

void TdeApiDeallocateFilterArgs(TdeApiFilterArgsT *args) {
    if (args == nullptr) return;
    T_ApiDeallocateString(&args->arg1);
    T_ApiDeallocateString(&args->arg2);
    T_ApiDeallocateString(&args->arg3);
    T_ApiDeallocateString(&args->arg4);
    T_ApiDeallocateString(&args->arg5);
    T_ApiDeallocateString(&args->arg6);
    T_ApiDeallocateStrings(&args->extra);
}

void translateFileToFile(unsigned int objId, StringT text, int number) {
    TdeApiFilterArgsT *args = TdeApiExpandFilterArgs(text);
    // Without memory for the record the client still gets its notification,
    // with every piece missing, as when no piece could be copied.
    TdeApiFilterArgsT empty{};
    T_ApiNotify(75, objId, reinterpret_cast<StringT>(args != nullptr ? args : &empty), number);
    if (args != nullptr) {
        TdeApiDeallocateFilterArgs(args);
        T_Free(args);
    }
}

}  // extern "C"
