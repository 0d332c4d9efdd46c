// Object calls: validate, delete, look up and create objects; progress.
#include "call.h"

using namespace tarnel::requests;

extern "C" {

// The reply is a bare status, but success reads as 1 and every failure as 0:
// a value, so it is never queued in a pipeline run.
int T_ApiObjectValid(unsigned int docId, unsigned int objId) {
    ApiTnGeneralObjArgT a = {docId, objId};
    return statusNow(api_tn_object_valid_1, &a) == 0 ? 1 : 0;
}

int T_ApiDelete(unsigned int docId, unsigned int objId) {
    ApiTnGeneralObjArgT a = {docId, objId};
    return status(api_tn_delete_1, &a);
}

unsigned int T_ApiGetNamedObject(unsigned int docId, int objType, StringT name) {
    ApiTnGetNamedObjArgT a = {docId, objType, name};
    return value(api_tn_get_named_object_1, &a, &ApiTnObjRetT::objId);
}

unsigned int T_ApiGetUniqueObject(unsigned int docId, int objType, int unique) {
    ApiTnGetUniqueObjArgT a = {docId, objType, unique};
    return value(api_tn_get_unique_object_1, &a, &ApiTnObjRetT::objId);
}

unsigned int T_ApiNewGraphicObject(unsigned int docId, int objType, unsigned int parentId) {
    ApiTnNewGraphicObjArgT a = {docId, objType, parentId};
    return value(api_tn_new_graphic_object_1, &a, &ApiTnObjRetT::objId);
}

unsigned int T_ApiNewNamedObject(unsigned int docId, int objType, StringT name) {
    ApiTnNewNamedObjArgT a = {docId, objType, name};
    return value(api_tn_new_named_object_1, &a, &ApiTnObjRetT::objId);
}

unsigned int T_ApiNewAnchoredObject(unsigned int docId, int objType, T_TextLocT *loc) {
    ApiTnNewAnchoredObjArgT a = {docId, objType, headerOf(loc)};
    return value(api_tn_new_anchored_object_1, &a, &ApiTnObjRetT::objId);
}

unsigned int T_ApiNewAnchoredFormattedObject(unsigned int docId, int objType, StringT format, T_TextLocT *loc) {
    ApiTnNewAnchoredFormattedObjArgT a = {docId, objType, format, headerOf(loc)};
    return value(api_tn_new_anchored_formatted_object_1, &a, &ApiTnObjRetT::objId);
}

unsigned int T_ApiNewSeriesObject(unsigned int docId, int objType, unsigned int previousId) {
    ApiTnNewSeriesObjArgT a = {docId, objType, previousId};
    return value(api_tn_new_series_object_1, &a, &ApiTnObjRetT::objId);
}

// The parent comes before the type here, unlike the other creation calls.
unsigned int T_ApiNewSubObject(unsigned int docId, unsigned int parentId, int objType) {
    ApiTnNewSubObjectArgT a = {docId, parentId, objType};
    return value(api_tn_new_sub_object_1, &a, &ApiTnObjRetT::objId);
}

// A progress report must not disturb the caller's TA_errno: the write's own
// failure is read in isolation and the caller's value put back.
int T_Progress(int v) {
    const int saved = TA_errno;
    TA_errno = 0;
    T_ApiSetInt(0, 0, 104, v);
    const bool failed = TA_errno != 0;
    TA_errno = saved;
    return failed ? -1 : 0;
}
}
