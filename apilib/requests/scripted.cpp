// The scripted document operations: open, save, import, export and book
// update. Besides their result each hands back the return-parameter list of
// the host's reply, kept in a record of the library's own, one per function.
#include "call.h"

using namespace tarnel::requests;

namespace {

struct Outcome {
    bool replied;
    int status;
    u_int objId;  // the reply's object id on status 0, else 0
};

template <typename Reply> u_int objIdOf(const Reply *reply) { return reply->objId; }
u_int objIdOf(const ApiTnUpdateBookRetT *) { return 0; }

// Sends the request and, whenever a reply comes (a refusal too), refills
// `own` from it and points *returnParamsp at it. The caller's previous list
// is released first; so is what `own` still holds, which otherwise leaks
// when the caller's variable is another one, holding null.
template <typename Reply, typename Arg>
Outcome scripted(Reply *(*stub)(Arg *, CLIENT *), Arg *argument, T_PropValsT &own, T_PropValsT **returnParamsp) {
    Reply *reply = send(stub, argument);
    if (reply == nullptr) return {false, -1, 0};
    const Outcome outcome = {true, reply->status, reply->status == 0 ? objIdOf(reply) : 0};
    if (outcome.status != 0) TA_errno = outcome.status;
    T_ApiDeallocatePropVals(*returnParamsp);
    T_ApiDeallocatePropVals(&own);
    own = reply->returned != nullptr ? take(*reply->returned) : T_PropValsT{};
    *returnParamsp = &own;
    release(reply);
    return outcome;
}

T_PropValsT openReturned, saveReturned, importReturned, exportReturned, updateReturned;

}  // namespace

extern "C" {

unsigned int T_ApiOpen(StringT fileName, T_PropValsT *openParams, T_PropValsT **openReturnParamsp) {
    ApiTnOpenArgT a = {fileName, headerOf(openParams)};
    return scripted(api_tn_open_1, &a, openReturned, openReturnParamsp).objId;
}

// The name travels first, the document id second.
unsigned int T_ApiSave(unsigned int docId, StringT saveAsName, T_PropValsT *saveParams,
                       T_PropValsT **saveReturnParamsp) {
    ApiTnSaveArgT a = {saveAsName, docId, headerOf(saveParams)};
    return scripted(api_tn_save_1, &a, saveReturned, saveReturnParamsp).objId;
}

unsigned int T_ApiImport(unsigned int docId, T_TextLocT *loc, StringT fileName, T_PropValsT *importParams,
                         T_PropValsT **importReturnParamsp) {
    ApiTnImportArgT a = {fileName, docId, headerOf(loc), headerOf(importParams)};
    return scripted(api_tn_import_1, &a, importReturned, importReturnParamsp).objId;
}

// The status is the result; no reply gives 0 as well, told apart by TA_errno.
int T_ApiExport(unsigned int docId, StringT fileName, T_PropValsT *exportParams, T_PropValsT **exportReturnParamsp) {
    ApiTnExportArgT a = {fileName, docId, headerOf(exportParams)};
    const Outcome o = scripted(api_tn_export_1, &a, exportReturned, exportReturnParamsp);
    return o.replied ? o.status : 0;
}

// The status is the result; -1 with no reply.
int T_ApiUpdateBook(unsigned int bookId, T_PropValsT *updateParams, T_PropValsT **updateReturnParamsp) {
    ApiTnUpdateBookArgT a = {bookId, headerOf(updateParams)};
    return scripted(api_tn_update_book_1, &a, updateReturned, updateReturnParamsp).status;
}
}
