/** @file
 * The status codes of tnhost, the simulated host: what its refusals mean. */
#ifndef TARNEL_TNAPI_STATUS_H
#define TARNEL_TNAPI_STATUS_H

/** @defgroup host_status Status codes of tnhost
 * The non-zero statuses with which tnhost, the simulated host that serves
 * this project's clients, refuses a request (0 is success). The meanings
 * are that host's: another host may answer other values. A request function
 * hands a status on unchanged, in its result or in #TA_errno (see
 * @ref requests), and T_ApiErrorText() names these. They avoid the
 * library's own codes (@ref errors). Which requests answer which is on the
 * page @ref host_meanings.
 * @{ */

/** No such document or object (or the document is not open). */
#define TA_HOST_NO_OBJECT (-2)
/** The object has no such property. */
#define TA_HOST_NO_PROPERTY (-3)
/** The property holds another kind of value than the request reads. */
#define TA_HOST_WRONG_KIND (-6)
/** A text location, range or element location is out of bounds. */
#define TA_HOST_OUT_OF_BOUNDS (-8)
/** Nothing found: a find, a named or unique lookup, or a client by name. */
#define TA_HOST_NOT_FOUND (-9)
/** A file could not be read, written or understood. */
#define TA_HOST_FILE_FAILED (-10)
/** The clipboard stack is empty. */
#define TA_HOST_EMPTY_CLIPBOARD (-11)
/** The object is not of the type the request needs. */
#define TA_HOST_WRONG_TYPE (-12)
/** An argument outside what the request accepts. */
#define TA_HOST_BAD_ARGUMENT (-13)
/** Close of a modified document without the flag that discards changes. */
#define TA_HOST_MODIFIED (-14)
/** The user cancelled a prompt or chooser. */
#define TA_HOST_CANCELLED (-30)

/** @} */

#endif
