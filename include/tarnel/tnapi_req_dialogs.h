#ifndef TARNEL_TNAPI_REQ_DIALOGS_H
#define TARNEL_TNAPI_REQ_DIALOGS_H

#include <tarnel/api_values.h>
#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/* Alerts, prompts and choosers. The prompts and choosers store the user's
 * answer through their first argument (a string as a new copy) and return
 * 0; a cancelled prompt returns -1 and leaves the answer and TA_errno as
 * they were. */
int T_ApiAlert(StringT message, int type);
int T_ApiPromptInt(int *answer, StringT message, StringT text);
int T_ApiPromptMetric(T_MetricT *answer, StringT message, StringT text, int unit);
int T_ApiPromptString(StringT *answer, StringT message, StringT text);
T_PointT T_ApiPromptPoint(unsigned int docId, unsigned int objId, int flag);
RectT T_ApiPromptRect(unsigned int docId, unsigned int objId, int flag);
int oldT_ApiChooseFile(StringT *choice, StringT s1, StringT s2, StringT s3, int mode);
int T_ApiFileScrollBox(StringT *choice, StringT s1, StringT s2);
int T_ApiChooseFile(StringT *choice, StringT s1, StringT s2, StringT s3, int mode, StringT s4);
int T_ApiScrollBox(int *selected, StringT title, T_StringsT *items, int defaultItem);
/* -1 both when the host refuses (its status in TA_errno) and with no reply. */
int T_ApiQuickSelect(unsigned int docId, StringT prompt, T_StringsT *items);

/* The client's dialog resources. A modal dialog with a non-zero number
 * serves callbacks until the host ends it and returns the dialog's result;
 * one the host declines returns 0 at once, its answer in TA_errno. */
unsigned int T_ApiOpenResource(int type, StringT name);
int T_ApiModalDialog(int dialogNum, unsigned int dialogId);
int T_ApiModelessDialog(int dialogNum, unsigned int dialogId);
unsigned int T_ApiDialogItemId(unsigned int dialogId, int itemNum);
int T_ApiUserInteractSelection(int n);

/* Host services. The sleeps return 0, or their argument with no reply. */
int T_ApiUserCancel(void);
int T_ApiSleep(int seconds);
int T_ApiUSleep(int microseconds);
int T_ApiSystemShell(StringT command);
int T_ApiForkAndExec(StringT path, T_StringsT *args);

TARNEL_END_DECLS

#endif
