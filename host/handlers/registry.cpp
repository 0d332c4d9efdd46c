#include <cstdio>
#include <cstdlib>
#include <map>

#include "handlers.h"

namespace tarnel::host {
namespace {
std::map<u_int, Handler> &registry() {
    static std::map<u_int, Handler> handlers;
    return handlers;
}
}  // namespace

void registerHandlers(std::initializer_list<HandlerEntry> entries) {
    for (const HandlerEntry &e : entries)
        if (!tarnel::wire::findProc(e.proc) || !registry().emplace(e.proc, e.handler).second) {
            std::fprintf(stderr, "tnhost: handler table names procedure %u wrongly\n", e.proc);
            std::abort();
        }
}

Handler findHandler(u_int proc) {
    auto it = registry().find(proc);
    return it == registry().end() ? nullptr : it->second;
}

void installHandlers() {
    registerSessionHandlers();
    registerDialogHandlers();
    registerMenuHandlers();
    registerServiceHandlers();
    registerFontHandlers();
    registerSpellingHandlers();
    registerObjectHandlers();
    registerPropertyHandlers();
    registerDocumentHandlers();
    registerTextHandlers();
    registerTextPropHandlers();
    registerElementHandlers();
    registerTableHandlers();
    registerSearchHandlers();
}

}  // namespace tarnel::host
