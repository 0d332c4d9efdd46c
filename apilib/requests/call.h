// The one calling convention of the request functions, written once: a
// helper per result kind. A request function fills its record and names its
// stub and the reply field it returns; the helper sends it, sets TA_errno on
// failure, hands the caller what it will own and releases the rest of the
// decoded reply.
//
// Handing over moves rather than copies: the decoders allocate every string
// and list with the API allocators and size them exactly, so a decoded field
// already is what the caller owns and releases with T_ApiDeallocate*. It is
// taken out of the stub's reply area, which is left empty for the release.
#ifndef TARNEL_REQUESTS_CALL_H
#define TARNEL_REQUESTS_CALL_H

#include <tarnel/api_to_tn.h>
#include <tarnel/tnapi_errors.h>
#include <tarnel/tnapi_requests.h>
#include <tarnel/tnapi_session.h>
#include <tarnel/tnapi_values.h>
#include <wire/record_routines.h>
#include <wire/xdrproc.h>

#include <type_traits>

#include "pipeline/pipeline.h"

namespace tarnel::requests {

using wire::routine_of;
inline xdrproc_t routine_of(const int *) { return wire::as_xdrproc(&xdr_int); }
inline xdrproc_t routine_of(const StringT *) { return wire::as_xdrproc(&xdr_StringT); }

// The stub's reply, or null with TA_errno -1 when the call did not complete.
// Before a session starts or after it ends there is no handle: that is a
// request without a reply, not a call through a null handle.
template <typename Reply, typename Arg> Reply *send(Reply *(*stub)(Arg *, CLIENT *), Arg *argument) {
    Reply *reply = tarnel_client != nullptr ? stub(argument, tarnel_client) : nullptr;
    if (reply == nullptr) TA_errno = pipeline::engaged ? pipeline::noReplyCode() : TA_ERR_NO_REPLY;
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

// A status reply read and its contents released.
template <typename Reply> int takeStatus(Reply *reply) {
    const int code = status_of(reply);
    release(reply);
    return code;
}

// Status result: 0, or the host's status (also in TA_errno); `failure` with
// no reply. Always waits for the reply.
template <typename Reply, typename Arg>
int statusNow(Reply *(*stub)(Arg *, CLIENT *), Arg *argument, int failure = -1) {
    Reply *reply = send(stub, argument);
    if (reply == nullptr) return failure;
    const int code = takeStatus(reply);
    if (code != 0) TA_errno = code;
    return code;
}

// A status request's two passes in a C pipeline run, with the stub's type
// restored. The reply pass sends nothing, so its argument is a blank one.
template <typename Reply, typename Arg> void sendQueued(pipeline::AnyStub stub, void *argument) {
    (void)reinterpret_cast<Reply *(*)(Arg *, CLIENT *)>(stub)(static_cast<Arg *>(argument), tarnel_client);
}
template <typename Reply, typename Arg> int rereadQueued(pipeline::AnyStub stub) {
    std::conditional_t<std::is_void_v<Arg>, int, Arg> blank{};
    Reply *reply = reinterpret_cast<Reply *(*)(Arg *, CLIENT *)>(stub)(&blank, tarnel_client);
    return reply == nullptr ? TA_ERR_NO_REPLY : takeStatus(reply);
}

// Status result; inside a C pipeline run the request is only sent and 0
// returned, its status reported when the run ends.
template <typename Reply, typename Arg> int status(Reply *(*stub)(Arg *, CLIENT *), Arg *argument, int failure = -1) {
    if (!pipeline::collecting()) return statusNow(stub, argument, failure);
    const bool sent = pipeline::queueStatus(reinterpret_cast<pipeline::AnyStub>(stub), &rereadQueued<Reply, Arg>,
                                            &sendQueued<Reply, Arg>, argument);
    return sent ? 0 : failure;
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

// Takes a reply field for the caller and leaves the empty value in its
// place. Scalars and records without owned memory are empty already after
// the copy; what owns memory is moved, one case per result type.
template <typename T> T take(T &field) {
    T out = field;
    field = T{};
    return out;
}
// An empty text-item list has always come with an array of one item, which
// the decoder does not allocate.
inline TextItemsT take(TextItemsT &field) { return field.count == 0 ? T_ApiAllocateTextItems(0) : take<>(field); }

// Plain result: the host's string, the caller's; null with no reply.
inline StringT plain(StringT *(*stub)(void *, CLIENT *)) {
    StringT *reply = send(stub);
    if (reply == nullptr) return nullptr;
    StringT out = take(*reply);
    release(reply);
    return out;
}

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
        result = extract(*reply);
    release(reply);
    return result;
}

// Value result: the field `member` of the reply.
template <typename Reply, typename Arg, typename T>
T value(Reply *(*stub)(Arg *, CLIENT *), Arg *argument, T Reply::*member, T failure = T{}) {
    return checked(stub, argument, failure, [&](Reply &r) { return take(r.*member); });
}

// Record or list result: the field `member`, empty on failure.
template <typename Reply, typename Arg, typename T>
T record(Reply *(*stub)(Arg *, CLIENT *), Arg *argument, T Reply::*member) {
    return value(stub, argument, member, T{});
}

// Record result of a procedure without an argument.
template <typename Reply, typename T> T record(Reply *(*stub)(void *, CLIENT *), T Reply::*member) {
    static int none = 0;
    return record(stub, static_cast<void *>(&none), member);
}

// Record result assembled from several reply fields: `build` makes it from
// the reply on status 0.
template <typename Reply, typename Arg, typename Build>
auto record(Reply *(*stub)(Arg *, CLIENT *), Arg *argument, Build build)
    -> decltype(build(*static_cast<Reply *>(nullptr))) {
    using T = decltype(build(*static_cast<Reply *>(nullptr)));
    return checked(stub, argument, T{}, build);
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
