#include "library_client.h"

#include <tarnel/tnapi_session.h>

namespace tarnel_test {

LibraryHost::LibraryHost(json rules, json extra) : ServedHost(std::move(rules), std::move(extra), &tarnel_client) {}

}  // namespace tarnel_test

extern "C" {
void T_ApiInitialize(int) {}
void T_ApiNotify(int, unsigned int, StringT, int) {}
void T_ApiCommand(int) {}
}
