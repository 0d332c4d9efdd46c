// Default dialog-event callback: ignores the event. A client's own wins at link time.
#include <tarnel/tnapi_session.h>

extern "C" void T_ApiDialogEvent(int, int, int) {}
