/** @file
 * The C++ interface for clients, header only, over the unchanged C API of
 * tnapi.h: owners for the memory the library hands over, views for reading
 * it, request functions that take std::string_view and spans and return a
 * Result instead of setting #TA_errno, typed access to typed values and
 * property lists, and a client written as a class. Everything here is
 * inline; it adds no work to a call beyond what a careful C caller does by
 * hand.
 *
 * @par Lifetimes
 * An owner (tarnel::String, tarnel::Strings, ...) releases its value when
 * it goes; what it lends (view(), items(), `->`, a range-for) is valid while
 * the owner lives and is not reset, assigned or taken from. A Result owns
 * its value the same way. The compiler holds these rules where it can: the
 * views of a temporary owner or result are deleted, `*` of a temporary
 * result moves the value out (so a range-for over `*` of a request's
 * result keeps the list alive for the loop), and with clang the lending accessors
 * are marked `lifetimebound`, so a view kept past its owner's statement is
 * a warning. A Result that is dropped unread is a warning too. A PropValsView
 * (the return-parameter list of a scripted request) is the library's: valid
 * until the next call of the same request.
 *
 * @par Outputs
 * Which arguments of a request are outputs follows the protocol: a request
 * function's leading parameters are what its procedure's argument record
 * carries (tnapi_sent.h, generated from the protocol description), and a
 * pointer parameter after them is an output. Its C++ form takes it as an
 * Out, made only from a writable variable: a plain variable of a type that
 * owns nothing, an owner (released first, then filled) or a PropValsView.
 * A const owner, a const variable or a temporary does not compile.
 *
 * @par One thread
 * The library is single-threaded: make every call, C or C++, on the thread
 * that runs the service loop (T_ApiRun() or T_ApiService()); callbacks run
 * on it too, inside a call when the call serves them (T_ApiModalDialog()).
 *
 * @par Exceptions and callbacks
 * No exception crosses the C library: one that leaves a callback of a
 * Client is caught, reported on standard error through T_ApiErr() and the
 * callback ends there; the host is handed control back as after a normal
 * return. The request forms themselves throw only from Result::value()
 * (Failure) and when memory runs out.
 *
 * @par Each call's own error
 * A request form reports its own request's outcome. A Client's callbacks
 * leave #TA_errno as they found it, so a request that fails inside one
 * served during a form's call (tarnel::ModalDialog) is not taken for the
 * form's failure. C callbacks defined without a Client keep the C rule
 * (#TA_errno is the last failure, wherever it happened). */
#ifndef TARNEL_TNAPI_HPP
#define TARNEL_TNAPI_HPP

#include <cstddef>
#include <cstdio>
#include <exception>
#include <functional>
#include <initializer_list>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <version>
#if defined(__cpp_lib_expected)
#include <expected>
#endif

#ifndef TARNEL_NO_RPC_HEADERS
/** The C declarations without `<rpc/rpc.h>`, whose macros (TRUE, MIN,
 * isset, mem_alloc...) would take over the client's own names: only the
 * RPC library's types they name (tarnel/rpc_types.h). */
#define TARNEL_NO_RPC_HEADERS
#endif
#include <tarnel/tde_memory.h>
#include <tarnel/tnapi_errors.h>
#include <tarnel/tnapi_requests.h>
#include <tarnel/tnapi_sent.h>
#include <tarnel/tnapi_session.h>
#include <tarnel/tnapi_values.h>

/// @cond DETAIL
// Marks an accessor whose result lives no longer than its object, so that
// clang warns when a view outlives a temporary (-Wdangling).
#if defined(__has_cpp_attribute)
#if __has_cpp_attribute(clang::lifetimebound)
#define TARNEL_LIFETIMEBOUND [[clang::lifetimebound]]
#endif
#endif
#ifndef TARNEL_LIFETIMEBOUND
#define TARNEL_LIFETIMEBOUND
#endif
/// @endcond

/** The C++ interface: owners, results, the request functions' C++ forms
 * and the client base class. */
