// Default vanished-host callback: nothing to save. A client's own wins at link time.
#include <tarnel/tnapi_session.h>

extern "C" void T_ApiEmergency(void) {}
