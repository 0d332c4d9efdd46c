/** @file
 * Text, element and table requests. */
#ifndef TARNEL_TNAPI_REQ_TEXT_H
#define TARNEL_TNAPI_REQ_TEXT_H

#include <tarnel/api_values.h>
#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/** @defgroup req_text Text, elements and tables
 * @ingroup requests
 * Insert, delete, show and read text; convert between text and element
 * locations; the element catalogue and attributes; element structure;
 * tables. Result kinds as in @ref requests; the calls returning int without
 * further note are status results (0, the host's status also in #TA_errno,
 * or -1 with no reply). Locations and ranges passed by pointer are read
 * only, a null one is sent as the zero record.
 * @{ */

/* Text: insert, delete, show, read. The text-reading calls return a list
 * the caller releases with T_ApiDeallocateTextItems (empty on failure). */
/** Inserts text. Record result.
 * @param docId the document
 * @param loc where to insert
 * @param text the text
 * @return the location the host answers (normally the end of the new
 *         text); the zero location on failure */
T_TextLocT T_ApiAddText(unsigned int docId, T_TextLocT *loc, StringT text);
/** Deletes a range of text.
 * @param docId the document
 * @param range the text to delete
 * @return 0, the host's status, or -1 */
int T_ApiDeleteText(unsigned int docId, T_TextRangeT *range);
/** Scrolls the document's window to a range of text.
 * @param docId the document
 * @param range the text
 * @return 0, the host's status, or -1 */
int T_ApiScrollToText(unsigned int docId, T_TextRangeT *range);
/** Centres the document's window on a range of text.
 * @param docId the document
 * @param range the text
 * @return 0, the host's status, or -1 */
int T_ApiCenterOnText(unsigned int docId, T_TextRangeT *range);
/** Centres the document's window on a graphic object.
 * @param docId the document
 * @param objId the object
 * @return 0, the host's status, or -1 */
int T_ApiCenterOnGraphicObject(unsigned int docId, unsigned int objId);
/** Reads the text of an object as items. Record result.
 * @param docId the document
 * @param objId the object
 * @param flags the host's selection of item kinds
 * @return a new list (release with T_ApiDeallocateTextItems()); empty on
 *         failure */
TextItemsT T_ApiGetText(unsigned int docId, unsigned int objId, unsigned int flags);
/** T_ApiGetText() with a second flag word.
 * @param docId the document
 * @param objId the object
 * @param flags1,flags2 the host's selection of item kinds
 * @return a new list (release with T_ApiDeallocateTextItems()); empty on
 *         failure */
TextItemsT T_ApiGetText2(unsigned int docId, unsigned int objId, unsigned int flags1, unsigned int flags2);
/** Reads a range of text as items. Record result.
 * @param docId the document
 * @param range the text
 * @param flags the host's selection of item kinds
 * @return a new list (release with T_ApiDeallocateTextItems()); empty on
 *         failure */
TextItemsT T_ApiGetTextForRange(unsigned int docId, T_TextRangeT *range, unsigned int flags);
/** T_ApiGetTextForRange() with a second flag word.
 * @param docId the document
 * @param range the text
 * @param flags1,flags2 the host's selection of item kinds
 * @return a new list (release with T_ApiDeallocateTextItems()); empty on
 *         failure */
TextItemsT T_ApiGetTextForRange2(unsigned int docId, T_TextRangeT *range, unsigned int flags1, unsigned int flags2);
/** Converts an element location. Record result.
 * @param docId the document
 * @param eloc the element location
 * @return the text location; the zero location on failure */
T_TextLocT T_ApiElementLocToTextLoc(unsigned int docId, T_ElementLocT *eloc);
/** Converts a text location. Record result.
 * @param docId the document
 * @param loc the text location
 * @return the element location; the zero record on failure */
T_ElementLocT T_ApiTextLocToElementLoc(unsigned int docId, T_TextLocT *loc);

/* Element catalogue and attributes. */
/** Reads the document's element catalogue (property 1488 of the document).
 * Record result.
 * @param docId the document
 * @return a new list (release with T_ApiDeallocateElementCatalogEntries());
 *         empty on failure */
T_ElementCatalogEntriesT T_ApiGetElementCatalog(unsigned int docId);
/** Reads an object's attribute definitions (property 1584). Record result.
 * @param docId the document
 * @param objId the object
 * @return a new list (release with T_ApiDeallocateAttributeDefs()); empty on
 *         failure */
T_AttributeDefsT T_ApiGetAttributeDefs(unsigned int docId, unsigned int objId);
/** Writes an object's attribute definitions (property 1584). No result.
 * @param docId the document
 * @param objId the object
 * @param defs the definitions (null: the empty list) */
void T_ApiSetAttributeDefs(unsigned int docId, unsigned int objId, T_AttributeDefsT *defs);
/** Reads an object's attributes (property 1634). Record result.
 * @param docId the document
 * @param objId the object
 * @return a new list (release with T_ApiDeallocateAttributes()); empty on
 *         failure */
T_AttributesT T_ApiGetAttributes(unsigned int docId, unsigned int objId);
/** Writes an object's attributes (property 1634). No result.
 * @param docId the document
 * @param objId the object
 * @param attributes the attributes (null: the empty list) */
void T_ApiSetAttributes(unsigned int docId, unsigned int objId, T_AttributesT *attributes);
/** Deletes an attribute that has no definition.
 * @param docId the document
 * @param name the attribute's name
 * @param flags the host's flags
 * @param objId the object
 * @return 0, the host's status, or -1 */
int T_ApiDeleteUndefinedAttribute(unsigned int docId, StringT name, int flags, unsigned int objId);

/* Element structure; these report failure through TA_errno only. */
/** Merges the selected elements into the first. No result.
 * @param docId the document */
void T_ApiMergeIntoFirst(unsigned int docId);
/** Merges the selected elements into the last. No result.
 * @param docId the document */
void T_ApiMergeIntoLast(unsigned int docId);
/** Splits the element at the insertion point. No result.
 * @param docId the document */
void T_ApiSplitElement(unsigned int docId);
/** Wraps the selection in a new element. No result.
 * @param docId the document
 * @param objId the element definition */
void T_ApiWrapElement(unsigned int docId, unsigned int objId);
/** Removes the selected element's wrapper. No result.
 * @param docId the document */
void T_ApiUnWrapElement(unsigned int docId);
/** Promotes the selected element. No result.
 * @param docId the document */
void T_ApiPromoteElement(unsigned int docId);
/** Demotes the selected element. No result.
 * @param docId the document */
void T_ApiDemoteElement(unsigned int docId);
/** Inserts a new element at a text location. Object result.
 * @param docId the document
 * @param objId the element definition
 * @param loc where to insert it
 * @return the new element's id; 0 on failure */
unsigned int T_ApiNewElement(unsigned int docId, unsigned int objId, T_TextLocT *loc);
/** Inserts a new element at an element location. Object result.
 * @param docId the document
 * @param objId the element definition
 * @param eloc where to insert it (null: the zero record)
 * @return the new element's id; 0 on failure */
unsigned int T_ApiNewElementInHierarchy(unsigned int docId, unsigned int objId, T_ElementLocT *eloc);
/** Inserts a new component into a book. Object result.
 * @param bookId the book
 * @param fileName the component's file
 * @param eloc where to insert it (null: the zero record)
 * @return the new component's id; 0 on failure */
unsigned int T_ApiNewBookComponentInHierarchy(unsigned int bookId, StringT fileName, T_ElementLocT *eloc);

/* Tables. */
/** Adds rows to a table.
 * @param docId the document
 * @param objId the row to add next to
 * @param rowNum the host's placement
 * @param count the number of rows
 * @return 0, the host's status, or -1 */
int T_ApiAddRows(unsigned int docId, unsigned int objId, int rowNum, int count);
/** Deletes rows (the column fields of the request are sent as 0).
 * @param docId the document
 * @param tableId the table
 * @param rowId the first row
 * @param count the number of rows
 * @return 0, the host's status, or -1 */
int T_ApiDeleteRows(unsigned int docId, unsigned int tableId, unsigned int rowId, int count);
/** Adds columns to a table.
 * @param docId the document
 * @param tableId the table
 * @param colNum the column to add next to
 * @param where the host's placement
 * @param count the number of columns
 * @return 0, the host's status, or -1 */
int T_ApiAddCols(unsigned int docId, unsigned int tableId, int colNum, int where, int count);
/** Deletes columns (the row fields of the request are sent as 0).
 * @param docId the document
 * @param tableId the table
 * @param colNum the first column
 * @param count the number of columns
 * @return 0, the host's status, or -1 */
int T_ApiDeleteCols(unsigned int docId, unsigned int tableId, int colNum, int count);
/** Selects cells of a table.
 * @param docId the document
 * @param tableId the table
 * @param num1,num2,num3,num4 the host's bounds of the selection
 * @return 0, the host's status, or -1 */
int T_ApiMakeTblSelection(unsigned int docId, unsigned int tableId, int num1, int num2, int num3, int num4);
/** Straddles cells.
 * @param docId the document
 * @param cellId the first cell
 * @param num1,num2 the host's extent
 * @return 0, the host's status, or -1 */
int T_ApiStraddleCells(unsigned int docId, unsigned int cellId, int num1, int num2);
/** Undoes a straddle (the same request as T_ApiStraddleCells(), marked 0).
 * @param docId the document
 * @param cellId the first cell
 * @param num1,num2 the host's extent
 * @return 0, the host's status, or -1 */
int T_ApiUnStraddleCells(unsigned int docId, unsigned int cellId, int num1, int num2);
/** Inserts a new table. Object result.
 * @param docId the document
 * @param format the table format's name
 * @param num1,num2,num3,num4 the host's dimensions
 * @param loc where to insert it
 * @return the new table's id; 0 on failure */
unsigned int T_ApiNewTable(unsigned int docId, StringT format, int num1, int num2, int num3, int num4, T_TextLocT *loc);

/** @} */

TARNEL_END_DECLS

#endif