namespace tarnel {

/** A view of a string the library handed over; null reads as empty.
 * @param s the string, or null
 * @return its bytes up to the NUL */
inline std::string_view view(const char *s) noexcept { return s != nullptr ? std::string_view(s) : std::string_view(); }

/** Owns one value of type T that the C API returned and releases it exactly
 * once with Release (its T_ApiDeallocate* operation): when the owner is
 * destroyed, reset or assigned over. Move-only; a moved-from owner is empty
 * (owns nothing, holds the zero value). Lists read as spans of their items
 * and strings as std::string_view, valid while the owner holds the value;
 * take() hands the raw value back to a caller that passes it on to C.
 * @tparam T the C value type (StringT, a list, a record that owns memory)
 * @tparam Release the C API's release operation for it */
template <typename T, void (*Release)(T *)> class Owned {
    static constexpr bool list = requires(T t) { t.items + t.count; };

  public:
    /** An empty owner. */
    Owned() noexcept = default;
    /** Takes over a value.
     * @param raw the value; this owner releases it */
    explicit Owned(T raw) noexcept : raw_(raw), owns_(true) {}
    /** Takes over what other owns; other is left empty.
     * @param other the source */
    Owned(Owned &&other) noexcept : raw_(std::exchange(other.raw_, T{})), owns_(std::exchange(other.owns_, false)) {}
    /** Releases what this owns, then takes over what other owns; other is
     * left empty.
     * @param other the source
     * @return this owner */
    Owned &operator=(Owned &&other) noexcept {
        if (this != &other) {
            reset();
            raw_ = std::exchange(other.raw_, T{});
            owns_ = std::exchange(other.owns_, false);
        }
        return *this;
    }
    Owned(const Owned &) = delete;
    Owned &operator=(const Owned &) = delete;
    /** Releases what this owns. */
    ~Owned() { reset(); }

    /** Releases what this owns now; the owner is left empty. */
    void reset() noexcept {
        if (std::exchange(owns_, false)) Release(&raw_);
        raw_ = T{};
    }
    /** Gives up ownership without releasing (the C headers' "release" is
     * the release operation; this is not it).
     * @return the raw value, now the caller's to release with the C API */
    [[nodiscard]] T take() noexcept {
        owns_ = false;
        return std::exchange(raw_, T{});
    }
    /** Releases what this owns and lends its storage to a C function that
     * writes a new value there (an output argument); that value is then
     * owned. Out calls it.
     * @return the address to pass */
    T *out() noexcept {
        reset();
        owns_ = true;
        return &raw_;
    }
    /** @return whether this owner holds a value to release */
    bool owns() const noexcept { return owns_; }
    // The formatter of version 14 reads `& noexcept` and requires-clauses
    // as expressions.
    // clang-format off
    /** @return the raw value, for reading or for passing to C by address */
    const T &get() const & noexcept TARNEL_LIFETIMEBOUND { return raw_; }
    /** A temporary owner's raw value would outlive it. */
    const T &get() const && = delete;
    /** @return the raw value's fields */
    const T *operator->() const & noexcept TARNEL_LIFETIMEBOUND { return &raw_; }
    /** A temporary owner's fields would outlive it. */
    const T *operator->() const && = delete;

    /** @return the string (null reads as empty), valid while the owner is */
    std::string_view view() const & noexcept TARNEL_LIFETIMEBOUND
        requires std::is_same_v<T, StringT>
    {
        return tarnel::view(raw_);
    }
    /** A view of a temporary owner's string would dangle; keep the owner
     * (or copy: std::string(owner.view())). */
    std::string_view view() const && = delete;
    /** @return the list's items, valid while the owner is */
    auto items() const & noexcept TARNEL_LIFETIMEBOUND
        requires list
    {
        using Item = std::remove_pointer_t<decltype(raw_.items)>;
        return raw_.items != nullptr ? std::span<const Item>(raw_.items, raw_.count) : std::span<const Item>();
    }
    /** A span of a temporary owner's items would dangle; keep the owner. */
    void items() const && = delete;
    /** @return the first item, for range-for over a list */
    auto begin() const & noexcept TARNEL_LIFETIMEBOUND
        requires list
    {
        return items().begin();
    }
    /** @return the end of the items */
    auto end() const & noexcept TARNEL_LIFETIMEBOUND
        requires list
    {
        return items().end();
    }
    /** @return the number of items of a list */
    std::size_t size() const noexcept
        requires list
    {
        return raw_.items != nullptr ? raw_.count : 0;
    }
    // clang-format on

  private:
    T raw_{};
    bool owns_ = false;
};

/// @cond DETAIL
namespace detail {
// The filter notification's record is released in two steps.
inline void releaseFilterArgs(TdeApiFilterArgsT **args) {
    if (*args == nullptr) return;
    TdeApiDeallocateFilterArgs(*args);
    T_Free(*args);
    *args = nullptr;
}
template <typename T> struct owner_of {
    using type = T;
};
}  // namespace detail
/// @endcond

/** The owners, one per kind of memory the C API hands over: the alias, the
 * C type and its release operation. */
#define TARNEL_OWNERS(X)                                                                                               \
    X(String, StringT, T_ApiDeallocateString)                                                                          \
    X(Strings, T_StringsT, T_ApiDeallocateStrings)                                                                     \
    X(Metrics, T_MetricsT, T_ApiDeallocateMetrics)                                                                     \
    X(Points, T_PointsT, T_ApiDeallocatePoints)                                                                        \
    X(Tabs, T_TabsT, T_ApiDeallocateTabs)                                                                              \
    X(UBytes, T_UBytesT, T_ApiDeallocateUBytes)                                                                        \
    X(Ints, T_IntsT, T_ApiDeallocateInts)                                                                              \
    X(UInts, T_UIntsT, T_ApiDeallocateUInts)                                                                           \
    X(Fonts, T_FontsT, T_ApiDeallocateFonts)                                                                           \
    X(CombinedFonts, T_CombinedFontsT, T_ApiDeallocateCombinedFonts)                                                   \
    X(ElementCatalogEntries, T_ElementCatalogEntriesT, T_ApiDeallocateElementCatalogEntries)                           \
    X(TextItems, TextItemsT, T_ApiDeallocateTextItems)                                                                 \
    X(AttributeDefs, T_AttributeDefsT, T_ApiDeallocateAttributeDefs)                                                   \
    X(Attributes, T_AttributesT, T_ApiDeallocateAttributes)                                                            \
    X(PropVals, T_PropValsT, T_ApiDeallocatePropVals)                                                                  \
    X(PropVal, T_PropValT, T_ApiDeallocatePropVal)                                                                     \
    X(TypedVal, T_TypedValT, T_ApiDeallocateVal)                                                                       \
    X(Tab, T_TabT, T_ApiDeallocateTab)                                                                                 \
    X(AttributeDef, T_AttributeDefT, T_ApiDeallocateAttributeDef)                                                      \
    X(Attribute, T_AttributeT, T_ApiDeallocateAttribute)                                                               \
    X(TextItem, TextItemT, T_ApiDeallocateTextItem)                                                                    \
    X(FilterArgs, TdeApiFilterArgsT *, detail::releaseFilterArgs)

/// @cond DETAIL
#define TARNEL_OWNER_(alias, raw, release)                                                                             \
    using alias = Owned<raw, &release>;                                                                                \
    template <> struct detail::owner_of<raw> {                                                                         \
        using type = alias;                                                                                            \
    };
TARNEL_OWNERS(TARNEL_OWNER_)
#undef TARNEL_OWNER_
/// @endcond

/** The failure of a request: whether the host did not reply or refused,
 * with the code it reported in #TA_errno and the request's name. */
class Error {
  public:
    /** @param code the code (not 0): #TA_ERR_NO_REPLY or the host's status
     * @param request the C request function's name, a string that lives
     *        as long as the program (null: unknown) */
    explicit Error(int code, const char *request = nullptr) noexcept : code_(code), request_(request) {}
    /** @return the code: a TA_ERR_ value or the host's status */
    int code() const noexcept { return code_; }
    /** @return whether the call did not complete (#TA_ERR_NO_REPLY) */
    bool no_reply() const noexcept { return code_ == TA_ERR_NO_REPLY; }
    /** @return whether the host answered with a refusal (not so for a
     *          request that was never sent: #TA_ERR_NOT_PIPELINABLE) */
    bool refused() const noexcept { return !no_reply() && code_ != TA_ERR_NOT_PIPELINABLE; }
    /** @return the host's status; 0 when there was no reply */
    int status() const noexcept { return refused() ? code_ : 0; }
    /** @return the status's name as T_ApiErrorText() gives it ("no such
     *          property"); empty with no reply or for a status without one */
    std::string status_name() const {
        static constexpr std::string_view kHead = "the host refused the request: ";
        const std::string_view text = T_ApiErrorText(code_);
        if (!refused() || text.substr(0, kHead.size()) != kHead) return {};
        const std::string_view rest = text.substr(kHead.size());
        return std::string(rest.substr(0, rest.rfind(" (status ")));
    }
    /** @return the request's name ("T_ApiGetInt"); empty when unknown */
    std::string_view request() const noexcept { return view(request_); }
    /** @return the code's text, from T_ApiErrorText() */
    std::string text() const { return T_ApiErrorText(code_); }
    /** @return a sentence: "T_ApiGetInt: the host refused the request: no
     *          such property (status -3)" */
    std::string message() const { return request_ != nullptr ? std::string(request_) + ": " + text() : text(); }

