#ifndef TARNEL_TNAPI_REQ_SESSION_H
#define TARNEL_TNAPI_REQ_SESSION_H

#include <tarnel/api_values.h>
#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/* This client and its session. */
int T_ApiClientNumber(void);
StringT T_ApiClientName(void);
StringT T_ApiClientDir(void);
int T_ApiSetClientDir(StringT dir);
int T_ApiCallClient(StringT clientName, StringT message);
int T_ApiReturnValue(int value);
/* Leaves the session whatever the host answers: control is handed back, the
 * connection torn down and TA_bailout set. */
int T_ApiDisconnectFromSession(void);

/* Notifications and function codes. */
int T_ApiNotification(int notification, int state);
int T_ApiFcodes(int len, int *codes);
int T_ApiHypertextCommand(unsigned int objId, StringT command);

/* Menus and commands; names, labels, shortcuts and flags are the host's. */
int T_ApiMenuExists(StringT name);
int T_ApiShortcutExists(StringT shortcut);
int T_ApiAddMenu(StringT s1, StringT s2, StringT s3);
int T_ApiRemoveMenu(StringT s1, StringT s2);
int T_ApiAddCommand(int cmd, StringT s1, StringT s2, StringT s3, StringT s4);
unsigned int T_ApiDefineCommand(int cmd, StringT s1, StringT s2, StringT s3);
unsigned int T_ApiDefineMenu(StringT s1, StringT s2);
int T_ApiAddCommandToMenu(unsigned int id1, unsigned int id2);
int T_ApiAddMenuToMenu(unsigned int id1, unsigned int id2);
unsigned int T_ApiDefineAndAddCommand(int cmd, unsigned int menuId, StringT s1, StringT s2,
                                      StringT s3);
unsigned int T_ApiDefineAndAddMenu(unsigned int menuId, StringT s1, StringT s2);
int T_ApiLoadMenuCustomizationFile(StringT fileName, int flag);
int T_ApiAnimateMenu(unsigned int id1, unsigned int id2, int num1, StringT text, unsigned int id3,
                     int num2);
unsigned int T_ApiMenuItemInMenu(unsigned int menuId, unsigned int itemId, int flag);

TARNEL_END_DECLS

#endif
