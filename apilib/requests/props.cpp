// Property calls: read, write and delete one property of an object.
#include "call.h"

using namespace tarnel::requests;

extern "C" {

int T_ApiGetInt(unsigned int docId, unsigned int objId, int propNum) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(propNum)};
    return value(api_tn_get_int_1, &a, &ApiTnGetIntRetT::value);
}

void T_ApiSetInt(unsigned int docId, unsigned int objId, int propNum, int v) {
    ApiTnSetIntArgT a = {docId, objId, byNumber(propNum), v};
    none(api_tn_set_int_1, &a);
}

StringT T_ApiGetString(unsigned int docId, unsigned int objId, int propNum) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(propNum)};
    return value(api_tn_get_string_1, &a, &ApiTnGetStringRetT::value);
}

T_StringsT T_ApiGetStrings(unsigned int docId, unsigned int objId, int propNum) {
    ApiTnGetPropArgT a = {docId, objId, byNumber(propNum)};
    return record(api_tn_get_strings_1, &a, &ApiTnGetStringsRetT::value, T_ApiCopyStrings);
}
}