  private:
    int code_;
    const char *request_;
};

/** Thrown by Result::value() when the result holds an error; what() is
 * Error::message(). */
class Failure : public std::runtime_error {
  public:
    /** @param error what failed */
    explicit Failure(Error error) : std::runtime_error(error.message()), error_(error) {}
    /** @return what failed */
    Error error() const noexcept { return error_; }

  private:
    Error error_;
};

template <typename T> class Result;

/// @cond DETAIL
namespace detail {
// What every result holds: the code (0 on success) and the request's name.
class Outcome {
  public:
    bool has_value() const noexcept { return code_ == 0; }
    bool ok() const noexcept { return code_ == 0; }
    explicit operator bool() const noexcept { return ok(); }
    int code() const noexcept { return code_; }
    std::string text() const { return T_ApiErrorText(code_); }
    // Only on an error.
    Error error() const noexcept { return Error(code_, request_); }

  protected:
    Outcome(int code, const char *request) noexcept : code_(code), request_(request) {}
    void check() const {
        if (code_ != 0) throw Failure(error());
    }

  private:
    int code_;
    const char *request_;
};

template <typename R> struct is_result : std::false_type {};
template <typename T> struct is_result<Result<T>> : std::true_type {};
template <typename F, typename... A> using invoked_t = std::remove_cvref_t<std::invoke_result_t<F, A...>>;
}  // namespace detail
/// @endcond

/** The result of a request that returns nothing: success, or the error. */
template <> class [[nodiscard]] Result<void> : public detail::Outcome {
  public:
    /** The value's type. */
    using value_type = void;
    /** Success. */
    Result() noexcept : Outcome(0, nullptr) {}
    /** @param code the #TA_errno code; 0 for success
     * @param request the request's name (see Error) */
    explicit Result(int code, const char *request = nullptr) noexcept : Outcome(code, request) {}
    /** A failure.
     * @param error what failed */
    Result(Error error) noexcept : Outcome(error.code(), error.request().data()) {}
    /** Throws Failure on an error. */
    void value() const { check(); }
    /** @param f called without arguments, returns a Result
     * @return f's result, or this error */
    template <typename F> auto and_then(F &&f) const {
        using R = detail::invoked_t<F>;
        static_assert(detail::is_result<R>::value, "and_then's function returns a tarnel::Result");
        return ok() ? std::invoke(std::forward<F>(f)) : R(error());
    }
    /** @param f called without arguments
     * @return a Result of what f returns, or this error */
    template <typename F> auto transform(F &&f) const {
        using U = detail::invoked_t<F>;
        if (!ok()) return Result<U>(error());
        if constexpr (std::is_void_v<U>) {
            std::invoke(std::forward<F>(f));
            return Result<void>();
        } else {
            return Result<U>(std::invoke(std::forward<F>(f)));
        }
    }
    /** @param f called with the Error, returns a Result<void>
     * @return this result, or f's on an error */
    template <typename F> Result or_else(F &&f) const {
        return ok() ? *this : Result(std::invoke(std::forward<F>(f), error()));
    }
#if defined(__cpp_lib_expected) || defined(TARNEL_DOXYGEN)
    /** With C++23: from a std::expected.
     * @param e success or the error */
    template <typename E>
        requires std::same_as<E, std::expected<void, Error>>
    Result(E e) : Outcome(e ? 0 : e.error().code(), e ? nullptr : e.error().request().data()) {}
    /** With C++23: as a std::expected.
     * @return success or the error */
    operator std::expected<void, Error>() const {
        if (!ok()) return std::unexpected(error());
        return {};
    }
#endif
};

/** What a request's C++ form returns: its value, or the error it reported
 * (the surface of std::expected). has_value(), ok() or the bool conversion
 * say which; error() gives the Error, code() and text() its #TA_errno code
 * (0 on success) and T_ApiErrorText(). value() throws Failure on an error;
 * `*` and `->` read the value unchecked. A result owns its value: `*` and
 * value() of a temporary result move the value out, `->` of one is
 * deleted. Ignoring a result is a warning: for a write it is the only sign
 * of failure.
 * @tparam T the value: a scalar, a record or an owner */
template <typename T> class [[nodiscard]] Result : public detail::Outcome {
  public:
    /** The value's type. */
    using value_type = T;
    /** A success.
     * @param value the value */
    Result(T value) : Outcome(0, nullptr), value_(std::move(value)) {}
    /** A failure.
     * @param error what failed */
    Result(Error error) noexcept : Outcome(error.code(), error.request().data()) {}

    /** @return the value; throws Failure on an error */
    T &value() & TARNEL_LIFETIMEBOUND {
        check();
        return *value_;
    }
    /** @return the value; throws Failure on an error */
    const T &value() const &TARNEL_LIFETIMEBOUND {
        check();
        return *value_;
    }
    /** @return the value, moved out; throws Failure on an error */
    T value() && {
        check();
        return std::move(*value_);
    }
    /** @param fallback what an error gives
     * @return a copy of the value, or the fallback on an error */
    template <typename U = T> T value_or(U &&fallback) const & {
        return ok() ? *value_ : static_cast<T>(std::forward<U>(fallback));
    }
    /** @param fallback what an error gives
     * @return the value moved out, or the fallback on an error */
    template <typename U = T> T value_or(U &&fallback) && {
        return ok() ? std::move(*value_) : static_cast<T>(std::forward<U>(fallback));
    }
    // clang-format off
    /** @return the value; only on success */
    T &operator*() & noexcept TARNEL_LIFETIMEBOUND { return *value_; }
    /** @return the value; only on success */
    const T &operator*() const & noexcept TARNEL_LIFETIMEBOUND { return *value_; }
    /** @return the value moved out of a temporary result; only on success */
    T operator*() && noexcept { return std::move(*value_); }
    /** @return the value's members; only on success */
    T *operator->() & noexcept TARNEL_LIFETIMEBOUND { return &*value_; }
    /** @return the value's members; only on success */
    const T *operator->() const & noexcept TARNEL_LIFETIMEBOUND { return &*value_; }
    // clang-format on
    /** Members of a temporary result die with it: use `*` to move the
     * value out, or keep the result. */
    const T *operator->() const && = delete;

    /** @param f called with the value, returns a Result
     * @return f's result, or this error */
    template <typename F> auto and_then(F &&f) const & {
        using R = detail::invoked_t<F, const T &>;
        static_assert(detail::is_result<R>::value, "and_then's function returns a tarnel::Result");
        return ok() ? std::invoke(std::forward<F>(f), *value_) : R(error());
    }
    /** @param f called with the value moved out, returns a Result
     * @return f's result, or this error */
    template <typename F> auto and_then(F &&f) && {
        using R = detail::invoked_t<F, T &&>;
        static_assert(detail::is_result<R>::value, "and_then's function returns a tarnel::Result");
        return ok() ? std::invoke(std::forward<F>(f), std::move(*value_)) : R(error());
    }
    /** @param f called with the value
     * @return a Result of what f returns, or this error */
    template <typename F> auto transform(F &&f) const & {
        using U = detail::invoked_t<F, const T &>;
        if (!ok()) return Result<U>(error());
        if constexpr (std::is_void_v<U>) {
            std::invoke(std::forward<F>(f), *value_);
            return Result<void>();
        } else {
            return Result<U>(std::invoke(std::forward<F>(f), *value_));
        }
    }
    /** @param f called with the value moved out
     * @return a Result of what f returns, or this error */
    template <typename F> auto transform(F &&f) && {
        using U = detail::invoked_t<F, T &&>;
        if (!ok()) return Result<U>(error());
        if constexpr (std::is_void_v<U>) {
            std::invoke(std::forward<F>(f), std::move(*value_));
            return Result<void>();
        } else {
            return Result<U>(std::invoke(std::forward<F>(f), std::move(*value_)));
        }
    }
    /** @param f called with the Error, returns a Result<T>
     * @return this result, or f's on an error */
    template <typename F> Result or_else(F &&f) const & {
        return ok() ? *this : Result(std::invoke(std::forward<F>(f), error()));
    }
    /** @param f called with the Error, returns a Result<T>
     * @return this result moved, or f's on an error */
    template <typename F> Result or_else(F &&f) && {
        return ok() ? std::move(*this) : Result(std::invoke(std::forward<F>(f), error()));
    }

#if defined(__cpp_lib_expected) || defined(TARNEL_DOXYGEN)
    /** With C++23: from a std::expected.
     * @param e the value or the error */
    template <typename E>
        requires std::same_as<E, std::expected<T, Error>>
    Result(E e) : Outcome(e ? 0 : e.error().code(), e ? nullptr : e.error().request().data()) {
        if (e) value_.emplace(std::move(*e));
    }
    /** With C++23: as a std::expected.
     * @return the value moved out, or the error */
    operator std::expected<T, Error>() && {
        if (!ok()) return std::unexpected(error());
        return std::move(*value_);
    }
#endif

  private:
    std::optional<T> value_;
};

/** A read-only string argument: a `const char *` or std::string is passed
 * as it is, a std::string_view through a NUL-terminated copy; null is sent
 * as the empty string (as by the C API). */
class Text {
  public:
    /** @param s the string, or null */
    Text(const char *s) noexcept : p_(s) {}
    /** @param s the string */
    Text(const std::string &s) noexcept : p_(s.c_str()) {}
    /** @param s the string, copied */
    Text(std::string_view s) : copy_(s), p_(copy_.c_str()) {}
    /** Null: the empty string. */
    Text(std::nullptr_t) noexcept : p_(nullptr) {}
    Text(const Text &) = delete;
    Text &operator=(const Text &) = delete;
    /** @return the string as the C API takes it (it never writes to it) */
    StringT get() const noexcept { return const_cast<StringT>(p_); }

