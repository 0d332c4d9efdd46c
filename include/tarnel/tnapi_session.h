/** @file
 * The session with the host: start-up, the service loop, hand-over of
 * control, and the callbacks every client fills in. */
#ifndef TARNEL_TNAPI_SESSION_H
#define TARNEL_TNAPI_SESSION_H

#include <tarnel/api_values.h>
#include <tarnel/cdecls.h>
#include <tarnel/rpc_types.h>

TARNEL_BEGIN_DECLS

/** @defgroup session Session runtime
 * Start-up, the service loop, the callbacks and the hand-over of control.
 *
 * A client is a small RPC server of the host. The host launches it with its
 * connection data in the environment variable TNAPIX; the library's default
 * `main` returns T_ApiRun(), which starts the session (T_ApiStartUp()),
 * serves the host's calls (T_ApiService()) while #TA_bailout is 0 and shuts
 * the session down (T_ApiShutDown()). A client started by other means
 * attaches itself with T_ApiConnectToSession() and runs the loop itself.
 * There is one session per process, and everything runs on one thread.
 *
 * @par Callbacks
 * Each call of the host runs one callback: T_ApiInitialize(), T_ApiNotify(),
 * T_ApiCommand(), T_ApiMessage() or T_ApiDialogEvent(). Every client
 * defines the first three; the library's defaults of the others (and of
 * `main` and T_ApiEmergency()) do nothing, and a client's own definition
 * replaces them at link time (a client of the shared library gets them
 * from libtnapi_main.a, linked after it). The host's call has already returned when the
 * callback runs; strings passed to a callback are valid during the call only.
 *
 * @par Control and the over hand-back
 * The client holds control from the start of a callback, and only then may
 * it make requests (@ref requests). When the callback returns, the library
 * hands control back with the "over" request, which carries the value of
 * #TA_bailout at that moment. A callback may hand back early with
 * T_ApiDoneCommand(); no second over is then sent. Outside a callback a
 * client asks for control with T_ApiTakeControl() and gives it back with
 * T_ApiDoneCommand(). A callback that arrives while the client holds
 * control is refused as nested: a diagnostic through T_ApiErr(), no
 * callback, no over.
 *
 * @par Bail-out
 * T_ApiBailOut(), the host's quit call and T_ApiDisconnectFromSession() set
 * #TA_bailout. The flag reaches the host with the next over, and the loop
 * of T_ApiRun() ends after the pass in which it was set: the session is
 * shut down and T_ApiRun() returns 0. A client that bails out in
 * T_ApiInitialize() therefore ends right after its initialisation.
 *
 * @par Modal dialogs
 * T_ApiModalDialog() serves callbacks through T_ApiServiceModalCallbacks(),
 * each followed by its own over, until the host ends the dialog with a
 * dialog event whose first value is 0; that event does not reach
 * T_ApiDialogEvent(), and its third value is the dialog's result. Such waits
 * nest, and #TA_bailout is not looked at during them.
 *
 * @par A vanished host
 * The loop checks the host's process every 22 idle seconds and after a
 * failed wait. When it is gone, the callback registration is withdrawn,
 * T_ApiEmergency() runs and the process exits with status 1.
 * @{ */

/* Session globals. */
/** The last failure: 0 at start, then the library's code (@ref errors) or
 * the host's status. Request functions write it only on failure, so set it
 * to 0 before a call to tell whether that call failed. */
extern int TA_errno;
/** Non-zero: leave the service loop (see Bail-out above). Cleared by
 * T_ApiConnectToSession(). */
extern int TA_bailout;
/** This client's number from TNAPIX (never negative after T_ApiStartUp());
 * -1 before. */
extern int TA_clientno;
/** Time-out of every call to the host, read when the connection is made.
 * 0,0 selects seven days, and the default is then written back. */
extern struct timeval TA_TimeOut; /* 0,0 selects seven days */
/** Descriptors 0 to 31 of the last wait (bit n is descriptor n): after
 * T_ApiService() the ready descriptors that are not the library's own. */
extern unsigned int TA_SelectMask;
/** The RPC connection to the host's API program, through which every
 * request goes; null without a session. */
extern CLIENT *tarnel_client;

/** A descriptor-change function, for a client with its own event loop.
 * @param fd the descriptor
 * @param added 1 when the library began to serve it, 0 when it stopped */
typedef void (*T_ApiFdFuncT)(int fd, int added);

/* Start-up and connection. */
/** Starts the session of a client the host launched: reads TNAPIX, forks
 * when the client number is 0 or more (the parent exits with status 0 at
 * once, the child goes on), registers the callback program and connects to
 * the host. Also makes standard output unbuffered, sets the descriptor
 * limit to 256 and unblocks all signals. T_ApiRun() calls it.
 * @param fdFunc installed with T_ApiSetFdFunc(); may be null
 * @return null on success, else a constant message: "not called by a Tarnel
 *         product", "unable to fork", "unable to create TCP service",
 *         "unable to register TCP client).", "unable to gethostbyname",
 *         "unable to create TCP client" or "unable to make initial contact".
 *         What a failure acquired stays until T_ApiShutDown(). */
