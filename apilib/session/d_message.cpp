// Default message callback: ignores the message. A client's own wins at link time.
#include <tarnel/tnapi_session.h>

extern "C" void T_ApiMessage(StringT, unsigned int, unsigned int) {}
