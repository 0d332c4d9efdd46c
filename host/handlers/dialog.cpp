// Dialogs. A modal dialog (1316) is accepted with the status the scenario
// gives; its end is the dialog-event callback that a request rule queues.
#include "handlers.h"

namespace tnhost {
namespace {

void modalDialog(Host &, Request &req) {
    const auto *a = static_cast<const ApiTnDoDialogArgT *>(req.arg);
    req.detail += " dialogNum=" + std::to_string(a->int1) + " dialogId=" + std::to_string(a->uint1);
}

}  // namespace

void registerDialogHandlers() { registerHandler(1316, modalDialog); }

}  // namespace tnhost
