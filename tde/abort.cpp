// The last step of every fatal path.
#include <cstdlib>

#include <tarnel/tde_memory.h>

extern "C" void T_Abort(void) { std::abort(); }
