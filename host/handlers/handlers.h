// Handlers of the host's API program, one per procedure, grouped by family in
// the files of this folder. The dispatcher has decoded the argument and
// cleared the result record before a handler runs, and sends the result and
// releases both afterwards; a handler fills the result, notes what the
// transcript should show, and may change the session's control state.
#ifndef TNHOST_HANDLERS_H
#define TNHOST_HANDLERS_H

#include <rpc/rpc.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "host.h"
#include <wire/proctable.h>

namespace tarnel::host {

struct Request {
    const tarnel::wire::ProcEntry &entry;
    ClientSession *client;  // null for a connection that never sent procedure 1000
    SVCXPRT *transport;
    void *arg;  // decoded argument record (entry.argSize bytes)
    void *res;  // zeroed result record (entry.resSize bytes)
    // The request line's own fields, after client, proc and stub: handlers
    // add them with its number/text/word/flag (or the helpers of common.h).
    trace::Event detail{"request"};
    std::vector<trace::Event> events;  // lines printed after the request line
};

using Handler = void (*)(Host &host, Request &request);

// A procedure, named by its constant in the protocol header, and its handler.
struct HandlerEntry {
    u_int proc;
    Handler handler;
};

// Registers a family's handlers; a procedure the program lacks, or one
// registered twice, stops the host at start-up.
void registerHandlers(std::initializer_list<HandlerEntry> entries);
Handler findHandler(u_int proc);  // null when the procedure has none yet

// One registration function per family (the file of that name); installHandlers
// calls them all.
void registerSessionHandlers();
void registerDialogHandlers();
void registerMenuHandlers();
void registerServiceHandlers();
void registerFontHandlers();
void registerSpellingHandlers();
// The document model's families (model.h).
void registerObjectHandlers();
void registerPropertyHandlers();
void registerDocumentHandlers();
void registerTextHandlers();
void registerTextPropHandlers();
void registerElementHandlers();
void registerTableHandlers();
void registerSearchHandlers();
void installHandlers();

// menus.cpp: forgets every menu and command a session defined.
void forgetMenusOf(const std::string &owner);

}  // namespace tarnel::host

#endif
