// Texts of the TA_errno codes. The library's own codes have fixed texts;
// anything else is a status the host chose, so only its number can be shown.
#include <cstdio>

#include <tarnel/tnapi_errors.h>

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
    default: break;
    }
    // Per thread, so that two threads formatting at once do not overwrite
    // each other's text.
    thread_local char text[64];
    std::snprintf(text, sizeof text, "the host refused the request (status %d)", code);
    return text;
}

}  // extern "C"