  private:
    std::string copy_;
    const char *p_;
};

/** A record or list argument that the host is sent, taken by address and
 * only read: a record, an owner, null, or for lists a span (or braced list)
 * of items. Never an output: those are Out.
 * @tparam T the C record or list type */
template <typename T> class In {
    static constexpr bool list = requires(T t) { t.items + t.count; };
    template <typename U> struct item_of {
        using type = std::remove_pointer_t<decltype(U::items)>;
    };
    using Item = typename std::conditional_t<list, item_of<T>, std::type_identity<T>>::type;
    // Lists of strings are read from const char * items.
    using Viewed = std::conditional_t<std::is_same_v<Item, StringT>, const char *const, const Item>;

  public:
    /** @param p the value, or null */
    In(const T *p) noexcept : p_(p) {}
    /** @param v the value */
    In(const T &v) noexcept : p_(&v) {}
    /** Null: the zero record or empty list. */
    In(std::nullptr_t) noexcept : p_(nullptr) {}
    /** @param v an owner's value */
    template <void (*R)(T *)> In(const Owned<T, R> &v) noexcept : p_(&v.get()) {}
    /** @param items the items of a list argument: anything that makes a
     *        span of them (an array, a std::vector, a std::span) */
    template <typename Items>
        requires list && std::is_convertible_v<Items &&, std::span<Viewed>>
    In(Items &&items) noexcept : In(std::span<Viewed>(std::forward<Items>(items)), 0) {}
    /** @param items the items of a list argument */
    In(std::initializer_list<std::remove_const_t<Viewed>> items) noexcept
        requires list
        : In(std::span<Viewed>(items.begin(), items.size()), 0) {}
    In(const In &) = delete;
    In &operator=(const In &) = delete;
    /** @return the address as the C API takes it: the C functions declare
     *          their inputs without const, and this one only reads it */
    T *get() const noexcept { return const_cast<T *>(p_); }

  private:
    In(std::span<Viewed> items, int) noexcept
        requires list
        : tmp_{static_cast<u_int>(items.size()), const_cast<Item *>(items.data())}, p_(&tmp_) {}
    T tmp_{};
    const T *p_;
};

/// @cond DETAIL
namespace detail {
// Whether T owns memory, so that writing over it needs its owner.
template <typename T> inline constexpr bool owns_memory = !std::is_same_v<typename owner_of<T>::type, T>;
// What lends storage for an output of type T: an owner or a view (out()).
template <typename O, typename T>
concept lends = requires(O &o) {
    { o.out() } -> std::same_as<T *>;
};
}  // namespace detail
/// @endcond

/** An output argument: the address of a writable variable that the C
 * function fills. Made from a variable of a type that owns nothing (an
 * int, a record without strings), from an owner (what it held is released
 * first and the new value is then owned) or from a PropValsView. A const
 * variable, a const owner or a temporary cannot receive an output: those
 * constructors are deleted.
 * @tparam T the type the C function writes */
template <typename T> class Out {
  public:
    /** @param v the variable that receives the value */
    Out(T &v) noexcept
        requires(!detail::owns_memory<T>)
        : p_(&v) {}
    /** @param o the owner (or view) that receives the value */
    template <typename O>
        requires detail::lends<O, T>
    Out(O &o) noexcept : p_(o.out()) {}
    /** An output needs a writable variable, not a const one or a temporary. */
    Out(const T &) = delete;
    /** An output needs a writable owner, not a const one or a temporary. */
    template <typename O>
        requires detail::lends<O, T>
    Out(const O &) = delete;
    Out(const Out &) = delete;
    Out &operator=(const Out &) = delete;
    /** @return the address to pass to C */
    T *get() const noexcept { return p_; }

  private:
    T *p_;
};

/// @cond DETAIL
namespace detail {

// The C++ parameter for each C parameter type.
template <typename P> struct arg {
    using type = P;
};
template <> struct arg<StringT> {
    using type = const Text &;
};
template <typename T>
    requires std::is_class_v<T> || std::is_arithmetic_v<T>
struct arg<T *> {
    using type = const In<T> &;
};

// How many leading parameters of each request function the host is sent
// (tnapi_sent.h, from the protocol description); -1: not a request.
template <auto Fn> inline constexpr int sent = -1;
#define TARNEL_SENT_(fn, n) template <> inline constexpr int sent<&fn> = n;
TARNEL_SENT_PARAMETERS(TARNEL_SENT_)
#undef TARNEL_SENT_

// The directions come from the protocol rather than from the C types: the
// C functions declare inputs as plain pointers too (T_ApiSetStrings'
// T_StringsT *), so a pointer says nothing by itself. A pointer parameter
// (not a string) after the ones the host is sent can only be what the reply
// fills: T_ApiSpell's int *outInt and T_StringsT *outList, the scripted
// requests' T_PropValsT **.
template <auto Fn, std::size_t I, typename P> constexpr bool is_output() {
    if constexpr (std::is_pointer_v<P> && !std::is_same_v<P, StringT>)
        return !std::is_const_v<std::remove_pointer_t<P>> && sent<Fn> >= 0 && I >= static_cast<std::size_t>(sent<Fn>);
    else
        return false;
}
template <auto Fn, std::size_t I, typename P>
using param_t = std::conditional_t<is_output<Fn, I, P>(), Out<std::remove_pointer_t<P>>, typename arg<P>::type>;

template <typename P>
    requires std::is_scalar_v<P>
P pass(P p) noexcept {
    return p;
}
inline StringT pass(const Text &t) noexcept { return t.get(); }
template <typename T> T *pass(const In<T> &in) noexcept { return in.get(); }
template <typename T> T *pass(const Out<T> &out) noexcept { return out.get(); }

// TA_errno for the duration of one C++ form: cleared before the call so
// that its failure shows, put back afterwards so that C code around sees it
// as it was. What callbacks served inside the call do to it does not count:
// the library restores TA_errno after each callback, so what is left is the
// request's own.
class ErrnoScope {
  public:
    ErrnoScope() noexcept : saved_(std::exchange(TA_errno, 0)) {}
    ~ErrnoScope() { TA_errno = saved_; }
    ErrnoScope(const ErrnoScope &) = delete;
    ErrnoScope &operator=(const ErrnoScope &) = delete;
    static int code() noexcept { return TA_errno; }