const char *T_ApiStartUp(T_ApiFdFuncT fdFunc);
/** Attaches a client that the host did not launch to a running host,
 * through the host's connection service; clears #TA_bailout. Does not
 * fork or read TNAPIX.
 * @param clientString passed to the host unchanged
 * @param hostName the host's machine; null or empty: this machine
 * @param program RPC program number of the host's connection service
 * @return 0 on success; #TA_ERR_SERVICE_UNREACHABLE, #TA_ERR_CONNECT_FAILED,
 *         #TA_ERR_SETUP_FAILED, or the host's refusal code unchanged. The
 *         same value is stored in #TA_errno on every call. */
int T_ApiConnectToSession(StringT clientString, StringT hostName, int program);
/** Writes one diagnostic line to standard error: the client's name from
 * TNAPIX ("???" before it is read) and the message, ended by a full stop.
 * @param message the text */
void T_ApiErr(const char *message);

/* Service loop and control. */
/** The whole life of a launched client: T_ApiStartUp() (a failure is
 * printed with T_ApiErr()), T_ApiService() while #TA_bailout is 0, then
 * T_ApiShutDown(). The library's default `main` returns its result.
 * @return 0 after a normal end, 1 when start-up failed */
int T_ApiRun(void);
/** One pass of the service loop: waits until one of the library's
 * descriptors or the caller's is readable, serves the host's calls that
 * arrived (running their callbacks) and reports descriptor changes. Does
 * not return on a time-out: it checks that the host is alive and waits on.
 * @param mask null, or the address of a word of the caller's own
 *        descriptors (0 to 31) to wait on as well; on return it holds those
 *        that are ready (0 after a failed wait)
 * @return the count the wait reported (more than 0), or a negative value
 *         when the wait failed */
int T_ApiService(unsigned int *mask);
/** @return 1 when the host's process exists (or its process number is not
 *          known, as for a host on another machine), else 0 */
int T_ApiTarnelAlive(void);
/** Ends the session: withdraws the callback registration, closes the
 * connection and forgets it. Harmless in any state and when repeated. */
void T_ApiShutDown(void);
/** Serves callbacks until the next modal completion (see Modal dialogs);
 * T_ApiModalDialog() calls it.
 * @return the result that the completion carried */
int T_ApiServiceModalCallbacks(void);
/** Hands control back to the host now, with the over request.
 * @return 0, or -1 (nothing sent) when the client does not hold control */
int T_ApiDoneCommand(void);
/** Asks the host for control outside a callback; give it back with
 * T_ApiDoneCommand(). Until then every arriving callback is refused.
 * @return 0, or -1 (nothing sent) when the client holds control already */
int T_ApiTakeControl(void);
/** Sets #TA_bailout to 1: the session ends after the current pass. */
void T_ApiBailOut(void);
/** Installs the descriptor-change function and reports at once, in
 * ascending order, the changes not reported before. It is then called at
 * the end of every T_ApiService() for each change.
 * @param function the new function; null removes it
 * @return the function installed before */
T_ApiFdFuncT T_ApiSetFdFunc(T_ApiFdFuncT function);

/* Callbacks: the client defines the first three; the library has defaults
 * for the rest, which a client's own definition replaces at link time. */
/** Callback (client-defined): the host initialises the client.
 * @param initialization the host's initialisation code */
void T_ApiInitialize(int initialization);
/** Callback (client-defined): a notification the client asked for with
 * T_ApiNotification(). For notification 75 `text` is really a
 * TdeApiFilterArgsT pointer (see translateFileToFile()).
 * @param notification the notification number
 * @param objId the object it concerns (often a document)
 * @param text its text, valid during the call only
 * @param number its number */
void T_ApiNotify(int notification, unsigned int objId, StringT text, int number);
/** Callback (client-defined): the user chose one of the client's commands.
 * @param command the command number given when it was defined */
void T_ApiCommand(int command);
/** Callback (library default does nothing): a message for the client.
 * @param message the text, valid during the call only
 * @param uint1,uint2 the host's values */
void T_ApiMessage(StringT message, unsigned int uint1, unsigned int uint2);
/** Callback (library default does nothing): an event of an open dialog.
 * Never called with int1 equal to 0, which ends a modal dialog instead.
 * @param int1,int2,int3 the host's values */
void T_ApiDialogEvent(int int1, int int2, int int3);
/** Callback (library default does nothing): the host has gone; the process
 * exits with status 1 when it returns. */
void T_ApiEmergency(void);

/** @} */

TARNEL_END_DECLS

#endif
