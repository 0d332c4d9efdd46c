// The C++ header on its own, under the strictest warnings, with every
// request's C++ form instantiated.
#include <tarnel/tnapi.hpp>

#define TARNEL_USE_(name) (void)&std::remove_cvref_t<decltype(tarnel::name)>::operator();

void tarnel_header_instantiated() {
    TARNEL_REQUESTS(TARNEL_USE_, TARNEL_USE_, TARNEL_USE_)
    TARNEL_USE_(Progress) TARNEL_USE_(oldChooseFile)(void) & tarnel::Fcodes;
}
