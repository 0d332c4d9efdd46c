/** @file
 * Dialog, prompt and host service requests. */
#ifndef TARNEL_TNAPI_REQ_DIALOGS_H
#define TARNEL_TNAPI_REQ_DIALOGS_H

#include <tarnel/api_values.h>
#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/** @defgroup req_dialogs Dialogs, prompts and services
 * @ingroup requests
 * Alerts, prompts, choosers and scroll lists shown by the host; the
 * client's own dialog resources; host services (user cancel, sleeping,
 * shell commands, programs). Result kinds as in @ref requests.
 *
 * The prompts and choosers are answer results: they store the user's
 * answer through their first argument (a string as a new copy, released
 * with T_ApiDeallocateString()) and return 0; a cancelled or refused prompt
 * returns -1 and leaves the answer and #TA_errno as they were; with no reply
 * they return -1 and set #TA_errno to -1.
 * @{ */

/* Alerts, prompts and choosers. */
/** Shows an alert box. Plain result.
 * @param message the text
 * @param type the host's kind of alert box
 * @return the host's answer; -1 with no reply */
int T_ApiAlert(StringT message, int type);
/** Prompts for an integer. Answer result.
 * @param answer receives the integer
 * @param message the prompt
 * @param text the host's second string
 * @return 0, or -1 */
int T_ApiPromptInt(int *answer, StringT message, StringT text);
/** Prompts for a measurement. Answer result.
 * @param answer receives the measurement
 * @param message the prompt
 * @param text the host's second string
 * @param unit the host's measurement unit
 * @return 0, or -1 */
int T_ApiPromptMetric(T_MetricT *answer, StringT message, StringT text, int unit);
/** Prompts for a string. Answer result.
 * @param answer receives a new string
 * @param message the prompt
 * @param text the host's second string
 * @return 0, or -1 */
int T_ApiPromptString(StringT *answer, StringT message, StringT text);
/** Asks the user for a point. Record result (a refusal sets #TA_errno).
 * @param docId the document
 * @param objId the object
 * @param flag the host's flag
 * @return the point; (0, 0) on failure */
T_PointT T_ApiPromptPoint(unsigned int docId, unsigned int objId, int flag);
/** Asks the user for a rectangle. Record result.
 * @param docId the document
 * @param objId the object
 * @param flag the host's flag
 * @return the rectangle; all zero on failure */
RectT T_ApiPromptRect(unsigned int docId, unsigned int objId, int flag);
/** The older file chooser. Answer result.
 * @param choice receives the chosen file, a new string
 * @param s1,s2,s3 the host's chooser strings
 * @param mode the host's mode
 * @return 0, or -1 */
int oldT_ApiChooseFile(StringT *choice, StringT s1, StringT s2, StringT s3, int mode);
/** oldT_ApiChooseFile(choice, s1, s2, null, 0). Answer result.
 * @param choice receives the chosen file, a new string
 * @param s1,s2 the host's chooser strings
 * @return 0, or -1 */
int T_ApiFileScrollBox(StringT *choice, StringT s1, StringT s2);
/** The file chooser. Answer result.
 * @param choice receives the chosen file, a new string
 * @param s1,s2,s3,s4 the host's chooser strings
 * @param mode the host's mode
 * @return 0, or -1 */
int T_ApiChooseFile(StringT *choice, StringT s1, StringT s2, StringT s3, int mode, StringT s4);
/** Lets the user pick from a list. Answer result.
 * @param selected receives the chosen item's index
 * @param title the title
 * @param items the list (null: empty)
 * @param defaultItem the item chosen at first
 * @return 0, or -1 */
int T_ApiScrollBox(int *selected, StringT title, T_StringsT *items, int defaultItem);
/** Lets the user pick from a list quickly. Value result with failure -1
 * (0 is a valid selection): -1 both when the host refuses (its status in
 * #TA_errno) and with no reply (#TA_errno -1).
 * @param docId the document
 * @param prompt the prompt
 * @param items the list (null: empty)
 * @return the chosen item, or -1 */
int T_ApiQuickSelect(unsigned int docId, StringT prompt, T_StringsT *items);

/* The client's dialog resources. */
/** Opens one of the client's resources. Object result.
 * @param type the host's resource type
 * @param name the resource's name
 * @return the resource's id; 0 on failure */
unsigned int T_ApiOpenResource(int type, StringT name);
/** Runs a modal dialog. With dialogNum 0 it returns the host's answer at
 * once. Otherwise, whatever the host answers (the answer is no status), it
 * serves callbacks (T_ApiServiceModalCallbacks(), see @ref session), quit
 * included, until the host ends the dialog, and returns the result that the
 * ending event carries.
 * @param dialogNum the dialog's number; 0: do not wait
 * @param dialogId the dialog's id (from T_ApiOpenResource())
 * @return the dialog's result, or for dialogNum 0 the host's answer; 0 with
 *         no reply (#TA_errno -1) */
int T_ApiModalDialog(int dialogNum, unsigned int dialogId);
/** Opens a modeless dialog; its events arrive through T_ApiDialogEvent().
 * Plain result.
 * @param dialogNum the dialog's number
 * @param dialogId the dialog's id
 * @return the host's answer; 0 with no reply */
int T_ApiModelessDialog(int dialogNum, unsigned int dialogId);
/** Object result.
 * @param dialogId the dialog
 * @param itemNum the item's number
 * @return the id of the dialog's item; 0 on failure */
unsigned int T_ApiDialogItemId(unsigned int dialogId, int itemNum);
/** Hands the selection to the user (the host's interaction). Status result.
 * @param n the host's number
 * @return 0, the host's status, or -1 */
int T_ApiUserInteractSelection(int n);

/* Host services. */
/** Plain result.
 * @return the host's answer; -1 with no reply */
int T_ApiUserCancel(void);
/** Has the host sleep.
 * @param seconds the time
 * @return 0; seconds with no reply (#TA_errno -1) */
int T_ApiSleep(int seconds);
/** Has the host sleep.
 * @param microseconds the time
 * @return 0; microseconds with no reply (#TA_errno -1) */
int T_ApiUSleep(int microseconds);
/** Has the host run a shell command. Plain result.
 * @param command the command
 * @return the host's answer; -1 with no reply */
int T_ApiSystemShell(StringT command);
/** Has the host start a program. Plain result.
 * @param path the program
 * @param args its arguments (null: none)
 * @return the host's answer; -1 with no reply */
int T_ApiForkAndExec(StringT path, T_StringsT *args);

/** @} */

TARNEL_END_DECLS

#endif