  private:
    int saved_;
};

// The value a C++ form hands out for a C result: an owner where the C
// result owns memory.
template <typename R> using held_t = typename owner_of<R>::type;

// How a C++ form reads its C function's result.
enum Kind {
    kStatus,  // 0 or a status: only TA_errno tells
    kValue,   // the result is the value (or nothing); TA_errno tells failure
};

template <typename F> struct arity;
template <typename R, typename... P> struct arity<R (*)(P...)> : std::integral_constant<std::size_t, sizeof...(P)> {};

template <auto Fn, Kind K, typename = std::make_index_sequence<arity<decltype(Fn)>::value>> struct Request;

template <typename R, typename... P, R (*Fn)(P...), Kind K, std::size_t... I>
struct Request<Fn, K, std::index_sequence<I...>> {
    using Value = std::conditional_t<K == kStatus, void, held_t<R>>;
    static constexpr auto function = Fn;
    static constexpr std::size_t first = 0;  // the first parameter that is not the answer
    const char *name;                        // the C function's, for Error
    Result<Value> operator()(param_t<Fn, I, P>... a) const { return invoke(pass(a)...); }
    // The C function called with C arguments, its outcome read as above.
    Result<Value> invoke(P... p) const {
        ErrnoScope scope;
        if constexpr (std::is_void_v<Value>) {
            (void)Fn(p...);
            return Result<void>(scope.code(), name);
        } else {
            Value value(Fn(p...));
            if (scope.code() != 0) return Error(scope.code(), name);
            return Result<Value>(std::move(value));
        }
    }
};

// Answer results: the first argument receives the answer; -1 without a
// TA_errno is a declined prompt.
template <auto Fn, typename = std::make_index_sequence<arity<decltype(Fn)>::value - 1>> struct Answer;
template <typename A, typename... P, int (*Fn)(A *, P...), std::size_t... I>
struct Answer<Fn, std::index_sequence<I...>> {
    using Value = std::optional<held_t<A>>;
    static constexpr auto function = Fn;
    static constexpr std::size_t first = 1;
    const char *name;  // the C function's, for Error
    Result<Value> operator()(param_t<Fn, I + 1, P>... a) const { return invoke(pass(a)...); }
    Result<Value> invoke(P... p) const {
        ErrnoScope scope;
        A answer{};
        const int declined = Fn(&answer, p...);
        held_t<A> held(answer);
        if (scope.code() != 0) return Error(scope.code(), name);
        if (declined != 0) return Result<Value>(Value());
        return Result<Value>(Value(std::move(held)));
    }
};

// No exception may leave a callback: the library that calls it is C
// underneath. One is reported on standard error and the callback ends. The
// text is used inside the handler, while the exception still exists.
inline void reportEscape(const char *what) noexcept {
    char line[256];
    std::snprintf(line, sizeof line, "a callback ended by %s", what);
    T_ApiErr(line);
}
// TA_errno is put back as the callback found it: a callback served inside a
// C++ form's request (ModalDialog) must not leave its own failures behind as
// that request's. C clients keep TA_errno as the last failure, callbacks
// included.
template <typename F> void dispatch(F &&callback) noexcept {
    const int saved = TA_errno;
    try {
        callback();
    } catch (const std::exception &e) { reportEscape(e.what()); } catch (...) {
        reportEscape("an exception that is not a std::exception");
    }
    TA_errno = saved;
}

}  // namespace detail
/// @endcond

/** The request functions' C++ forms, one row per C function: T_ApiGetInt()
 * becomes tarnel::GetInt, and so on, with the same arguments in the same order:
 * a string as a Text (`const char *`, std::string or std::string_view), a
 * record or list that is sent as an In (the value, an owner, a span or
 * braced list of items, or null), an output as an Out (a writable variable,
 * owner or PropValsView: see Outputs above), anything else as in C. Each
 * returns a Result holding the error of that request alone (callbacks it
 * serves, as T_ApiModalDialog() does, leave it alone); #TA_errno is cleared
 * for the call and restored after it, so it never changes. The parameters
 * and their names are those of the C function, documented there; the
 * reference lists every form as a function with them (tnapi_forms.hpp,
 * generated from this table, the C definitions and the protocol).
 *   S  status: Result<void>
 *   V  value: Result of the C result (an owner where it owns memory);
 *      functions without a result give Result<void>
 *   A  answer: the C function's first argument becomes the result,
 *      Result<std::optional<...>>, empty when the prompt was declined.
 * Specific failure values of the C functions (0, -1, null, the zero
 * record) need no care: the Result is an error exactly when the C function
 * reported one in #TA_errno. Not in the table: T_ApiFcodes() (tarnel::Fcodes
 * takes a span), T_Progress() (tarnel::Progress, whose value is the C
 * return, as it never sets #TA_errno) and oldT_ApiChooseFile()
 * (tarnel::oldChooseFile, an answer). */
#define TARNEL_REQUESTS(S, V, A)                                                                                       \
    /* dialogs, prompts, services */                                                                                   \
    V(Alert) A(PromptInt) A(PromptMetric) A(PromptString) V(PromptPoint) V(PromptRect) A(FileScrollBox)                \
    A(ChooseFile) A(ScrollBox) V(QuickSelect) V(OpenResource) V(ModalDialog) V(ModelessDialog) V(DialogItemId)         \
    S(UserInteractSelection) V(UserCancel) S(Sleep) S(USleep) V(SystemShell) V(ForkAndExec)                            \
    /* documents and books */                                                                                          \
    V(Open) V(Save) V(Import) S(Export) S(UpdateBook) S(Close) S(SilentPrintDoc) V(CacheDocument) V(CustomDoc)         \
    S(SimpleImportFormats) S(SimpleImportElementDefs) S(SimpleGenerate) V(Compare) S(Cut) S(Clear) S(Copy) S(Paste)    \
    V(PushClipboard) S(PopClipboard) S(RestartPgfNumbering) S(Rehyphenate) S(ClearAllChangebars)                       \
    S(ResetEqnSettings) S(ResetReferenceFrames) S(UpdateVariables) S(Reformat) S(Redisplay) S(UpdateXRefs)             \
    S(UpdateTextInset) S(DeleteTextInsetContents) S(ApplyPageLayout)                                                   \
    /* fonts, encodings, search, spelling, palette */                                                                  \
    V(FamilyFonts) V(CombinedFamilyFonts) V(GetFontFamilyValue) V(GetFontVariationValue) V(GetFontWeightValue)         \
    V(GetFontAngleValue) S(MakeGhostFont) V(IsEncodingSupported) V(GetSupportedEncodings) V(GetEncodingForFamily)      \
    V(GetEncodingForFont) V(Find) S(ReplaceText) V(Spell) S(Dictionary) S(ModifyDictionary) S(ResetSpelling)           \
    S(Thesaurus) V(ShowHyphenation) S(ChangeColorPalette)                                                              \
    /* properties and objects */                                                                                       \
    V(GetInt) V(SetInt) V(GetIntByName) V(SetIntByName) V(GetId) V(SetId) V(GetMetric) V(SetMetric)                    \
    V(GetMetricByName) V(SetMetricByName) V(GetString) V(SetString) V(GetStrings) V(SetStrings) V(GetMetrics)          \
    V(SetMetrics) V(GetPoints) V(SetPoints) V(GetTabs) V(SetTabs) V(GetInts) V(SetInts) V(GetUBytesByName)             \
    V(SetUBytesByName) V(GetTextLoc) V(SetTextLoc) V(GetTextRange) V(SetTextRange) V(GetElementRange)                  \
    V(SetElementRange) V(GetVal) V(SetVal) V(GetPropVal) V(SetPropVal) V(GetProps) V(SetProps) V(DeletePropByName)     \
    V(GetTextVal) V(GetTextPropVal) V(GetTextProps) V(SetTextVal) V(SetTextPropVal) V(SetTextProps) V(ObjectValid)     \
    S(Delete) V(GetNamedObject) V(GetUniqueObject) V(NewGraphicObject) V(NewNamedObject) V(NewAnchoredObject)          \
    V(NewAnchoredFormattedObject) V(NewSeriesObject) V(NewSubObject)                                                   \
    /* session, menus, notifications */                                                                                \
    V(ClientNumber) V(ClientName) V(ClientDir) V(SetClientDir) V(CallClient) V(ReturnValue)                            \
    V(DisconnectFromSession) S(Notification) S(HypertextCommand) V(MenuExists) V(ShortcutExists) S(AddMenu)            \
    S(RemoveMenu) S(AddCommand) V(DefineCommand) V(DefineMenu) S(AddCommandToMenu) S(AddMenuToMenu)                    \
    V(DefineAndAddCommand) V(DefineAndAddMenu) S(LoadMenuCustomizationFile) S(AnimateMenu) V(MenuItemInMenu)           \
    /* text, elements, tables */                                                                                       \
    V(AddText) S(DeleteText) S(ScrollToText) S(CenterOnText) S(CenterOnGraphicObject) V(GetText) V(GetText2)           \
    V(GetTextForRange) V(GetTextForRange2) V(ElementLocToTextLoc) V(TextLocToElementLoc) V(GetElementCatalog)          \
    V(GetAttributeDefs) V(SetAttributeDefs) V(GetAttributes) V(SetAttributes) S(DeleteUndefinedAttribute)              \
    V(MergeIntoFirst) V(MergeIntoLast) V(SplitElement) V(WrapElement) V(UnWrapElement) V(PromoteElement)               \
    V(DemoteElement) V(NewElement) V(NewElementInHierarchy) V(NewBookComponentInHierarchy) S(AddRows) S(DeleteRows)    \
    S(AddCols) S(DeleteCols) S(MakeTblSelection) S(StraddleCells) S(UnStraddleCells) V(NewTable)

/// @cond DETAIL
#define TARNEL_STATUS_(name) inline constexpr detail::Request<&T_Api##name, detail::kStatus> name{"T_Api" #name};
#define TARNEL_VALUE_(name) inline constexpr detail::Request<&T_Api##name, detail::kValue> name{"T_Api" #name};
#define TARNEL_ANSWER_(name) inline constexpr detail::Answer<&T_Api##name> name{"T_Api" #name};
TARNEL_REQUESTS(TARNEL_STATUS_, TARNEL_VALUE_, TARNEL_ANSWER_)
#undef TARNEL_STATUS_
#undef TARNEL_VALUE_
#undef TARNEL_ANSWER_

// T_Progress() never reports a failure in TA_errno: the value is its
// return, 0 when the host took the progress value, -1 when not.
inline constexpr detail::Request<&T_Progress, detail::kValue> Progress{"T_Progress"};
inline constexpr detail::Answer<&oldT_ApiChooseFile> oldChooseFile{"oldT_ApiChooseFile"};
/// @endcond

/** T_ApiFcodes() of the codes in a span.
 * @param codes the function codes
 * @return success, or the error */
inline Result<void> Fcodes(std::span<const int> codes) {
    detail::ErrnoScope scope;
    (void)T_ApiFcodes(static_cast<int>(codes.size()), const_cast<int *>(codes.data()));
    return Result<void>(scope.code(), "T_ApiFcodes");
}

/** A typed value's kind as a type, for visit(): ValueKind<TA_KIND_INT> and
 * so on, ValueKind<0> for a kind the table does not list (one word).
 * @tparam K the kind's number */
template <int K> using ValueKind = std::integral_constant<int, K>;

/// @cond DETAIL
namespace detail {
// Per kind of TA_VALUE_KINDS: the member of the union it selects.
template <int K> struct kind_member;
#define TARNEL_KIND_MEMBER_(num, name, member, shape, stem)                                                            \
    template <> struct kind_member<num> {                                                                              \
        using type = std::remove_cvref_t<decltype(std::declval<const T_TypedValT &>().u.member)>;                      \
        static const type &of(const T_TypedValT &v) noexcept { return v.u.member; }                                    \
    };
TA_VALUE_KINDS(TARNEL_KIND_MEMBER_)
#undef TARNEL_KIND_MEMBER_
}  // namespace detail
/// @endcond

/** The C type a kind of typed value holds: kind_t<TA_KIND_STRING> is
 * StringT, kind_t<TA_KIND_INTS> is T_IntsT (from #TA_VALUE_KINDS).
 * @tparam K a kind listed in #TA_VALUE_KINDS */
template <int K> using kind_t = typename detail::kind_member<K>::type;

/** Reads a typed value as one kind.
 * @tparam K a kind listed in #TA_VALUE_KINDS (TA_KIND_STRING, ...)
 * @param v the value
 * @return the member of kind K, valid while v is; null when v is of
 *         another kind */
template <int K> const kind_t<K> *get_if(const T_TypedValT &v TARNEL_LIFETIMEBOUND) noexcept {
    return v.kind == K ? &detail::kind_member<K>::of(v) : nullptr;
}
/** A temporary value's member would dangle; keep the value. */
template <int K> void get_if(const T_TypedValT &&) = delete;
/** Reads an owned typed value as one kind.
 * @tparam K a kind listed in #TA_VALUE_KINDS
 * @param v the owner
 * @return the member of kind K, valid while v holds it; null for another kind */
template <int K> const kind_t<K> *get_if(const TypedVal &v TARNEL_LIFETIMEBOUND) noexcept { return get_if<K>(v.get()); }
/** A temporary owner's member would dangle; keep the owner. */
template <int K> void get_if(const TypedVal &&) = delete;

/// @cond DETAIL
// One case of visit() per kind.
#define TARNEL_VISIT_(num, name, member, shape, stem)                                                                  \
    case num: return static_cast<R>(std::invoke(f, ValueKind<num>{}, v.u.member));
/// @endcond
/** Calls f with the typed value's kind (a ValueKind) and the member that
 * kind selects, `f(ValueKind<TA_KIND_STRING>{}, StringT)` and so on; a kind
 * the table does not list arrives as `f(ValueKind<0>{}, int)`. One branch
 * per row of #TA_VALUE_KINDS.
 * @param v the value
 * @param f a callable taking (ValueKind, const member &), e.g. a generic
 *        lambda
 * @return what f returns (the same type for every kind) */
template <typename F> decltype(auto) visit(const T_TypedValT &v, F &&f) {
    using R = std::invoke_result_t<F, ValueKind<0>, const int &>;
    switch (v.kind) {
        TA_VALUE_KINDS(TARNEL_VISIT_)
    default: return static_cast<R>(std::invoke(f, ValueKind<0>{}, v.u.ival));
    }
}
#undef TARNEL_VISIT_

/** A property list the library keeps (the return-parameter list of a
 * scripted request: T_ApiOpen() and the others), read without owning it.
 * It is valid until the next call of the same request, which releases what
 * it held; pass the same view as that call's Out to follow the list.
 * Nothing to release. */
class PropValsView {
  public:
    /** No list. */
    PropValsView() noexcept = default;
    /** @param list the library's list, or null */
    explicit PropValsView(T_PropValsT *list) noexcept : p_(list) {}
    /** @return the list, or null */
    const T_PropValsT *get() const noexcept { return p_; }
    /** @return the entries (none without a list) */
    std::span<const T_PropValT> items() const noexcept {
        return p_ != nullptr && p_->items != nullptr ? std::span<const T_PropValT>(p_->items, p_->count)
                                                     : std::span<const T_PropValT>();
    }
    /** @return the first entry, for range-for */
    auto begin() const noexcept { return items().begin(); }
    /** @return the end of the entries */
    auto end() const noexcept { return items().end(); }
    /** @return the number of entries */
    std::size_t size() const noexcept { return items().size(); }
    /** @return the pointer variable a scripted request's Out fills */
    T_PropValsT **out() noexcept { return &p_; }

