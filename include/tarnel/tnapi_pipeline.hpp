/** @file
 * tarnel::Pipeline: the request forms of tnapi.hpp sent back to back, their
 * replies read in order (tarnel/tnapi_pipeline.h). Included by tnapi.hpp. */
#ifndef TARNEL_TNAPI_PIPELINE_HPP
#define TARNEL_TNAPI_PIPELINE_HPP

#include <memory>
#include <optional>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>

#include <tarnel/tnapi.hpp>
#include <tarnel/tnapi_pipeline.h>

namespace tarnel {

/// @cond DETAIL
namespace detail {

// What a pipelined request keeps of each C argument until its reply: the
// value, a string's copy, a record's or list's top-level copy (the reply
// pass reads that, not what it points to).
template <typename P> struct Kept {
    P value;
    explicit Kept(P p) noexcept : value(p) {}
    P get() noexcept { return value; }
};
template <> struct Kept<StringT> {
    bool null;
    std::string text;
    explicit Kept(StringT p) : null(p == nullptr), text(p != nullptr ? p : "") {}
    StringT get() noexcept { return null ? nullptr : text.data(); }
};
template <typename T>
    requires std::is_class_v<T>
struct Kept<T *> {
    bool null;
    T value;
    explicit Kept(T *p) noexcept : null(p == nullptr), value(p != nullptr ? *p : T{}) {}
    T *get() noexcept { return null ? nullptr : &value; }
};

template <typename T> struct PendingState {
    std::optional<Result<T>> result;
};

template <typename F> struct c_params;
template <typename R, typename... P> struct c_params<R (*)(P...)> {
    using type = std::tuple<P...>;
};

// One pipelined request: its form, its kept arguments and, once answered,
// its result. The library calls `call` for both passes; the second also
// drops the library's reference. What the send pass returns is kept apart:
// it is the result only when that pass made no request.
template <typename Form, typename... P> struct Pipelined final : PendingState<typename Form::Value> {
    const Form &form;
    std::tuple<Kept<P>...> args;
    std::optional<Result<typename Form::Value>> unsent;
    template <typename... C>
    Pipelined(const Form &f, C... c) : form(f), args(Kept<P>(c)...) {}
    static void call(void *data, int answering) noexcept {
        auto *self = static_cast<std::shared_ptr<Pipelined> *>(data);
        Pipelined &p = **self;
        (answering != 0 ? p.result : p.unsent)
            .emplace(std::apply([&p](auto &...k) { return p.form.invoke(k.get()...); }, p.args));
        if (answering != 0) delete self;
    }
};

template <typename Form, typename Params, typename Seq> struct pipelined_of;
template <typename Form, typename... P, std::size_t... I>
struct pipelined_of<Form, std::tuple<P...>, std::index_sequence<I...>> {
    using type = Pipelined<Form, std::tuple_element_t<Form::first + I, std::tuple<P...>>...>;
};

}  // namespace detail
/// @endcond

/** A request added to a Pipeline: its result once the reply is in.
 * @tparam T the value type of the request form's Result */
template <typename T> class [[nodiscard]] Pending {
  public:
    /** @param state the request's shared state (Pipeline::add() makes it) */
    explicit Pending(std::shared_ptr<detail::PendingState<T>> state) noexcept : s_(std::move(state)) {}
    /** @return whether the reply has been read (get() will not wait) */
    bool ready() const noexcept { return s_->result.has_value(); }
    // clang-format off
    /** Waits for the reply if it has not been read (the pipeline is
     * flushed).
     * @return the Result the synchronous form would have returned, owned
     *         by this handle */
    const Result<T> &get() & TARNEL_LIFETIMEBOUND {
        wait();
        return *s_->result;
    }
    /** As get(), the Result moved out of a handle that is going.
     * @return the Result */
    Result<T> get() && {
        wait();
        return std::move(*s_->result);
    }
    // clang-format on

  private:
    void wait() {
        if (!ready()) (void)T_ApiPipelineWait();
        if (!ready()) s_->result.emplace(Error(TA_ERR_NO_REPLY));
    }
    std::shared_ptr<detail::PendingState<T>> s_;
};

/** Requests sent back to back, their replies read in order: one round trip
 * for the lot rather than one each.
 *
 *     tarnel::Pipeline pipe;
 *     auto width = pipe.add(tarnel::GetInt, doc, obj, 110);
 *     auto name = pipe.add(tarnel::GetString, doc, obj, 20);
 *     pipe.flush();
 *     if (width.get()) std::printf("%d\n", *width.get());
 *
 * add() takes any request form of tnapi.hpp with the arguments of its
 * synchronous call, sends the request (reading replies as it goes when
 * #TA_PIPELINE_WINDOW requests are outstanding) and returns a Pending;
 * its get() gives exactly the Result the synchronous call would have given,
 * owned memory included. The arguments are copied as far as the request
 * needs them: nothing passed to add() need outlive it. flush() waits for
 * every reply; so do destroying the pipeline and get() on a request not yet
 * answered. A request made otherwise meanwhile (a synchronous form, a C
 * request function) first waits for the replies outstanding, so it sees the
 * pipeline's writes.
 *
 * Not allowed: forms with an output argument (the scripted requests,
 * tarnel::Spell) and tarnel::DisconnectFromSession do not compile;
 * tarnel::ModalDialog, which waits on callbacks, gives #TA_ERR_NOT_PIPELINABLE
 * without being sent. */
class Pipeline {
  public:
    Pipeline() noexcept = default;
    Pipeline(const Pipeline &) = delete;
    Pipeline &operator=(const Pipeline &) = delete;
    /** Waits for every reply outstanding. */
    ~Pipeline() { flush(); }

