// The typed value: `kind`, then the arm it selects (TA_VALUE_KINDS).
#include <tarnel/api_values.h>
#include <tarnel/tnapi_values.h>

#include <string_view>
#include <type_traits>
#include <utility>

namespace {

// An optional record: a boolean, then the record when present. Same bytes as
// the XDR pointer primitive; a decoded record is a new zeroed allocation
// from the API allocators (kept on a failed decode so the free operation
// releases it).
template <class T, bool_t (*Proc)(XDR *, T *)> bool_t xdr_optional(XDR *xdrs, T **recordp) {
    switch (xdrs->x_op) {
    case XDR_ENCODE: {
        bool_t present = *recordp != nullptr;
        if (!xdr_bool(xdrs, &present)) return FALSE;
        return !present || Proc(xdrs, *recordp);
    }
    case XDR_DECODE: {
        *recordp = nullptr;
        bool_t present;
        if (!xdr_bool(xdrs, &present)) return FALSE;
        if (!present) return TRUE;
        auto *record = static_cast<T *>(TapiCalloc(1, sizeof(T)));
        if (record == nullptr) return FALSE;
        *recordp = record;
        return Proc(xdrs, record);
    }
    case XDR_FREE:
        T_ApiFree(*recordp);
        *recordp = nullptr;
        return TRUE;
    }
    return FALSE;
}

// Every WORD arm is an int in the union, so the default arm's `ival` carries it.
#define TA_WORD_ARM_IS_INT(num, name, member, shape, stem)                                                             \
    static_assert(std::string_view(#shape) != "WORD" ||                                                                \
                      std::is_same_v<decltype(std::declval<T_TypedValT &>().u.member), int>,                           \
                  "a WORD kind selects an int arm");
TA_VALUE_KINDS(TA_WORD_ARM_IS_INT)
#undef TA_WORD_ARM_IS_INT

}  // namespace

// One case per kind that is not a WORD; a WORD kind takes the default arm.
// (Left unformatted: the formatter would join a case label with the next line.)
// clang-format off
#define TA_XDR_WORD(num, member, stem)
#define TA_XDR_STRING(num, member, stem) \
    case num:                            \
        return xdr_StringT(xdrs, &objp->u.member);
#define TA_XDR_RECORD(num, member, stem) \
    case num:                            \
        return xdr_T_##stem##T(xdrs, &objp->u.member);
#define TA_XDR_LIST(num, member, stem) TA_XDR_RECORD(num, member, stem)
#define TA_XDR_OPTIONAL(num, member, stem) \
    case num:                              \
        return xdr_optional<T_##stem##T, xdr_T_##stem##T>(xdrs, &objp->u.member);
#define TA_XDR_KIND(num, name, member, shape, stem) TA_XDR_##shape(num, member, stem)
// clang-format on

extern "C" bool_t xdr_T_TypedValT(XDR *xdrs, T_TypedValT *objp) {
    if (!xdr_int(xdrs, &objp->kind)) return FALSE;
    switch (objp->kind) {
        TA_VALUE_KINDS(TA_XDR_KIND)
    default:
        // The WORD kinds and every kind outside the table: the union's first word.
        return xdr_int(xdrs, &objp->u.ival);
    }
}
