// Sends every procedure of the API program once, with a zeroed argument, when
// initialised: a recorded session of it holds every request and reply the
// protocol has. The session's own procedures (acknowledgement, over, take
// control, disconnect) are left to the library, which sends them itself.
//
// With EVERY_REQUEST_SLOW_TRACE=MS it installs a trace function that takes
// that long over every event, and prints how many it received at the end.
#include <tarnel/tnapi.h>
#include <unistd.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "wire/proctable.h"

extern "C" {

void T_ApiInitialize(int) {
    static long events = 0;
    if (const char *ms = std::getenv("EVERY_REQUEST_SLOW_TRACE"); ms != nullptr) {
        static const unsigned int delay = static_cast<unsigned int>(std::atoi(ms)) * 1000;
        T_ApiSetTraceFunc([](const T_ApiTraceEventT *, void *count) {
            ++*static_cast<long *>(count);
            usleep(delay);
        }, &events);
        std::atexit([] { std::printf("traced %ld events\n", events); });
    }
    for (std::size_t i = 0; i < tarnel::wire::procCount; ++i) {
        const tarnel::wire::ProcEntry &e = tarnel::wire::procTable[i];
        if (e.number <= API_TN_OVER || e.number == API_TN_TAKE_CONTROL || e.number == API_TN_DISCONNECT_FROM_SESSION)
            continue;
        const std::unique_ptr<void, void (*)(void *)> argument(std::calloc(1, e.argSize + 1), std::free);
        void *reply = e.call(argument.get(), tarnel_client);
        if (reply != nullptr) xdr_free(e.resProc, static_cast<char *>(reply));
    }
}

void T_ApiNotify(int, unsigned int, StringT, int) {}
void T_ApiCommand(int) {}
}