  private:
    T_PropValsT *p_ = nullptr;
};

/// @cond DETAIL
namespace detail {
inline std::span<const T_PropValT> entries(const T_PropValsT &list) noexcept {
    return list.items != nullptr ? std::span<const T_PropValT>(list.items, list.count) : std::span<const T_PropValT>();
}
template <typename L>
    requires requires(const L &l) {
        { l.items() } -> std::convertible_to<std::span<const T_PropValT>>;
    }
std::span<const T_PropValT> entries(const L &list) noexcept {
    return list.items();
}
inline bool names(const T_PropIdentT &ident, int num) noexcept { return ident.num == num; }
inline bool names(const T_PropIdentT &ident, std::string_view name) noexcept {
    return ident.num == 0 && view(ident.name) == name;
}
template <typename L, typename Key> const T_PropValT *find(const L &list, Key key) noexcept {
    for (const T_PropValT &p : entries(list))
        if (names(p.ident, key)) return &p;
    return nullptr;
}
}  // namespace detail
/// @endcond

/** The first entry of a property list with a property number.
 * @param list a T_PropValsT, a PropVals owner or a PropValsView
 * @param num the property number
 * @return the entry, valid while the list is; null when there is none */
template <typename L> const T_PropValT *find(const L &list TARNEL_LIFETIMEBOUND, int num) noexcept {
    return detail::find(list, num);
}
/** The first entry of a property list named by name (number 0).
 * @param list a T_PropValsT, a PropVals owner or a PropValsView
 * @param name the property name
 * @return the entry, valid while the list is; null when there is none */
template <typename L> const T_PropValT *find(const L &list TARNEL_LIFETIMEBOUND, std::string_view name) noexcept {
    return detail::find(list, name);
}
/** An entry of a temporary list would dangle; keep the list. */
template <typename L> void find(const L &&, int) = delete;
/** An entry of a temporary list would dangle; keep the list. */
template <typename L> void find(const L &&, std::string_view) = delete;

/** A property of a list read as one kind: find() then get_if().
 * @tparam K a kind listed in #TA_VALUE_KINDS
 * @param list a T_PropValsT, a PropVals owner or a PropValsView
 * @param key the property number or name
 * @return the value, valid while the list is; null when the list has no
 *         such property or it holds another kind */
template <int K, typename L, typename Key>
    requires std::is_convertible_v<Key, int> || std::is_convertible_v<Key, std::string_view>
const kind_t<K> *get_if(const L &list TARNEL_LIFETIMEBOUND, const Key &key) noexcept {
    const T_PropValT *p = find(list, key);
    return p != nullptr ? get_if<K>(p->value) : nullptr;
}
/** A value of a temporary list would dangle; keep the list. */
template <int K, typename L, typename Key> void get_if(const L &&, const Key &) = delete;

/** The number of the filter notification, whose text is a split record
 * (TdeApiFilterArgsT) rather than a string; Client::filter() receives it. */
inline constexpr int kFilterNotification = 75;

/** A client as a class: derive from it, override the callbacks it reacts
 * to, and name the class once with #TARNEL_CLIENT. The defaults do nothing,
 * as the library's own do. Strings passed in are valid during the call
 * only. Every callback runs on the thread of the service loop, the one
 * thread the library may be called from. An exception that leaves a
 * callback is caught there: it is reported on standard error ("a callback
 * ended by ..." through T_ApiErr()), the callback ends, and the host gets
 * control back as after a normal return; it never reaches the C library or
 * the caller of the service loop. */
class Client {
  public:
    virtual ~Client() = default;
    /** The host initialises the client (T_ApiInitialize()).
     * @param initialization the host's initialisation code */
    virtual void initialize(int initialization) { (void)initialization; }
    /** A notification the client asked for (T_ApiNotify()), except the
     * filter notification, which goes to filter().
     * @param notification the notification number
     * @param objId the object it concerns
     * @param text its text
     * @param number its number */
    virtual void notify(int notification, unsigned int objId, std::string_view text, int number) {
        (void)notification, (void)objId, (void)text, (void)number;
    }
    /** The filter notification with its text split; by default passed to
     * notify() with an empty text.
     * @param objId the notification's object
     * @param args the pieces of its text
     * @param number its number */
    virtual void filter(unsigned int objId, const TdeApiFilterArgsT &args, int number) {
        (void)args;
        notify(kFilterNotification, objId, {}, number);
    }
    /** The user chose one of the client's commands (T_ApiCommand()).
     * @param command the command number */
    virtual void command(int command) { (void)command; }
    /** A message for the client (T_ApiMessage()).
     * @param message the text
     * @param uint1,uint2 the host's values */
    virtual void message(std::string_view message, unsigned int uint1, unsigned int uint2) {
        (void)message, (void)uint1, (void)uint2;
    }
    /** An event of an open dialog (T_ApiDialogEvent()).
     * @param int1,int2,int3 the host's values */
    virtual void dialog_event(int int1, int int2, int int3) { (void)int1, (void)int2, (void)int3; }
    /** The host has gone; the process exits when this returns
     * (T_ApiEmergency()). */
    virtual void emergency() {}

