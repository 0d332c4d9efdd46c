// Table calls: rows, columns, selection, straddling and new tables.
#include "call.h"

using namespace tarnel::requests;

extern "C" {

int T_ApiAddRows(unsigned int docId, unsigned int objId, int rowNum, int count) {
    ApiTnAddRowsArgT a = {docId, objId, rowNum, count};
    return status(api_tn_add_rows_1, &a);
}

// Rows and columns are cut by one procedure: the pair not used travels as
// zeros (row id and count, then column number and count).
int T_ApiDeleteRows(unsigned int docId, unsigned int tableId, unsigned int rowId, int count) {
    ApiTnCutTablePartsArgT a = {docId, tableId, rowId, count, 0, 0};
    return status(api_tn_cut_table_parts_1, &a);
}

int T_ApiDeleteCols(unsigned int docId, unsigned int tableId, int colNum, int count) {
    ApiTnCutTablePartsArgT a = {docId, tableId, 0, 0, colNum, count};
    return status(api_tn_cut_table_parts_1, &a);
}

int T_ApiAddCols(unsigned int docId, unsigned int tableId, int colNum, int where, int count) {
    ApiTnAddColumnsArgT a = {docId, tableId, colNum, where, count};
    return status(api_tn_add_columns_1, &a);
}

int T_ApiMakeTblSelection(unsigned int docId, unsigned int tableId, int num1, int num2, int num3, int num4) {
    ApiTnMakeTableSelectionArgT a = {docId, tableId, num1, num2, num3, num4};
    return status(api_tn_make_table_selection_1, &a);
}

// Straddling and unstraddling share one procedure; the fifth field says which.
int T_ApiStraddleCells(unsigned int docId, unsigned int cellId, int num1, int num2) {
    ApiTnStraddleCellsArgT a = {docId, cellId, num1, num2, 1};
    return status(api_tn_straddle_cells_1, &a);
}

int T_ApiUnStraddleCells(unsigned int docId, unsigned int cellId, int num1, int num2) {
    ApiTnStraddleCellsArgT a = {docId, cellId, num1, num2, 0};
    return status(api_tn_straddle_cells_1, &a);
}

unsigned int T_ApiNewTable(unsigned int docId, StringT format, int num1, int num2, int num3, int num4,
                           T_TextLocT *loc) {
    ApiTnNewTableArgT a = {docId, format, num1, num2, num3, num4, headerOf(loc)};
    return value(api_tn_new_table_1, &a, &ApiTnObjRetT::objId);
}
}
