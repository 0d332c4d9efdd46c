// Tables: a table (type 8) anchored in text holds rows (type 9; format
// "heading", "body" or "footing") that hold one cell (type 10) per column.
// New table: int1 columns, int2 body rows, int3 heading rows, int4 footing
// rows. Rows are added at an index (new rows are body rows); columns before
// (where 0) or after (where 1) a column number. The selection is kept as the
// table's property 74: top row, bottom row, left column, right column.
#include <algorithm>

#include "common.h"

namespace tarnel::host {
namespace {

std::size_t columns(const Object &table) {
    return table.children.empty() ? 0 : model().object(table.children.front())->children.size();
}

Object *tableOf(Request &req, u_int docId, u_int tableId) {
    if (!docOrFail(req, docId, {{"table", tableId}})) return nullptr;
    return typedObject(req, docId, tableId, ot::table);
}

u_int newRow(Object &table, std::size_t at, std::size_t cols, const char *format) {
    Model &m = model();
    u_int tableId = table.id, docId = table.docId;
    Object &row = m.create(docId, ot::row);
    row.parent = tableId;
    row.format = format;
    u_int rowId = row.id;
    for (std::size_t c = 0; c < cols; c++) {
        Object &cell = m.create(docId, ot::cell);
        cell.parent = rowId;
        m.object(rowId)->children.push_back(cell.id);
    }
    std::vector<u_int> &rows = m.object(tableId)->children;
    rows.insert(rows.begin() + static_cast<long>(at), rowId);
    return rowId;
}

// Straddles may not reach past the table after rows or columns went away.
void clampStraddles(Object &table) {
    Model &m = model();
    int rows = static_cast<int>(table.children.size()), cols = static_cast<int>(columns(table));
    for (int r = 0; r < rows; r++) {
        const std::vector<u_int> &cells = m.object(table.children[static_cast<std::size_t>(r)])->children;
        for (int c = 0; c < static_cast<int>(cells.size()); c++) {
            Object &cell = *m.object(cells[static_cast<std::size_t>(c)]);
            if (!cell.straddleRows) continue;
            cell.straddleRows = std::min(cell.straddleRows, rows - r);
            cell.straddleCols = std::min(cell.straddleCols, cols - c);
            if (cell.straddleRows <= 1 && cell.straddleCols <= 1) cell.straddleRows = cell.straddleCols = 0;
        }
    }
}

void newTable(Host &, Request &req) {
    const auto &a = argOf<ApiTnNewTableArgT>(req);
    auto &r = resOf<ApiTnObjRetT>(req);
    std::string format = a.str1 ? a.str1 : "";
    field(req, "format", format);
    req.detail.word("shape", num(a.int1) + "x" + num(a.int2) + "+" + num(a.int3) + "+" + num(a.int4));
    if (!docOrFail(req, a.docId, {{"loc", a.loc}})) return;
    if (a.int1 < 1 || a.int2 < 0 || a.int3 < 0 || a.int4 < 0 || a.int2 + a.int3 + a.int4 < 1) {
        r.status = st::badArgument;
        return;
    }
    Model &m = model();
    if ((r.status = m.checkLoc(a.docId, a.loc))) return;
    Object &t = m.create(a.docId, ot::table);
    t.anchored = true;
    t.anchor = a.loc;
    t.format = format;
    u_int id = t.id;
    auto cols = static_cast<std::size_t>(a.int1);
    std::size_t at = 0;
    for (int i = 0; i < a.int3; i++) newRow(*m.object(id), at++, cols, "heading");
    for (int i = 0; i < a.int2; i++) newRow(*m.object(id), at++, cols, "body");
    for (int i = 0; i < a.int4; i++) newRow(*m.object(id), at++, cols, "footing");
    m.document(a.docId)->modified = true;
    r.objId = id;
    field(req, "id", id);
}

void addRows(Host &, Request &req) {
    const auto &a = argOf<ApiTnAddRowsArgT>(req);
    field(req, "at", a.int1);
    field(req, "count", a.int2);
    Object *t = tableOf(req, a.docId, a.uint1);
    if (!t) return;
    if (a.int2 < 1) return replyStatus(req, st::badArgument);
    if (a.int1 < 0 || static_cast<std::size_t>(a.int1) > t->children.size()) return replyStatus(req, st::badLocation);
    std::size_t cols = columns(*t);
    u_int id = t->id;
    for (int i = 0; i < a.int2; i++) newRow(*model().object(id), static_cast<std::size_t>(a.int1 + i), cols, "body");
    model().document(a.docId)->modified = true;
}

void addColumns(Host &, Request &req) {
    const auto &a = argOf<ApiTnAddColumnsArgT>(req);
    fields(req, {{"column", a.int1}, {"where", a.int2}, {"count", a.int3}});
    Object *t = tableOf(req, a.docId, a.uint1);
    if (!t) return;
    if (a.int3 < 1 || (a.int2 != 0 && a.int2 != 1)) return replyStatus(req, st::badArgument);
    if (a.int1 < 0 || static_cast<std::size_t>(a.int1) >= columns(*t)) return replyStatus(req, st::badLocation);
    Model &m = model();
    std::vector<u_int> rows = t->children;
    for (u_int rowId : rows)
        for (int i = 0; i < a.int3; i++) {
            Object &cell = m.create(a.docId, ot::cell);
            cell.parent = rowId;
            std::vector<u_int> &cells = m.object(rowId)->children;
            cells.insert(cells.begin() + a.int1 + a.int2, cell.id);
        }
    m.document(a.docId)->modified = true;
}

// Deletes rowCount rows from the row given, and colCount columns from the
// column number given; at least one of the two, and never the whole table.
void cutTableParts(Host &, Request &req) {
    const auto &a = argOf<ApiTnCutTablePartsArgT>(req);
    fields(req, {{"row", a.uint2}, {"rows", a.int1}, {"column", a.int2}, {"columns", a.int3}});
    Object *t = tableOf(req, a.docId, a.uint1);
    if (!t) return;
    if (a.int1 < 0 || a.int3 < 0 || (a.int1 == 0 && a.int3 == 0)) return replyStatus(req, st::badArgument);
    Model &m = model();
    std::size_t rows = t->children.size(), cols = columns(*t), first = 0;
    if (a.int1 > 0) {
        first = indexIn(t->children, a.uint2);
        if (first >= rows || first + static_cast<std::size_t>(a.int1) > rows) return replyStatus(req, st::badLocation);
        if (static_cast<std::size_t>(a.int1) == rows) return replyStatus(req, st::badArgument);
    }
    if (a.int3 > 0) {
        if (a.int2 < 0 || static_cast<std::size_t>(a.int2 + a.int3) > cols) return replyStatus(req, st::badLocation);
        if (static_cast<std::size_t>(a.int3) == cols) return replyStatus(req, st::badArgument);
    }
    u_int id = t->id;
    if (a.int1 > 0) {
        std::vector<u_int> gone(t->children.begin() + static_cast<long>(first),
                                t->children.begin() + static_cast<long>(first) + a.int1);
        for (u_int row : gone) m.remove(row);
    }
    if (a.int3 > 0)
        for (u_int row : std::vector<u_int>(m.object(id)->children)) {
            const std::vector<u_int> &cells = m.object(row)->children;
            std::vector<u_int> gone(cells.begin() + a.int2, cells.begin() + a.int2 + a.int3);
            for (u_int cell : gone) m.remove(cell);
        }
    clampStraddles(*m.object(id));
}

void tableSelection(Host &, Request &req) {
    const auto &a = argOf<ApiTnMakeTableSelectionArgT>(req);
    req.detail.word("rows", num(a.int1) + "-" + num(a.int2)).word("columns", num(a.int3) + "-" + num(a.int4));
    Object *t = tableOf(req, a.docId, a.uint1);
    if (!t) return;
    int rows = static_cast<int>(t->children.size()), cols = static_cast<int>(columns(*t));
    if (a.int1 < 0 || a.int1 > a.int2 || a.int2 >= rows || a.int3 < 0 || a.int3 > a.int4 || a.int4 >= cols)
        return replyStatus(req, st::badLocation);
    int sel[4] = {a.int1, a.int2, a.int3, a.int4};
    T_TypedValT v{};
    v.kind = TA_KIND_INTS;
    v.u.ints = {4, sel};
    t->set(pn::tableSelection, "", Value(v));
}

// Fifth field 1 straddles the cell over int1 rows and int2 columns; 0 ends
// the straddle of a straddled cell.
void straddle(Host &, Request &req) {
    const auto &a = argOf<ApiTnStraddleCellsArgT>(req);
    field(req, "cell", a.uint1);
    req.detail.word("extent", num(a.int1) + "x" + num(a.int2));
    if (!docOrFail(req, a.docId, {{"straddle", a.int3}})) return;
    Model &m = model();
    Object *cell = m.resolve(a.docId, a.uint1);
    if (!cell) return replyStatus(req, st::noObject);
    if (cell->type != ot::cell) return replyStatus(req, st::wrongType);
    if (a.int3 == 0) {
        if (!cell->straddleRows) return replyStatus(req, st::badArgument);
        cell->straddleRows = cell->straddleCols = 0;
        return;
    }
    if (a.int3 != 1 || a.int1 < 1 || a.int2 < 1 || (a.int1 == 1 && a.int2 == 1))
        return replyStatus(req, st::badArgument);
    Object &row = *m.object(cell->parent);
    Object &table = *m.object(row.parent);
    std::size_t r = indexIn(table.children, row.id), c = indexIn(row.children, cell->id);
    if (r + static_cast<std::size_t>(a.int1) > table.children.size() ||
        c + static_cast<std::size_t>(a.int2) > row.children.size())
        return replyStatus(req, st::badLocation);
    cell->straddleRows = a.int1;
    cell->straddleCols = a.int2;
    m.document(a.docId)->modified = true;
}

}  // namespace

void registerTableHandlers() {
    registerHandlers({
        {API_TN_ADD_ROWS, addRows},
        {API_TN_ADD_COLUMNS, addColumns},
        {API_TN_CUT_TABLE_PARTS, cutTableParts},
        {API_TN_MAKE_TABLE_SELECTION, tableSelection},
        {API_TN_STRADDLE_CELLS, straddle},
        {API_TN_NEW_TABLE, newTable},
    });
}

}  // namespace tarnel::host
