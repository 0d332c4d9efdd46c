// The one calling convention of the request functions, written once: a
// helper per result kind. A request function fills its record and names its
// stub, the reply field it returns and, for lists, the copy operation; the
// helper sends it, sets TA_errno on failure, copies what the caller will own
// and releases the decoded reply.
#ifndef TARNEL_REQUESTS_CALL_H
#define TARNEL_REQUESTS_CALL_H

#include <tarnel/api_to_tn.h>
#include <tarnel/tnapi_errors.h>
#include <tarnel/tnapi_requests.h>
#include <tarnel/tnapi_session.h>
#include <tarnel/tnapi_values.h>
#include <wire/record_routines.h>
#include <wire/xdrproc.h>

namespace tarnel::requests {

using wire::routine_of;
inline xdrproc_t routine_of(const int *) { return wire::as_xdrproc(&xdr_int); }
inline xdrproc_t routine_of(const StringT *) { return wire::as_xdrproc(&xdr_StringT); }

// The stub's reply, or null with TA_errno -1 when the call did not complete.
template <typename Reply, typename Arg> Reply *send(Reply *(*stub)(Arg *, CLIENT *), Arg *argument) {
    Reply *reply = stub(argument, tarnel_client);
    if (reply == nullptr) TA_errno = TA_ERR_NO_REPLY;
    return reply;
}
// For procedures without an argument: the stub takes any pointer, unread.
template <typename Reply> Reply *send(Reply *(*stub)(void *, CLIENT *)) {
    static int none = 0;
    return send(stub, static_cast<void *>(&none));
}

// Releases what decoding placed inside the reply; the record is the stub's.
template <typename Reply> void release(Reply *reply) { api_xdrfree(routine_of(reply), reply); }

template <typename Reply> int status_of(const Reply *reply) { return reply->status; }
inline int status_of(const int *reply) { return *reply; }

// Status result: 0, or the host's status (also in TA_errno); `failure` with
// no reply.
template <typename Reply, typename Arg> int status(Reply *(*stub)(Arg *, CLIENT *), Arg *argument, int failure = -1) {
    Reply *reply = send(stub, argument);
    if (reply == nullptr) return failure;
    const int code = status_of(reply);
    if (code != 0) TA_errno = code;
    release(reply);
    return code;
}

// Status result of a procedure without an argument.
template <typename Reply> int status(Reply *(*stub)(void *, CLIENT *), int failure = -1) {
    static int none = 0;
    return status(stub, static_cast<void *>(&none), failure);
}

// Status result of a request whose whole argument is the document id.
template <typename Reply> int docStatus(Reply *(*stub)(ApiTnGeneralDocArgT *, CLIENT *), unsigned int docId) {
    ApiTnGeneralDocArgT a = {docId};
    return status(stub, &a);
}

// No result: as a status result, with nothing returned.
template <typename Reply, typename Arg> void none(Reply *(*stub)(Arg *, CLIENT *), Arg *argument) {
    (void)status(stub, argument);
}

// Plain result: the host's int, not a status.
template <typename Arg> int plain(int *(*stub)(Arg *, CLIENT *), Arg *argument, int failure) {
    int *reply = send(stub, argument);
    return reply != nullptr ? *reply : failure;
}
inline int plain(int *(*stub)(void *, CLIENT *), int failure) {
    int *reply = send(stub);
    return reply != nullptr ? *reply : failure;
}

// Plain result: the host's string, copied for the caller; null with no reply.
inline StringT plain(StringT *(*stub)(void *, CLIENT *)) {
    StringT *reply = send(stub);
    if (reply == nullptr) return nullptr;
    StringT copy = T_ApiCopyString(*reply);
    release(reply);
    return copy;
}

// Copies a reply field into memory the caller owns: scalars and records
// without owned memory as they are, strings with T_ApiCopyString.
template <typename T> T take(const T &field) { return field; }
inline StringT take(const StringT &field) { return T_ApiCopyString(field); }

// The shape shared by value and record results: on status 0 the result is
// `extract(reply)`; a non-zero status goes to TA_errno and, like a lost
// reply, gives `failure`.
template <typename Reply, typename Arg, typename T, typename Extract>
T checked(Reply *(*stub)(Arg *, CLIENT *), Arg *argument, T failure, Extract extract) {
    Reply *reply = send(stub, argument);
    if (reply == nullptr) return failure;
    T result = failure;
    if (reply->status != 0)
        TA_errno = reply->status;
    else
        result = extract(static_cast<const Reply &>(*reply));
    release(reply);
    return result;
}

// Value result: the field `member` of the reply (a string copied).
template <typename Reply, typename Arg, typename T>
T value(Reply *(*stub)(Arg *, CLIENT *), Arg *argument, T Reply::*member, T failure = T{}) {
    return checked(stub, argument, failure, [&](const Reply &r) { return take(r.*member); });
}

// Record result whose field owns memory: deep-copied with `copy`.
template <typename Reply, typename Arg, typename T, typename Copy>
T record(Reply *(*stub)(Arg *, CLIENT *), Arg *argument, T Reply::*member, Copy copy) {
    return checked(stub, argument, T{}, [&](const Reply &r) { return copy(&(r.*member)); });
}

// Record result of a procedure without an argument.
template <typename Reply, typename T, typename Copy>
T record(Reply *(*stub)(void *, CLIENT *), T Reply::*member, Copy copy) {
    static int none = 0;
    return record(stub, static_cast<void *>(&none), member, copy);
}

// Record result assembled from several reply fields: `take` builds it from
// the reply on status 0.
template <typename Reply, typename Arg, typename Take>
auto record(Reply *(*stub)(Arg *, CLIENT *), Arg *argument, Take take)
    -> decltype(take(*static_cast<const Reply *>(nullptr))) {
    using T = decltype(take(*static_cast<const Reply *>(nullptr)));
    return checked(stub, argument, T{}, take);
}

// Answer result: on status 0 the answer goes through `out` and 0 is
// returned; a refusal returns -1 and touches neither `out` nor TA_errno.
template <typename Reply, typename Arg, typename T>
int answer(Reply *(*stub)(Arg *, CLIENT *), Arg *argument, T Reply::*member, T *out) {
    Reply *reply = send(stub, argument);
    if (reply == nullptr) return -1;
    int result = -1;
    if (reply->status == 0) {
        *out = take(reply->*member);
        result = 0;
    }
    release(reply);
    return result;
}

// A record or list passed by pointer is copied in by value (a list as its
// header, so the encoder reads the caller's own array); a null pointer
// travels as the zero record or the empty list instead of crashing the call.
template <typename List> List headerOf(const List *list) { return list != nullptr ? *list : List{}; }

// A property identifier by number (no name) or by name (number 0).
inline T_PropIdentT byNumber(int propNum) { return T_PropIdentT{propNum, nullptr}; }
inline T_PropIdentT byName(StringT propName) { return T_PropIdentT{0, propName}; }

}  // namespace tarnel::requests

#endif