    /** Sends a request.
     * @param form a request form (tarnel::GetInt, tarnel::SetString, ...)
     * @param args its arguments, as the form takes them
     * @return the request's pending result */
    template <typename Form, typename... A> auto add(const Form &form, A &&...args) {
        using Params = typename detail::c_params<std::remove_cv_t<decltype(Form::function)>>::type;
        constexpr std::size_t sent = std::tuple_size_v<Params> - Form::first;
        static_assert(sizeof...(A) == sent, "Pipeline::add takes the request's own arguments");
        static_assert(!std::is_same_v<Form, std::remove_cv_t<decltype(DisconnectFromSession)>>,
                      "the disconnection cannot be pipelined");
        static_assert(noOutputs<Form, Params>(std::make_index_sequence<sent>()),
                      "a request with an output argument cannot be pipelined: call it directly");
        using State = typename detail::pipelined_of<Form, Params, std::make_index_sequence<sent>>::type;
        auto state = make<State, Form, Params>(form, std::make_index_sequence<sent>(), std::forward<A>(args)...);
        auto *held = new std::shared_ptr<State>(state);
        const int sentNow = T_ApiPipelineAdd(&State::call, held);
        if (sentNow != 1) delete held;
        if (sentNow == 0) state->result = std::move(state->unsent);
        if (sentNow < 0) state->result.emplace(Error(TA_ERR_NOT_PIPELINABLE, form.name));
        state->unsent.reset();
        return Pending<typename Form::Value>(std::move(state));
    }

    /** Sends what is not yet sent and reads every reply outstanding. */
    void flush() noexcept { (void)T_ApiPipelineWait(); }

  private:
    template <typename Form, typename Params, std::size_t... I>
    static constexpr bool noOutputs(std::index_sequence<I...>) {
        return (!detail::is_output<Form::function, Form::first + I,
                                   std::tuple_element_t<Form::first + I, Params>>() &&
                ...);
    }
    // The C arguments from the form's own parameter types, as its call
    // would make them, kept before the temporaries go.
    template <typename State, typename Form, typename Params, std::size_t... I, typename... A>
    static std::shared_ptr<State> make(const Form &form, std::index_sequence<I...>, A &&...args) {
        return std::make_shared<State>(
            form, detail::pass(detail::param_t<Form::function, Form::first + I,
                                               std::tuple_element_t<Form::first + I, Params>>(
                      std::forward<A>(args)))...);
    }
};

}  // namespace tarnel

#endif
