#include <map>

#include "handlers.h"

namespace tnhost {
namespace {
std::map<u_int, Handler> &registry() {
    static std::map<u_int, Handler> handlers;
    return handlers;
}
}  // namespace

void registerHandler(u_int proc, Handler handler) { registry()[proc] = handler; }

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
}

}  // namespace tnhost
