/** @file
 * Document and book requests. */
#ifndef TARNEL_TNAPI_REQ_DOCS_H
#define TARNEL_TNAPI_REQ_DOCS_H

#include <tarnel/api_values.h>
#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/** @defgroup req_docs Documents and books
 * @ingroup requests
 * Open, save, import, export, close, print, create and compare documents,
 * update books, the clipboard, and document-wide operations. Result kinds
 * as in @ref requests; the calls returning int without further note are
 * status results (0, the host's status also in #TA_errno, or -1 with no
 * reply).
 *
 * @par Scripted operations and their return-parameter lists
 * T_ApiOpen(), T_ApiSave(), T_ApiImport(), T_ApiExport() and
 * T_ApiUpdateBook() take a parameter list (start from the default scripts of
 * @ref values, e.g. T_ApiGetOpenDefaultParams()) and hand back, through
 * their last argument, the return-parameter list of the host's reply, also
 * when the host refuses; read its status bits with T_ApiCheckStatus(). That
 * list is the library's, one per function: it stays valid until the next
 * call of the same function, and the caller may release its contents with
 * T_ApiDeallocatePropVals() but never the list record itself. The pointer
 * variable must hold null or such a list; whenever a reply comes, the
 * contents it points to are released before it is pointed at the new list.
 * With no reply the variable is left as it was.
 * @{ */

/** The two ids T_ApiCompare() returns, in the order of the host's reply. */
typedef struct T_CompareRetT {
    unsigned int firstId;  /**< first id of the reply */
    unsigned int secondId; /**< second id of the reply */
} T_CompareRetT;

/** Opens a document (scripted operation).
 * @param fileName the file
 * @param openParams the parameter list (null: empty)
 * @param openReturnParamsp receives the return-parameter list
 * @return the document's id; 0 on failure (#TA_errno set) */
unsigned int T_ApiOpen(StringT fileName, T_PropValsT *openParams, T_PropValsT **openReturnParamsp);
/** Saves a document (scripted operation).
 * @param docId the document
 * @param saveAsName the file to save as
 * @param saveParams the parameter list (null: empty)
 * @param saveReturnParamsp receives the return-parameter list
 * @return the saved document's id; 0 on failure (#TA_errno set) */
unsigned int T_ApiSave(unsigned int docId, StringT saveAsName, T_PropValsT *saveParams,
                       T_PropValsT **saveReturnParamsp);
/** Imports a file into a document's text (scripted operation).
 * @param docId the document
 * @param loc where to import (null: the zero location)
 * @param fileName the file
 * @param importParams the parameter list (null: empty)
 * @param importReturnParamsp receives the return-parameter list
 * @return the imported object's id; 0 on failure (#TA_errno set) */
unsigned int T_ApiImport(unsigned int docId, T_TextLocT *loc, StringT fileName, T_PropValsT *importParams,
                         T_PropValsT **importReturnParamsp);
/** Exports a document (scripted operation).
 * @param docId the document
 * @param fileName the file
 * @param exportParams the parameter list (null: empty)
 * @param exportReturnParamsp receives the return-parameter list
 * @return the host's status (also in #TA_errno when not 0); 0 also with no
 *         reply, told apart only by #TA_errno -1 */
int T_ApiExport(unsigned int docId, StringT fileName, T_PropValsT *exportParams, T_PropValsT **exportReturnParamsp);
/** Updates a book (scripted operation).
 * @param bookId the book
 * @param updateParams the parameter list (null: empty)
 * @param updateReturnParamsp receives the return-parameter list
 * @return the host's status (also in #TA_errno when not 0); -1 with no reply */
int T_ApiUpdateBook(unsigned int bookId, T_PropValsT *updateParams, T_PropValsT **updateReturnParamsp);

/* Documents and books. */
/** Closes a document.
 * @param docId the document
 * @param flags the host's flags
 * @return 0, the host's status, or -1 */
int T_ApiClose(unsigned int docId, int flags);
/** Prints a document without a dialog.
 * @param docId the document
 * @return 0, the host's status, or -1 */
int T_ApiSilentPrintDoc(unsigned int docId);
/** Caches a document. Object result.
 * @param docId the document
 * @return the id the host answers; 0 on failure */
unsigned int T_ApiCacheDocument(unsigned int docId);
/** Creates a custom document. Object result.
 * @param num1,num2,num3,num4,num5,num6,num7,num8,num9,num10 the host's
 *        values, sent in order
 * @return the new document's id; 0 on failure */
unsigned int T_ApiCustomDoc(int num1, int num2, int num3, int num4, int num5, int num6, int num7, int num8, int num9,
                            int num10);
/** Imports formats from another document.
 * @param docId the document to change
 * @param fromDocId the document to import from
 * @param flags the host's flags
 * @return 0, the host's status, or -1 */
int T_ApiSimpleImportFormats(unsigned int docId, unsigned int fromDocId, int flags);
/** Imports element definitions from another document.
 * @param docId the document to change
 * @param fromDocId the document to import from
 * @param flags the host's flags
 * @return 0, the host's status, or -1 */
int T_ApiSimpleImportElementDefs(unsigned int docId, unsigned int fromDocId, int flags);
/** Generates a book's generated files.
 * @param bookId the book
 * @param num1,num2 the host's values
 * @return 0, the host's status, or -1 */
int T_ApiSimpleGenerate(unsigned int bookId, int num1, int num2);
/** Compares two documents or books. Record result.
 * @param id1,id2 the two to compare
 * @param flags the host's flags
 * @param s1,s2,s3 the host's strings
 * @param n the host's number
 * @return the two ids of the reply; both 0 on failure */
T_CompareRetT T_ApiCompare(unsigned int id1, unsigned int id2, int flags, StringT s1, StringT s2, StringT s3, int n);

/* Clipboard. T_ApiPushClipboard sets TA_errno only when no reply comes. */
/** Cuts the document's selection.
 * @param docId the document
 * @param flags the host's flags
 * @return 0, the host's status, or -1 */
int T_ApiCut(unsigned int docId, int flags);
/** Clears the document's selection.
 * @param docId the document
 * @param flags the host's flags
 * @return 0, the host's status, or -1 */
int T_ApiClear(unsigned int docId, int flags);
/** Copies the document's selection.
 * @param docId the document
 * @param flags the host's flags
 * @return 0, the host's status, or -1 */
int T_ApiCopy(unsigned int docId, int flags);
/** Pastes into the document's selection.
 * @param docId the document
 * @param flags the host's flags
 * @return 0, the host's status, or -1 */
int T_ApiPaste(unsigned int docId, int flags);
/** Pushes the clipboard; sets #TA_errno (-1) only when no reply comes. */
void T_ApiPushClipboard(void);
/** Pops the clipboard.
 * @return 0, the host's status, or -1 */
int T_ApiPopClipboard(void);

/* Document-wide operations. */
/** Restarts paragraph numbering.
 * @param docId the document
 * @return 0, the host's status, or -1 */
int T_ApiRestartPgfNumbering(unsigned int docId);
/** Hyphenates the document again.
 * @param docId the document
 * @return 0, the host's status, or -1 */
int T_ApiRehyphenate(unsigned int docId);
/** Clears all change bars.
 * @param docId the document
 * @return 0, the host's status, or -1 */
int T_ApiClearAllChangebars(unsigned int docId);
/** Resets the equation settings.
 * @param docId the document
 * @return 0, the host's status, or -1 */
int T_ApiResetEqnSettings(unsigned int docId);
/** Resets the reference frames.
 * @param docId the document
 * @return 0, the host's status, or -1 */
int T_ApiResetReferenceFrames(unsigned int docId);
/** Updates the variables.
 * @param docId the document
 * @return 0, the host's status, or -1 */
int T_ApiUpdateVariables(unsigned int docId);
/** Reformats the document.
 * @param docId the document
 * @return 0, the host's status, or -1 */
int T_ApiReformat(unsigned int docId);
/** Redisplays the document.
 * @param docId the document
 * @return 0, the host's status, or -1 */
int T_ApiRedisplay(unsigned int docId);
/** Updates cross-references.
 * @param docId the document
 * @param flags the host's flags
 * @return 0, the host's status, or -1 */
int T_ApiUpdateXRefs(unsigned int docId, int flags);
/** Updates a text inset from its source.
 * @param docId the document
 * @param insetId the inset
 * @return 0, the host's status, or -1 */
int T_ApiUpdateTextInset(unsigned int docId, unsigned int insetId);
/** Deletes a text inset's contents.
 * @param docId the document
 * @param insetId the inset
 * @return 0, the host's status, or -1 */
int T_ApiDeleteTextInsetContents(unsigned int docId, unsigned int insetId);
/** Applies a page layout.
 * @param docId the document
 * @param id2,id3 the host's ids
 * @return 0, the host's status, or -1 */
int T_ApiApplyPageLayout(unsigned int docId, unsigned int id2, unsigned int id3);

/** @} */

TARNEL_END_DECLS

#endif
