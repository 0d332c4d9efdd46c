// Failure policy: broken preconditions end in TdeFail, fatal exhaustion in
// TdeFDSExit. Both give the client's handler one chance to leave (by a
// non-local jump or exit) before the process aborts.
#include <tarnel/tde_memory.h>

extern "C" {

void defaultHandler(void) { T_Abort(); }

void TdeFail(void) {
    if (TdeInstance != nullptr) {
        TdeHandlerT handler = TdeInstance->assertHandler;
        if (handler != nullptr && handler != defaultHandler) handler();
    }
    defaultHandler();
}

void TdeFDSExit(void) {
    if (TdeInstance != nullptr && TdeInstance->dsExitHandler != nullptr) TdeInstance->dsExitHandler();
    T_Abort();
}

TdeHandlerT T_SetAssert(TdeHandlerT handler) {
    TdeInstanceInit();
    TdeHandlerT previous = TdeInstance->assertHandler;
    TdeInstance->assertHandler = handler != nullptr ? handler : defaultHandler;
    return previous != nullptr ? previous : defaultHandler;
}

TdeHandlerT T_SetDSExit(TdeHandlerT handler) {
    TdeInstanceInit();
    TdeHandlerT previous = TdeInstance->dsExitHandler;
    TdeInstance->dsExitHandler = handler;
    return previous;
}

unsigned char TdeSetStrictEnforcement(int flag) {
    TdeInstanceInit();
    unsigned char previous = TdeInstance->strictEnforcement;
    TdeInstance->strictEnforcement = flag != 0 ? 1 : 0;
    return previous;
}

// Without a settings record nobody has relaxed the rules, so they are fatal.
int TdeEnforcement(void) {
    if (TdeInstance == nullptr || TdeInstance->strictEnforcement != 0) TdeFail();
    return 1;
}

}  // extern "C"
