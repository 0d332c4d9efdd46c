#ifndef TARNEL_TNAPI_REQ_DOCS_H
#define TARNEL_TNAPI_REQ_DOCS_H

#include <tarnel/api_values.h>
#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/* The two ids T_ApiCompare returns, in the order of the host's reply. */
typedef struct T_CompareRetT {
    unsigned int firstId;
    unsigned int secondId;
} T_CompareRetT;

/* Scripted operations. Each hands back, through its last argument, the
 * return-parameter list of the host's reply (also when the host refuses);
 * that list is the library's: it stays valid until the next call of the same
 * function, the caller may release its contents with T_ApiDeallocatePropVals
 * but never the list record itself. The pointer variable must hold null or
 * such a list, whose contents are released before it is replaced. With no
 * reply the variable is left as it was. */
unsigned int T_ApiOpen(StringT fileName, T_PropValsT *openParams,
                       T_PropValsT **openReturnParamsp);
unsigned int T_ApiSave(unsigned int docId, StringT saveAsName, T_PropValsT *saveParams,
                       T_PropValsT **saveReturnParamsp);
unsigned int T_ApiImport(unsigned int docId, T_TextLocT *loc, StringT fileName,
                         T_PropValsT *importParams, T_PropValsT **importReturnParamsp);
/* The host's status; 0 also with no reply (TA_errno -1 tells them apart). */
int T_ApiExport(unsigned int docId, StringT fileName, T_PropValsT *exportParams,
                T_PropValsT **exportReturnParamsp);
/* The host's status; -1 with no reply. */
int T_ApiUpdateBook(unsigned int bookId, T_PropValsT *updateParams,
                    T_PropValsT **updateReturnParamsp);

/* Documents and books. */
int T_ApiClose(unsigned int docId, int flags);
int T_ApiSilentPrintDoc(unsigned int docId);
unsigned int T_ApiCacheDocument(unsigned int docId);
unsigned int T_ApiCustomDoc(int num1, int num2, int num3, int num4, int num5, int num6,
                            int num7, int num8, int num9, int num10);
int T_ApiSimpleImportFormats(unsigned int docId, unsigned int fromDocId, int flags);
int T_ApiSimpleImportElementDefs(unsigned int docId, unsigned int fromDocId, int flags);
int T_ApiSimpleGenerate(unsigned int bookId, int num1, int num2);
T_CompareRetT T_ApiCompare(unsigned int id1, unsigned int id2, int flags, StringT s1,
                           StringT s2, StringT s3, int n);

/* Clipboard. T_ApiPushClipboard sets TA_errno only when no reply comes. */
int T_ApiCut(unsigned int docId, int flags);
int T_ApiClear(unsigned int docId, int flags);
int T_ApiCopy(unsigned int docId, int flags);
int T_ApiPaste(unsigned int docId, int flags);
void T_ApiPushClipboard(void);
int T_ApiPopClipboard(void);

/* Document-wide operations. */
int T_ApiRestartPgfNumbering(unsigned int docId);
int T_ApiRehyphenate(unsigned int docId);
int T_ApiClearAllChangebars(unsigned int docId);
int T_ApiResetEqnSettings(unsigned int docId);
int T_ApiResetReferenceFrames(unsigned int docId);
int T_ApiUpdateVariables(unsigned int docId);
int T_ApiReformat(unsigned int docId);
int T_ApiRedisplay(unsigned int docId);
int T_ApiUpdateXRefs(unsigned int docId, int flags);
int T_ApiUpdateTextInset(unsigned int docId, unsigned int insetId);
int T_ApiDeleteTextInsetContents(unsigned int docId, unsigned int insetId);
int T_ApiApplyPageLayout(unsigned int docId, unsigned int id2, unsigned int id3);

TARNEL_END_DECLS

#endif
