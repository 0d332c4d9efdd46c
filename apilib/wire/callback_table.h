// The client's callback program as data: each procedure's number, the name
// scenarios and traces use for it, and its argument record.
#ifndef TARNEL_WIRE_CALLBACK_TABLE_H
#define TARNEL_WIRE_CALLBACK_TABLE_H

#include <string_view>

namespace tarnel::wire {

struct CallbackEntry {
    int number;
    const char *name;
    const char *argType;  // a record of api_to_tn.x, or "void"
};

inline constexpr CallbackEntry callbackTable[] = {
    {0, "null", "void"},
    {1, "quit", "void"},
    {2, "init", "TnApiInitArgT"},
    {3, "command", "TnApiCommandArgT"},
    {4, "message", "TnApiMessageArgT"},
    {5, "old_notify", "Tn4ApiNotifyArgT"},
    {6, "dialog_event", "TnApiDialogEventArgT"},
    {7, "notify", "TnApiNotifyArgT"},
};

// The entry of a callback number, or null.
inline const CallbackEntry *findCallback(int number) {
    for (const CallbackEntry &e : callbackTable)
        if (e.number == number) return &e;
    return nullptr;
}
inline const CallbackEntry *findCallback(std::string_view name) {
    for (const CallbackEntry &e : callbackTable)
        if (name == e.name) return &e;
    return nullptr;
}

}  // namespace tarnel::wire

#endif
