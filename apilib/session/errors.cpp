// Texts of the TA_errno codes. The library's own codes have fixed texts;
// anything else is a status the host chose: the simulated host's statuses
// are shown by name and number, any other by its number only.
#include <cstdio>

#include <tarnel/tnapi_errors.h>
#include <tarnel/tnapi_status.h>

namespace {

const char *hostStatusName(int code) {
    switch (code) {
    case TA_HOST_NO_OBJECT: return "no such document or object";
    case TA_HOST_NO_PROPERTY: return "no such property";
    case TA_HOST_WRONG_KIND: return "the property holds another kind of value";
    case TA_HOST_OUT_OF_BOUNDS: return "location out of bounds";
    case TA_HOST_NOT_FOUND: return "nothing found";
    case TA_HOST_FILE_FAILED: return "a file could not be read, written or understood";
    case TA_HOST_EMPTY_CLIPBOARD: return "the clipboard stack is empty";
    case TA_HOST_WRONG_TYPE: return "object of the wrong type";
    case TA_HOST_BAD_ARGUMENT: return "argument not accepted";
    case TA_HOST_MODIFIED: return "the document is modified";
    case TA_HOST_CANCELLED: return "the user cancelled";
    default: return nullptr;
    }
}

}  // namespace

extern "C" {

const char *T_ApiErrorText(int code) {
    switch (code) {
    case TA_ERR_NONE: return "no failure";
    case TA_ERR_NO_REPLY: return "the host did not reply";
    case TA_ERR_BIT_NOT_IN_STATUS: return "the status list does not hold that bit";
    case TA_ERR_NO_STATUS_PROP: return "the list holds no status property";
    case TA_ERR_CONNECT_FAILED: return "the connect call to the host did not complete";
    case TA_ERR_SERVICE_UNREACHABLE: return "the host's connection service did not answer";
    case TA_ERR_SETUP_FAILED: return "the host accepted the session but the connection could not be set up";
    case TA_ERR_NOT_PIPELINABLE: return "the request cannot be pipelined";
    default: break;
    }
    // Per thread, so that two threads formatting at once do not overwrite
    // each other's text.
    thread_local char text[128];
    const char *name = hostStatusName(code);
    if (name != nullptr)
        std::snprintf(text, sizeof text, "the host refused the request: %s (status %d)", name, code);
    else
        std::snprintf(text, sizeof text, "the host refused the request (status %d)", code);
    return text;
}

}  // extern "C"
