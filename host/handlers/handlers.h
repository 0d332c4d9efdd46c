// Handlers of the host's API program, one per procedure, grouped by family in
// the files of this folder. The dispatcher has decoded the argument and
// cleared the result record before a handler runs, and sends the result and
// releases both afterwards; a handler fills the result, notes what the
// transcript should show, and may change the session's control state.
#ifndef TNHOST_HANDLERS_H
#define TNHOST_HANDLERS_H

#include <rpc/rpc.h>

#include <string>
#include <vector>

#include "host.h"
#include <wire/proctable.h>

namespace tnhost {

struct Request {
    const tarnel::wire::ProcEntry &entry;
    ClientSession *client;  // null for a connection that never sent procedure 1000
    SVCXPRT *transport;
    void *arg;              // decoded argument record (entry.argSize bytes)
    void *res;              // zeroed result record (entry.resSize bytes)
    std::string detail;     // fields for the request line, " key=value" each
    std::vector<std::string> events;  // lines printed after the request line
};

using Handler = void (*)(Host &host, Request &request);

void registerHandler(u_int proc, Handler handler);
Handler findHandler(u_int proc);  // null when the procedure has none yet

// One registration function per family; installHandlers calls them all.
void registerSessionHandlers();
void registerDialogHandlers();
// Menus, host services, fonts, spelling (menus.cpp ... spelling.cpp).
void registerMenuHandlers();
void registerServiceHandlers();
void registerFontHandlers();
void registerSpellingHandlers();
// The document model's families (model.h).
void registerObjectHandlers();
void registerPropertyHandlers();
void registerDocumentHandlers();
void registerTextHandlers();
void installHandlers();

}  // namespace tnhost

#endif
