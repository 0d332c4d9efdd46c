// Text, element catalogue, attribute, element structure and table calls:
// what travels, and the result when the host accepts, refuses or is gone.
#include "call_table.h"

namespace requests_test {

// Items as offset"text" or offset#kind:value.
static std::string shown(TextItemsT items) {
    std::string out = "[";
    for (u_int i = 0; i < items.count; i++) {
        const TextItemT &t = items.items[i];
        out += (i ? " " : "") + std::to_string(t.offset);
        out += t.data.kind == 1 ? "\"" + std::string(t.data.u.text) + "\""
                                : "#" + std::to_string(t.data.kind) + ":" + std::to_string(t.data.u.value);
    }
    T_ApiDeallocateTextItems(&items);
    return out + "]";
}
static std::string entry(T_ElementCatalogEntryT e) { return std::to_string(e.objId) + ":" + std::to_string(e.value); }
static std::string named(const T_AttributeDefT &d) { return d.name; }
SHOWN_LIST(T_ElementCatalogEntriesT, entry, T_ApiDeallocateElementCatalogEntries)
SHOWN_LIST(T_AttributeDefsT, named, T_ApiDeallocateAttributeDefs)
static std::string shown(T_AttributesT a) {
    std::string out = "[";
    for (u_int i = 0; i < a.count; i++) {
        out += (i ? " " : "") + std::string(a.items[i].name) + "=";
        for (u_int j = 0; j < a.items[i].values.count; j++) out += a.items[i].values.items[j];
    }
    T_ApiDeallocateAttributes(&a);
    return out + "]";
}

namespace {

// Document 1: frame 2 "Hello\nworld"; element definition 3 "Para"; elements
// sec 4 (child sub 5) and e1 6 at the top, the element selection from sec
// (offset 1) to e1; table 7 with rows 8 and 9, cells 10 11 / 12 13.
// Document 14 holds elements 15 and 16, both selected.
// Book 17. New objects start at 18.
json textFixture() {
    auto eloc = [](const char *child, int offset) {
        return json{{"parent", "document"}, {"child", child}, {"offset", offset}};
    };
    auto element = [](const char *key, const char *parent, const char *text) {
        return json{{"key", key}, {"type", 7}, {"parent", parent}, {"element_def", "def"}, {"text", text}};
    };
    json sec = element("sec", "document", "Sec");
    sec["props"] = {{{"num", 1634},
                     {"attributes", {{{"name", "Lang"}, {"values", {"en"}}}, {{"name", "Old"}, {"values", {"x"}}}}}}};
    json one = {{"props", {{{"num", 73}, {"element_range", {{"begin", eloc("sec", 1)}, {"end", eloc("e1", 0)}}}}}},
                {"objects",
                 {{{"key", "frame"}, {"type", 4}, {"text", "Hello\nworld"}},
                  {{"key", "def"},
                   {"type", 6},
                   {"name", "Para"},
                   {"props", {{{"num", 1584}, {"attribute_defs", {{{"name", "Lang"}}}}}}}},
                  sec,
                  element("sub", "sec", "Sub"),
                  element("e1", "document", "One"),
                  {{"key", "table"}, {"type", 8}},
                  {{"key", "r1"}, {"type", 9}, {"parent", "table"}},
                  {{"key", "r2"}, {"type", 9}, {"parent", "table"}},
                  {{"type", 10}, {"parent", "r1"}},
                  {{"type", 10}, {"parent", "r1"}},
                  {{"type", 10}, {"parent", "r2"}},
                  {{"type", 10}, {"parent", "r2"}}}}};
    json two = {{"props", {{{"num", 73}, {"element_range", {{"begin", eloc("a", 0)}, {"end", eloc("b", 0)}}}}}},
                {"objects",
                 {{{"key", "a"}, {"type", 7}, {"parent", "document"}, {"text", "A"}},
                  {{"key", "b"}, {"type", 7}, {"parent", "document"}, {"text", "B"}}}}};
    return {{"documents", {one, two, {{"book", true}}}}};
}

// A new object's id: 0 when refused or lost.
#define OBJECT(fn, proc, args, accepted, xdr, ...)                                                                     \
    Call {                                                                                                             \
#fn, proc, [&] { return shown(fn args); }, sent(xdr, {__VA_ARGS__}), accepted, "0u", true, "0u"                \
    }

TEST(TextCalls, EveryFunctionAcceptedRefusedAndLost) {
    T_TextLocT at = {2, 5}, inSub = {5, 2};
    T_TextRangeT added = {{2, 5}, {2, 7}}, hello = {{2, 0}, {2, 5}}, world = {{2, 6}, {2, 11}};
    T_ElementLocT subAt = {4, 5, 1}, docEnd = {1, 0, 0}, bookEnd = {17, 0, 0};
    char bang[] = "!!", old[] = "Old", chapter[] = "ch1.doc";
    char lang[] = "Lang", kind[] = "Kind", mode[] = "Mode", a[] = "a";
    T_AttributeDefT defItems[2] = {{lang, 0, 0, 0, {}, {}, nullptr, nullptr},
                                   {kind, 0, 0, 0, {}, {}, nullptr, nullptr}};
    T_AttributeDefsT defs = {2, defItems};
    char *modeValues[] = {a};
    T_AttributeT attrItems[1] = {{mode, {1, modeValues}, 0, 0}};
    T_AttributesT attrs = {1, attrItems};
    const std::string zeroLoc = "(0,0)", empty = "[]";
    std::vector<Call> calls = {
        GET(T_ApiAddText, 1058, (1, &at, bang), "(2,7)", zeroLoc, xdr_ApiTnAddTextArgT, 1, at, bang),
        STATUS(T_ApiDeleteText, 1059, (1, &added), xdr_ApiTnGeneralTextRangeArgT, 1, added),
        STATUS(T_ApiScrollToText, 1038, (1, &hello), xdr_ApiTnGeneralTextRangeArgT, 1, hello),
        STATUS(T_ApiCenterOnText, 1039, (1, &world), xdr_ApiTnGeneralTextRangeArgT, 1, world),
        STATUS(T_ApiCenterOnGraphicObject, 1413, (1, 7), xdr_ApiTnGeneralObjArgT, 1, 7),
        GET(T_ApiGetText, 1080, (1, 2, 0), "[0\"Hello\" 5#2:0 6\"world\"]", empty, xdr_ApiTnGetTextArgT, 1, 2, 0),
        GET(T_ApiGetText2, 1085, (1, 2, 1, 3), "[0\"Hel\" 3\"lo\" 6\"wor\" 9\"ld\"]", empty, xdr_ApiTnGetText2ArgT, 1,
            2, 1, 3),
        GET(T_ApiGetTextForRange, 1081, (1, &world, 0), "[6\"world\"]", empty, xdr_ApiTnGetTextForRangeArgT, 1, world,
            0),
        GET(T_ApiGetTextForRange2, 1086, (1, &hello, 1, 2), "[0\"He\" 2\"ll\" 4\"o\"]", empty,
            xdr_ApiTnGetTextForRange2ArgT, 1, hello, 1, 2),
        GET(T_ApiElementLocToTextLoc, 1286, (1, &subAt), "(5,1)", zeroLoc, xdr_ApiTnElementLocToTextLocArgT, 1, subAt),
        GET(T_ApiTextLocToElementLoc, 1287, (1, &inSub), "(4,5,2)", "(0,0,0)", xdr_ApiTnTextLocToElementLocArgT, 1,
            inSub),
        // The document travels as the object too, and the property by number.
        GET(T_ApiGetElementCatalog, 1285, (1), "[3:3]", "null", xdr_ApiTnGetPropArgT, 1, 1, {1488, nullptr}),
        GET(T_ApiGetAttributeDefs, 1400, (1, 3), "[Lang]", "null", xdr_ApiTnGetPropArgT, 1, 3, {1584, nullptr}),
        SET(T_ApiSetAttributeDefs, 1401, (1, 3, &defs), xdr_ApiTnSetAttributeDefsArgT, 1, 3, {1584, nullptr}, defs),
        GET(T_ApiGetAttributes, 1402, (1, 4), "[Lang=en Old=x]", empty, xdr_ApiTnGetPropArgT, 1, 4, {1634, nullptr}),
        SET(T_ApiSetAttributes, 1403, (1, 6, &attrs), xdr_ApiTnSetAttributesArgT, 1, 6, {1634, nullptr}, attrs),
        STATUS(T_ApiDeleteUndefinedAttribute, 1406, (1, old, 0, 4), xdr_ApiTnDeleteUndefinedAttributeArgT, 1, old, 0,
               4),
        // Structure: split sec (new 18), merge sec..e1 into sec, unwrap it,
        // wrap sub (new 19), promote it and demote it back.
        SET(T_ApiSplitElement, 1102, (1), xdr_ApiTnGeneralDocArgT, 1),
        SET(T_ApiMergeIntoFirst, 1100, (1), xdr_ApiTnGeneralDocArgT, 1),
        SET(T_ApiUnWrapElement, 1104, (1), xdr_ApiTnGeneralDocArgT, 1),
        SET(T_ApiWrapElement, 1103, (1, 3), xdr_ApiTnGeneralElementDefArgT, 1, 3),
        SET(T_ApiPromoteElement, 1105, (1), xdr_ApiTnGeneralDocArgT, 1),
        SET(T_ApiDemoteElement, 1106, (1), xdr_ApiTnGeneralDocArgT, 1),
        SET(T_ApiMergeIntoLast, 1101, (14), xdr_ApiTnGeneralDocArgT, 14),
        OBJECT(T_ApiNewElement, 1108, (1, 3, &inSub), "20u", xdr_ApiTnNewElementArgT, 1, 3, inSub),
        OBJECT(T_ApiNewElementInHierarchy, 1111, (1, 3, &docEnd), "21u", xdr_ApiTnNewElementInHierarchyArgT, 1, 3,
               docEnd),
        OBJECT(T_ApiNewBookComponentInHierarchy, 1112, (17, chapter, &bookEnd), "22u",
               xdr_ApiTnNewBookComponentInHierarchyArgT, 17, chapter, bookEnd),
    };
    runCalls(calls, textFixture());
}

TEST(TableCalls, EveryFunctionAcceptedRefusedAndLost) {
    T_TextLocT at = {2, 0};
    char grid[] = "Grid";
    std::vector<Call> calls = {
        // New row 18 with cells 19 and 20, at index 2.
        STATUS(T_ApiAddRows, 1200, (1, 7, 2, 1), xdr_ApiTnAddRowsArgT, 1, 7, 2, 1),
        // The column pair travels as zeros.
        STATUS(T_ApiDeleteRows, 1202, (1, 7, 8, 1), xdr_ApiTnCutTablePartsArgT, 1, 7, 8, 1, 0, 0),
        // New cells 21 and 22.
        STATUS(T_ApiAddCols, 1201, (1, 7, 0, 1, 1), xdr_ApiTnAddColumnsArgT, 1, 7, 0, 1, 1),
        STATUS(T_ApiMakeTblSelection, 1203, (1, 7, 0, 1, 0, 2), xdr_ApiTnMakeTableSelectionArgT, 1, 7, 0, 1, 0, 2),
        STATUS(T_ApiStraddleCells, 1204, (1, 12, 2, 2), xdr_ApiTnStraddleCellsArgT, 1, 12, 2, 2, 1),
        // Unstraddling differs only in the fifth field.
        STATUS(T_ApiUnStraddleCells, 1204, (1, 12, 2, 2), xdr_ApiTnStraddleCellsArgT, 1, 12, 2, 2, 0),
        // The row pair travels as zeros.
        STATUS(T_ApiDeleteCols, 1202, (1, 7, 1, 1), xdr_ApiTnCutTablePartsArgT, 1, 7, 0, 0, 1, 1),
        OBJECT(T_ApiNewTable, 1205, (1, grid, 2, 1, 0, 0, &at), "23u", xdr_ApiTnNewTableArgT, 1, grid, 2, 1, 0, 0, at),
    };
    runCalls(calls, textFixture());
}

}  // namespace
}  // namespace requests_test
