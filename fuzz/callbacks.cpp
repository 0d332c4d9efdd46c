#include "callbacks.h"

#include <tarnel/tnapi_session.h>
#include <tarnel/tnapi_values.h>

namespace fuzz {
CallbackLog callback_log;
}

using fuzz::callback_log;

namespace {

void record(const char *name, int a, int b, int c, const char *text) {
    ++callback_log.calls;
    callback_log.name = name;
    callback_log.a = a;
    callback_log.b = b;
    callback_log.c = c;
    callback_log.text = text != nullptr ? text : "";
    callback_log.pieces = 0;
}

void piece(const char *s) {
    callback_log.text += s != nullptr ? s : "(null)";
    callback_log.text += '\n';
    ++callback_log.pieces;
}

}  // namespace

extern "C" {

void T_ApiInitialize(int initialization) { record("initialize", initialization, 0, 0, nullptr); }

void T_ApiNotify(int notification, unsigned int objId, StringT text, int number) {
    if (notification != 75) {
        record("notify", notification, static_cast<int>(objId), number, text);
        return;
    }
    // The filter notification's text is the split record.
    record("notify", notification, static_cast<int>(objId), number, nullptr);
    const auto *args = reinterpret_cast<const TdeApiFilterArgsT *>(text);
    for (const char *s : {args->arg1, args->arg2, args->arg3, args->arg4, args->arg5, args->arg6}) piece(s);
    for (u_int i = 0; i < args->extra.count; ++i) piece(args->extra.items[i]);
}

void T_ApiCommand(int command) { record("command", command, 0, 0, nullptr); }

void T_ApiMessage(StringT message, unsigned int uint1, unsigned int uint2) {
    record("message", static_cast<int>(uint1), static_cast<int>(uint2), 0, message);
}

void T_ApiDialogEvent(int int1, int int2, int int3) { record("dialog", int1, int2, int3, nullptr); }

}  // extern "C"
