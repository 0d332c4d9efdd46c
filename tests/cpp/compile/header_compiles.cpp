// The C++ header on its own, under the strictest warnings, with every
// request's C++ form instantiated, and each exactly as the reference shows
// it (tnapi_forms.hpp, generated): same parameters, same result.
#include <tarnel/tnapi.hpp>

namespace reference {
using namespace ::tarnel;
#include "tnapi_forms.hpp"
}  // namespace reference

#define TARNEL_USE_(name) (void)&std::remove_cvref_t<decltype(tarnel::name)>::operator();

void tarnel_header_instantiated() {
    TARNEL_REQUESTS(TARNEL_USE_, TARNEL_USE_, TARNEL_USE_)
    TARNEL_USE_(Progress) TARNEL_USE_(oldChooseFile)(void) & tarnel::Fcodes;
}

template <typename F> struct signature;
template <typename R, typename... A> struct signature<R (*)(A...)> { using type = R(A...); };
template <typename R, typename C, typename... A> struct signature<R (C::*)(A...) const> { using type = R(A...); };
#define TARNEL_AS_SHOWN_(name)                                                                                         \
    static_assert(std::is_same_v<signature<decltype(&reference::tarnel::name)>::type,                                  \
                                 signature<decltype(&std::remove_cvref_t<decltype(tarnel::name)>::operator())>::type>, \
                  "the reference shows tarnel::" #name " otherwise");
TARNEL_REQUESTS(TARNEL_AS_SHOWN_, TARNEL_AS_SHOWN_, TARNEL_AS_SHOWN_)
