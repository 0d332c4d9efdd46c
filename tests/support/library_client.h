// The test process as the library's own client of a served host: the
// request functions talk to it through tarnel_client. Linking this also
// gives the program the three callbacks every client defines (it never
// receives one).
#ifndef TARNEL_TEST_LIBRARY_CLIENT_H
#define TARNEL_TEST_LIBRARY_CLIENT_H

#include "host_launcher.h"

namespace tarnel_test {

class LibraryHost : public ServedHost {
  public:
    explicit LibraryHost(json rules = json::array(), json extra = json::object());
};

}  // namespace tarnel_test

#endif
