#ifndef TARNEL_TNAPI_REQ_TEXT_H
#define TARNEL_TNAPI_REQ_TEXT_H

#include <tarnel/api_values.h>
#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/* Text: insert, delete, show, read. The text-reading calls return a list
 * the caller releases with T_ApiDeallocateTextItems (empty on failure). */
T_TextLocT T_ApiAddText(unsigned int docId, T_TextLocT *loc, StringT text);
int T_ApiDeleteText(unsigned int docId, T_TextRangeT *range);
int T_ApiScrollToText(unsigned int docId, T_TextRangeT *range);
int T_ApiCenterOnText(unsigned int docId, T_TextRangeT *range);
int T_ApiCenterOnGraphicObject(unsigned int docId, unsigned int objId);
TextItemsT T_ApiGetText(unsigned int docId, unsigned int objId, unsigned int flags);
TextItemsT T_ApiGetText2(unsigned int docId, unsigned int objId, unsigned int flags1,
                         unsigned int flags2);
TextItemsT T_ApiGetTextForRange(unsigned int docId, T_TextRangeT *range, unsigned int flags);
TextItemsT T_ApiGetTextForRange2(unsigned int docId, T_TextRangeT *range, unsigned int flags1,
                                 unsigned int flags2);
T_TextLocT T_ApiElementLocToTextLoc(unsigned int docId, T_ElementLocT *eloc);
T_ElementLocT T_ApiTextLocToElementLoc(unsigned int docId, T_TextLocT *loc);

/* Element catalogue and attributes. */
T_ElementCatalogEntriesT T_ApiGetElementCatalog(unsigned int docId);
T_AttributeDefsT T_ApiGetAttributeDefs(unsigned int docId, unsigned int objId);
void T_ApiSetAttributeDefs(unsigned int docId, unsigned int objId, T_AttributeDefsT *defs);
T_AttributesT T_ApiGetAttributes(unsigned int docId, unsigned int objId);
void T_ApiSetAttributes(unsigned int docId, unsigned int objId, T_AttributesT *attributes);
int T_ApiDeleteUndefinedAttribute(unsigned int docId, StringT name, int flags,
                                  unsigned int objId);

/* Element structure; these report failure through TA_errno only. */
void T_ApiMergeIntoFirst(unsigned int docId);
void T_ApiMergeIntoLast(unsigned int docId);
void T_ApiSplitElement(unsigned int docId);
void T_ApiWrapElement(unsigned int docId, unsigned int objId);
void T_ApiUnWrapElement(unsigned int docId);
void T_ApiPromoteElement(unsigned int docId);
void T_ApiDemoteElement(unsigned int docId);
unsigned int T_ApiNewElement(unsigned int docId, unsigned int objId, T_TextLocT *loc);
unsigned int T_ApiNewElementInHierarchy(unsigned int docId, unsigned int objId,
                                        T_ElementLocT *eloc);
unsigned int T_ApiNewBookComponentInHierarchy(unsigned int bookId, StringT fileName,
                                              T_ElementLocT *eloc);

/* Tables. */
int T_ApiAddRows(unsigned int docId, unsigned int objId, int rowNum, int count);
int T_ApiDeleteRows(unsigned int docId, unsigned int tableId, unsigned int rowId, int count);
int T_ApiAddCols(unsigned int docId, unsigned int tableId, int colNum, int where, int count);
int T_ApiDeleteCols(unsigned int docId, unsigned int tableId, int colNum, int count);
int T_ApiMakeTblSelection(unsigned int docId, unsigned int tableId, int num1, int num2,
                          int num3, int num4);
int T_ApiStraddleCells(unsigned int docId, unsigned int cellId, int num1, int num2);
int T_ApiUnStraddleCells(unsigned int docId, unsigned int cellId, int num1, int num2);
unsigned int T_ApiNewTable(unsigned int docId, StringT format, int num1, int num2, int num3,
                           int num4, T_TextLocT *loc);

TARNEL_END_DECLS

#endif