    /// @cond DETAIL
    // What T_ApiNotify() receives, told apart by notification.
    void deliver(int notification, unsigned int objId, StringT text, int number) {
        if (notification == kFilterNotification && text != nullptr)
            filter(objId, *reinterpret_cast<const TdeApiFilterArgsT *>(text), number);
        else
            notify(notification, objId, view(text), number);
    }
    /// @endcond
};

/** Defines the C callbacks (T_ApiInitialize() and the others, the
 * library's defaults included) for a client class derived from Client.
 * One object of the class is made at the first callback and serves them
 * all. Write it once, at namespace scope, followed by a semicolon.
 * @param Class the client class, default-constructible */
#define TARNEL_CLIENT(Class)                                                                                           \
    static ::tarnel::Client &tarnel_client_object() {                                                                  \
        static Class object;                                                                                           \
        return object;                                                                                                 \
    }                                                                                                                  \
    extern "C" void T_ApiInitialize(int i) {                                                                           \
        ::tarnel::detail::dispatch([&] { tarnel_client_object().initialize(i); });                                     \
    }                                                                                                                  \
    extern "C" void T_ApiNotify(int n, unsigned int o, StringT t, int k) {                                             \
        ::tarnel::detail::dispatch([&] { tarnel_client_object().deliver(n, o, t, k); });                               \
    }                                                                                                                  \
    extern "C" void T_ApiCommand(int c) {                                                                              \
        ::tarnel::detail::dispatch([&] { tarnel_client_object().command(c); });                                        \
    }                                                                                                                  \
    extern "C" void T_ApiMessage(StringT m, unsigned int a, unsigned int b) {                                          \
        ::tarnel::detail::dispatch([&] { tarnel_client_object().message(::tarnel::view(m), a, b); });                  \
    }                                                                                                                  \
    extern "C" void T_ApiDialogEvent(int a, int b, int c) {                                                            \
        ::tarnel::detail::dispatch([&] { tarnel_client_object().dialog_event(a, b, c); });                             \
    }                                                                                                                  \
    extern "C" void T_ApiEmergency(void) {                                                                             \
        ::tarnel::detail::dispatch([&] { tarnel_client_object().emergency(); });                                       \
    }                                                                                                                  \
    static_assert(std::is_base_of_v<::tarnel::Client, Class>, "a client class derives from tarnel::Client")

}  // namespace tarnel

#include <tarnel/tnapi_pipeline.hpp>

#endif
