/** @file
 * The C++ interface for clients, header only, over the unchanged C API of
 * tnapi.h: owners for the memory the library hands over, views for reading
 * it, request functions that take std::string_view and spans and return a
 * Result instead of setting #TA_errno, and a client written as a class.
 * Everything here is inline; it adds no work to a call beyond what a
 * careful C caller does by hand. */
#ifndef TARNEL_TNAPI_HPP
#define TARNEL_TNAPI_HPP

#include <cstddef>
#include <cstdio>
#include <exception>
#include <initializer_list>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

#ifndef TARNEL_NO_RPC_HEADERS
/** The C declarations without `<rpc/rpc.h>`, whose macros (TRUE, MIN,
 * isset, mem_alloc...) would take over the client's own names: only the
 * RPC library's types they name (tarnel/rpc_types.h). */
#define TARNEL_NO_RPC_HEADERS
#endif
#include <tarnel/tde_memory.h>
#include <tarnel/tnapi_errors.h>
#include <tarnel/tnapi_requests.h>
#include <tarnel/tnapi_session.h>
#include <tarnel/tnapi_values.h>

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
 * and strings as std::string_view; release() hands the raw value back to a
 * caller that passes it on to C.
 * @tparam T the C value type (StringT, a list, a record that owns memory)
 * @tparam Release the C API's release operation for it */
