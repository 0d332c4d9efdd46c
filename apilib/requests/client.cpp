// This client and its session: who it is, its value for the host, leaving
// the session, notifications and function codes.
#include "call.h"

using namespace tarnel::requests;

extern "C" {

int T_ApiClientNumber(void) { return plain(api_client_number_1, -1); }

StringT T_ApiClientName(void) { return plain(api_client_name_1); }

StringT T_ApiClientDir(void) { return plain(api_client_directory_1); }

int T_ApiSetClientDir(StringT dir) { return plain(api_set_client_directory_1, &dir, -1); }

int T_ApiCallClient(StringT clientName, StringT message) {
    ApiTnCallClientArgT a = {clientName, message};
    return value(api_tn_call_client_1, &a, &ApiTnGetIntRetT::value);
}

int T_ApiReturnValue(int value) { return plain(api_tn_return_value_1, &value, 0); }

// The session ends whether or not the host answered: a lost host must not
// leave the client serving a dead connection.
int T_ApiDisconnectFromSession(void) {
    const int result = plain(api_tn_disconnect_from_session_1, -1);
    T_ApiDoneCommand();
    T_ApiShutDown();
    TA_bailout = 1;
    return result;
}

int T_ApiNotification(int notification, int state) {
    ApiTnNotificationArgT a = {notification, state};
    return status(api_tn_notification_1, &a);
}

// The two arguments are the header of the list the host receives. A length
// that cannot describe an array is refused here, as a call that could not be
// encoded, rather than sent as a broken request.
int T_ApiFcodes(int len, int *codes) {
    if (len < 0 || (len > 0 && codes == nullptr)) {
        TA_errno = TA_ERR_NO_REPLY;
        return -1;
    }
    ApiTnFcodesArgT a = {{static_cast<u_int>(len), codes}};
    return status(api_tn_fcodes_1, &a);
}

int T_ApiHypertextCommand(unsigned int objId, StringT command) {
    ApiTnHypertextCommandArgT a = {objId, command};
    return status(api_tn_hypertext_command_1, &a);
}
}
