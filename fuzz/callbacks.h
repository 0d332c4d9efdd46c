// The client's callbacks for the fuzz targets: they read every argument (so
// the sanitizers see a bad one) and record the last call for the harness.
#ifndef TARNEL_FUZZ_CALLBACKS_H
#define TARNEL_FUZZ_CALLBACKS_H

#include <cstddef>
#include <string>

namespace fuzz {

struct CallbackLog {
    int calls = 0;
    const char *name = nullptr;  // the callback last called
    int a = 0, b = 0, c = 0;     // its integer arguments, in order
    std::string text;            // its string argument; for notification 75
                                 // the pieces, each followed by '\n'
    std::size_t pieces = 0;      // notification 75: the number of pieces
};

extern CallbackLog callback_log;

}  // namespace fuzz

#endif