template <typename T, void (*Release)(T *)> class Owned {
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
    /** Gives up ownership without releasing.
     * @return the raw value, now the caller's to release with the C API */
    [[nodiscard]] T release() noexcept {
        owns_ = false;
        return std::exchange(raw_, T{});
    }
    /** Empties the owner and lends its storage to a C function that writes
     * a new value there (an output argument); that value is then owned.
     * @return the address to pass */
    T *out() noexcept {
        reset();
        owns_ = true;
        return &raw_;
    }
    /** @return whether this owner holds a value to release */
    bool owns() const noexcept { return owns_; }
    /** @return the raw value, for reading or for passing to C by address */
    const T &get() const noexcept { return raw_; }
    /** @return the raw value's fields */
    const T *operator->() const noexcept { return &raw_; }

    /** @return the string (null reads as empty) */
    std::string_view view() const noexcept
        requires std::is_same_v<T, StringT>
    {
        return tarnel::view(raw_);
    }
    /** @return the list's items */
    auto items() const noexcept
        requires requires(T t) { t.items + t.count; }
    {
        using Item = std::remove_pointer_t<decltype(raw_.items)>;
        return raw_.items != nullptr ? std::span<const Item>(raw_.items, raw_.count) : std::span<const Item>();
    }
    /** @return the first item, for range-for over a list */
    auto begin() const noexcept
        requires requires(T t) { t.items + t.count; }
    {
        return items().begin();
    }
    /** @return the end of the items */
    auto end() const noexcept
        requires requires(T t) { t.items + t.count; }
    {
        return items().end();
    }
    /** @return the number of items of a list */
    std::size_t size() const noexcept
        requires requires(T t) { t.items + t.count; }
    {
        return items().size();
    }

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

/** The failure of a request: the #TA_errno code it reported. */
class Error {
  public:
    /** @param code the code (not 0) */
    explicit Error(int code) noexcept : code_(code) {}
    /** @return the code: a TA_ERR_ value or the host's status */
    int code() const noexcept { return code_; }
    /** @return the code's text, from T_ApiErrorText() */
    std::string text() const { return T_ApiErrorText(code_); }

  private:
    int code_;
};

/** Thrown by Result::value() when the result holds an error. */
class Failure : public std::runtime_error {
  public:
    /** @param error what failed */
    explicit Failure(Error error) : std::runtime_error(error.text()), error_(error) {}
    /** @return what failed */
    Error error() const noexcept { return error_; }

  private:
    Error error_;
};

/// @cond DETAIL
namespace detail {
// What every result holds: the code, 0 on success.
class Outcome {
  public:
    bool ok() const noexcept { return code_ == 0; }
    explicit operator bool() const noexcept { return ok(); }
    int code() const noexcept { return code_; }
    std::string text() const { return T_ApiErrorText(code_); }

  protected:
    explicit Outcome(int code) noexcept : code_(code) {}
    void check() const {
        if (code_ != 0) throw Failure(Error(code_));
    }

  private:
    int code_;
};
}  // namespace detail
/// @endcond

/** What a request's C++ form returns: its value, or the error it reported.
 * ok() (or the bool conversion) says which; code() and text() give the
 * #TA_errno code (0 on success) and T_ApiErrorText() of it. value() throws
 * Failure on an error; `*` and `->` read the value unchecked.
 * @tparam T the value: a scalar, a record or an owner */
template <typename T> class Result : public detail::Outcome {
  public:
    /** A success.
     * @param value the value */
    Result(T value) : Outcome(0), value_(std::move(value)) {}
    /** A failure.
     * @param error what failed */
    Result(Error error) noexcept : Outcome(error.code()) {}
    /** @return the value; throws Failure on an error */
    T &value() & {
        check();
        return *value_;
    }
    /** @return the value; throws Failure on an error */
    const T &value() const & {
        check();
        return *value_;
    }
    /** @return the value; throws Failure on an error */
    T value() && {
        check();
        return std::move(*value_);
    }
    /** @param fallback what an error gives
     * @return the value, or the fallback on an error */
    T value_or(T fallback) && { return ok() ? std::move(*value_) : std::move(fallback); }
    /** @return the value; only on success */
    T &operator*() noexcept { return *value_; }
    /** @return the value's members; only on success */
    T *operator->() noexcept { return &*value_; }

  private:
    std::optional<T> value_;
};

/** The result of a request that returns nothing: success, or the error. */
template <> class Result<void> : public detail::Outcome {
  public:
    /** @param code the #TA_errno code; 0 for success */
    explicit Result(int code = 0) noexcept : Outcome(code) {}
    /** Throws Failure on an error. */
    void value() const { check(); }
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

/** A record or list argument taken by address. Inputs are read only: a
 * record, an owner, null, or for lists a span (or braced list) of items.
 * An output or in-out argument is the raw address, e.g. an owner's out().
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
    /** @param p an address the C function may read or write */
    In(T *p) noexcept : p_(p) {}
    /** @param p an address the C function reads, or null */
    In(const T *p) noexcept : p_(const_cast<T *>(p)) {}
    /** @param v the value */
    In(const T &v) noexcept : p_(const_cast<T *>(&v)) {}
    /** Null: the zero record or empty list. */
    In(std::nullptr_t) noexcept : p_(nullptr) {}
    /** @param v an owner's value */
    template <void (*R)(T *)> In(const Owned<T, R> &v) noexcept : p_(const_cast<T *>(&v.get())) {}
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
    /** @return the address as the C API takes it */
    T *get() const noexcept { return p_; }

  private:
    In(std::span<Viewed> items, int) noexcept
        requires list
        : tmp_{static_cast<u_int>(items.size()), const_cast<Item *>(items.data())}, p_(&tmp_) {}
    T tmp_{};
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
template <typename P>
    requires std::is_scalar_v<P>
P pass(P p) noexcept {
    return p;
}
inline StringT pass(const Text &t) noexcept { return t.get(); }
template <typename T> T *pass(const In<T> &in) noexcept { return in.get(); }

// TA_errno for the duration of one C++ form: cleared before the call so
// that any failure shows, put back afterwards so that C code around sees
// it as it was.
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

template <auto Fn, Kind K> struct Request;

template <typename R, typename... P, R (*Fn)(P...), Kind K> struct Request<Fn, K> {
    using Value = std::conditional_t<K == kStatus, void, held_t<R>>;
    Result<Value> operator()(typename arg<P>::type... a) const {
        ErrnoScope scope;
        if constexpr (std::is_void_v<Value>) {
            (void)Fn(pass(a)...);
            return Result<void>(scope.code());
        } else {
            Value value(Fn(pass(a)...));
            if (scope.code() != 0) return Error(scope.code());
            return Result<Value>(std::move(value));
        }
    }
};

// Answer results: the first argument receives the answer; -1 without a
// TA_errno is a declined prompt.
template <auto Fn> struct Answer;
template <typename A, typename... P, int (*Fn)(A *, P...)> struct Answer<Fn> {
    using Value = std::optional<held_t<A>>;
    Result<Value> operator()(typename arg<P>::type... a) const {
        ErrnoScope scope;
        A answer{};
        const int declined = Fn(&answer, pass(a)...);
        held_t<A> held(answer);
        if (scope.code() != 0) return Error(scope.code());
        if (declined != 0) return Result<Value>(std::nullopt);
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
template <typename F> void dispatch(F &&callback) noexcept {
    try {
        callback();
    } catch (const std::exception &e) {
        reportEscape(e.what());
    } catch (...) {
        reportEscape("an exception that is not a std::exception");
    }
}

}  // namespace detail
/// @endcond

/** The request functions' C++ forms, one row per C function: T_ApiGetInt()
 * becomes tarnel::GetInt, and so on, with the same arguments in the same order:
 * a string as a Text (`const char *`, std::string or std::string_view), a
 * record or list by address as an In (the value, an owner, a span or braced
 * list of items, null, or a raw address for outputs such as an owner's
 * out()), anything else as in C. Each returns a Result; #TA_errno is
 * cleared for the call and restored after it, so it never changes.
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
#define TARNEL_STATUS_(name) inline constexpr detail::Request<&T_Api##name, detail::kStatus> name{};
#define TARNEL_VALUE_(name) inline constexpr detail::Request<&T_Api##name, detail::kValue> name{};
#define TARNEL_ANSWER_(name) inline constexpr detail::Answer<&T_Api##name> name{};
TARNEL_REQUESTS(TARNEL_STATUS_, TARNEL_VALUE_, TARNEL_ANSWER_)
#undef TARNEL_STATUS_
#undef TARNEL_VALUE_
#undef TARNEL_ANSWER_
/// @endcond

/// @cond DETAIL
// T_Progress() never reports a failure in TA_errno: the value is its
// return, 0 when the host took the progress value, -1 when not.
inline constexpr detail::Request<&T_Progress, detail::kValue> Progress{};
inline constexpr detail::Answer<&oldT_ApiChooseFile> oldChooseFile{};
/// @endcond

/** T_ApiFcodes() of the codes in a span.
 * @param codes the function codes
 * @return success, or the error */
inline Result<void> Fcodes(std::span<const int> codes) {
    return detail::Request<&T_ApiFcodes, detail::kStatus>{}(static_cast<int>(codes.size()),
                                                             const_cast<int *>(codes.data()));
}

/** The number of the filter notification, whose text is a split record
 * (TdeApiFilterArgsT) rather than a string; Client::filter() receives it. */
inline constexpr int kFilterNotification = 75;

/** A client as a class: derive from it, override the callbacks it reacts
 * to, and name the class once with #TARNEL_CLIENT. The defaults do nothing,
 * as the library's own do. Strings passed in are valid during the call
 * only. An exception that leaves a callback is reported on standard error
 * and goes no further. */
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

#endif
