// The per-process settings record behind the failure policy.
#include <tarnel/tde_memory.h>

extern "C" {

TdeInstanceT *TdeInstance = nullptr;

// Strict enforcement is switched on only when the record is created, so a
// client that turned it off keeps that choice when it later installs a
// handler.
void TdeInstanceInit(void) {
    if (TdeInstance != nullptr) return;
    // Fatal on exhaustion: without the record no handler could ever run.
    TdeInstance = static_cast<TdeInstanceT *>(T_Calloc(1, sizeof(TdeInstanceT), TDE_ALLOC_FATAL));
    TdeInstance->strictEnforcement = 1;
}

}  // extern "C"
