/** @file
 * Session, notification, menu and command requests. */
#ifndef TARNEL_TNAPI_REQ_SESSION_H
#define TARNEL_TNAPI_REQ_SESSION_H

#include <tarnel/api_values.h>
#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/** @defgroup req_session Session, menus and notifications
 * @ingroup requests
 * What a client learns about itself and its session, leaving the session,
 * asking for notifications, and building the host's menus and commands
 * (which later reach the client through T_ApiCommand()). Result kinds as in
 * @ref requests; the plain results never copy a host answer into
 * #TA_errno, they set it only to -1 when no reply comes.
 * @{ */

/* This client and its session. */
/** Plain result.
 * @return this client's number; -1 with no reply */
int T_ApiClientNumber(void);
/** Plain result.
 * @return this client's name, a new string (release with
 *         T_ApiDeallocateString()); null with no reply */
StringT T_ApiClientName(void);
/** Plain result.
 * @return this client's directory, a new string (release with
 *         T_ApiDeallocateString()); null with no reply */
StringT T_ApiClientDir(void);
/** Sets this client's directory. Plain result.
 * @param dir the directory
 * @return the host's answer; -1 with no reply */
int T_ApiSetClientDir(StringT dir);
/** Hands a text to another client of the host. Value result.
 * @param clientName the client to call
 * @param message the text handed to it
 * @return the host's value; 0 on failure */
int T_ApiCallClient(StringT clientName, StringT message);
/** Hands the host a return value for this client. Plain result.
 * @param value the value
 * @return the host's answer; 0 with no reply */
int T_ApiReturnValue(int value);
/** Leaves the session whatever the host answers: control is handed back
 * (T_ApiDoneCommand()), the connection torn down (T_ApiShutDown()) and
 * #TA_bailout set. No request can succeed afterwards. Plain result.
 * @return the host's answer; -1 with no reply */
int T_ApiDisconnectFromSession(void);

/* Notifications and function codes. */
/** Asks for a notification, or stops it; it arrives through T_ApiNotify().
 * Status result.
 * @param notification the notification number
 * @param state 1 on, 0 off
 * @return 0, the host's status, or -1 */
int T_ApiNotification(int notification, int state);
/** Sends the host a list of function codes to run. Status result. A
 * negative len, or a positive len with null codes, fails as -1 without a
 * call (#TA_errno -1).
 * @param len the number of codes
 * @param codes the codes (read, not kept)
 * @return 0, the host's status, or -1 */
int T_ApiFcodes(int len, int *codes);
/** Runs a hypertext command. Status result.
 * @param objId the object it concerns
 * @param command the command text
 * @return 0, the host's status, or -1 */
int T_ApiHypertextCommand(unsigned int objId, StringT command);

/* Menus and commands; names, labels, shortcuts and flags are the host's. */
/** Plain result.
 * @param name a menu name
 * @return the host's answer; -1 with no reply */
int T_ApiMenuExists(StringT name);
/** Plain result.
 * @param shortcut a keyboard shortcut
 * @return the host's answer; -1 with no reply */
int T_ApiShortcutExists(StringT shortcut);
/** Adds a menu. Status result.
 * @param s1,s2,s3 the host's menu strings
 * @return 0, the host's status, or -1 */
int T_ApiAddMenu(StringT s1, StringT s2, StringT s3);
/** Removes a menu. Status result.
 * @param s1,s2 the host's menu strings
 * @return 0, the host's status, or -1 */
int T_ApiRemoveMenu(StringT s1, StringT s2);
/** Adds a command. Status result.
 * @param cmd the number T_ApiCommand() will receive
 * @param s1,s2,s3,s4 the host's command strings
 * @return 0, the host's status, or -1 */
int T_ApiAddCommand(int cmd, StringT s1, StringT s2, StringT s3, StringT s4);
/** Defines a command. Object result.
 * @param cmd the number T_ApiCommand() will receive
 * @param s1,s2,s3 the host's command strings
 * @return the command's id; 0 on failure */
unsigned int T_ApiDefineCommand(int cmd, StringT s1, StringT s2, StringT s3);
/** Defines a menu. Object result.
 * @param s1,s2 the host's menu strings
 * @return the menu's id; 0 on failure */
unsigned int T_ApiDefineMenu(StringT s1, StringT s2);
/** Puts a defined command into a menu. Status result.
 * @param id1,id2 the menu and the command
 * @return 0, the host's status, or -1 */
int T_ApiAddCommandToMenu(unsigned int id1, unsigned int id2);
/** Puts a defined menu into another. Status result.
 * @param id1,id2 the menu ids, in the host's order
 * @return 0, the host's status, or -1 */
int T_ApiAddMenuToMenu(unsigned int id1, unsigned int id2);
/** Defines a command and adds it to a menu. Object result.
 * @param cmd the number T_ApiCommand() will receive
 * @param menuId the menu
 * @param s1,s2,s3 the host's command strings
 * @return the command's id; 0 on failure */
unsigned int T_ApiDefineAndAddCommand(int cmd, unsigned int menuId, StringT s1, StringT s2, StringT s3);
/** Defines a menu and adds it to another. Object result.
 * @param menuId the menu to add to
 * @param s1,s2 the host's menu strings
 * @return the new menu's id; 0 on failure */
unsigned int T_ApiDefineAndAddMenu(unsigned int menuId, StringT s1, StringT s2);
/** Loads a menu customisation file. Status result.
 * @param fileName the file
 * @param flag the host's flag
 * @return 0, the host's status, or -1 */
int T_ApiLoadMenuCustomizationFile(StringT fileName, int flag);
/** Changes a menu item as the host's values say. Status result.
 * @param id1,id2,id3 the host's ids
 * @param num1,num2 the host's numbers
 * @param text the host's text
 * @return 0, the host's status, or -1 */
int T_ApiAnimateMenu(unsigned int id1, unsigned int id2, int num1, StringT text, unsigned int id3, int num2);
/** Looks up an item of a menu. Object result.
 * @param menuId the menu
 * @param itemId the item
 * @param flag the host's flag
 * @return the id the host answers; 0 on failure */
unsigned int T_ApiMenuItemInMenu(unsigned int menuId, unsigned int itemId, int flag);

/** @} */

TARNEL_END_DECLS

#endif
