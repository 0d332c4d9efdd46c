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
static std::string shown(T_ElementCatalogEntriesT c) {
    std::string out = "[";
    for (u_int i = 0; i < c.count; i++)
        out += (i ? " " : "") + std::to_string(c.items[i].objId) + ":" + std::to_string(c.items[i].value);
    T_ApiDeallocateElementCatalogEntries(&c);
    return out + "]";
}
static std::string shown(T_AttributeDefsT d) {
    std::string out = "[";
    for (u_int i = 0; i < d.count; i++) out += (i ? " " : "") + std::string(d.items[i].name);
    T_ApiDeallocateAttributeDefs(&d);
    return out + "]";
}
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

Call object(const char *name, int proc, std::function<unsigned int()> call, std::string args, std::string accepted) {
    return Call{name, proc, [call] { return shown(call()); }, args, accepted, "0u", true, "0u"};
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
        row(
            "AddText", 1058, [&] { return shown(T_ApiAddText(1, &at, bang)); },
            sent(xdr_ApiTnAddTextArgT, ApiTnAddTextArgT{1, at, bang}), "(2,7)", zeroLoc),
        status(
            "DeleteText", 1059, [&] { return T_ApiDeleteText(1, &added); },
            sent(xdr_ApiTnGeneralTextRangeArgT, ApiTnGeneralTextRangeArgT{1, added})),
        status(
            "ScrollToText", 1038, [&] { return T_ApiScrollToText(1, &hello); },
            sent(xdr_ApiTnGeneralTextRangeArgT, ApiTnGeneralTextRangeArgT{1, hello})),
        status(
            "CenterOnText", 1039, [&] { return T_ApiCenterOnText(1, &world); },
            sent(xdr_ApiTnGeneralTextRangeArgT, ApiTnGeneralTextRangeArgT{1, world})),
        status(
            "CenterOnGraphicObject", 1413, [] { return T_ApiCenterOnGraphicObject(1, 7); },
            sent(xdr_ApiTnGeneralObjArgT, ApiTnGeneralObjArgT{1, 7})),
        row(
            "GetText", 1080, [] { return shown(T_ApiGetText(1, 2, 0)); },
            sent(xdr_ApiTnGetTextArgT, ApiTnGetTextArgT{1, 2, 0}), "[0\"Hello\" 5#2:0 6\"world\"]", empty),
        row(
            "GetText2", 1085, [] { return shown(T_ApiGetText2(1, 2, 1, 3)); },
            sent(xdr_ApiTnGetText2ArgT, ApiTnGetText2ArgT{1, 2, 1, 3}), "[0\"Hel\" 3\"lo\" 6\"wor\" 9\"ld\"]", empty),
        row(
            "GetTextForRange", 1081, [&] { return shown(T_ApiGetTextForRange(1, &world, 0)); },
            sent(xdr_ApiTnGetTextForRangeArgT, ApiTnGetTextForRangeArgT{1, world, 0}), "[6\"world\"]", empty),
        row(
            "GetTextForRange2", 1086, [&] { return shown(T_ApiGetTextForRange2(1, &hello, 1, 2)); },
            sent(xdr_ApiTnGetTextForRange2ArgT, ApiTnGetTextForRange2ArgT{1, hello, 1, 2}), "[0\"He\" 2\"ll\" 4\"o\"]",
            empty),
        row(
            "ElementLocToTextLoc", 1286, [&] { return shown(T_ApiElementLocToTextLoc(1, &subAt)); },
            sent(xdr_ApiTnElementLocToTextLocArgT, ApiTnElementLocToTextLocArgT{1, subAt}), "(5,1)", zeroLoc),
        row(
            "TextLocToElementLoc", 1287, [&] { return shown(T_ApiTextLocToElementLoc(1, &inSub)); },
            sent(xdr_ApiTnTextLocToElementLocArgT, ApiTnTextLocToElementLocArgT{1, inSub}), "(4,5,2)", "(0,0,0)"),
        // The document travels as the object too, and the property by number.
        row(
            "GetElementCatalog", 1285, [] { return shown(T_ApiGetElementCatalog(1)); },
            sent(xdr_ApiTnGetPropArgT, ApiTnGetPropArgT{1, 1, {1488, nullptr}}), "[3:3]", empty),
        row(
            "GetAttributeDefs", 1400, [] { return shown(T_ApiGetAttributeDefs(1, 3)); },
            sent(xdr_ApiTnGetPropArgT, ApiTnGetPropArgT{1, 3, {1584, nullptr}}), "[Lang]", empty),
        none(
            "SetAttributeDefs", 1401, [&] { T_ApiSetAttributeDefs(1, 3, &defs); },
            sent(xdr_ApiTnSetAttributeDefsArgT, ApiTnSetAttributeDefsArgT{1, 3, {1584, nullptr}, defs})),
        row(
            "GetAttributes", 1402, [] { return shown(T_ApiGetAttributes(1, 4)); },
            sent(xdr_ApiTnGetPropArgT, ApiTnGetPropArgT{1, 4, {1634, nullptr}}), "[Lang=en Old=x]", empty),
        none(
            "SetAttributes", 1403, [&] { T_ApiSetAttributes(1, 6, &attrs); },
            sent(xdr_ApiTnSetAttributesArgT, ApiTnSetAttributesArgT{1, 6, {1634, nullptr}, attrs})),
        status(
            "DeleteUndefinedAttribute", 1406, [&] { return T_ApiDeleteUndefinedAttribute(1, old, 0, 4); },
            sent(xdr_ApiTnDeleteUndefinedAttributeArgT, ApiTnDeleteUndefinedAttributeArgT{1, old, 0, 4})),
        // Structure: split sec (new 18), merge sec..e1 into sec, unwrap it,
        // wrap sub (new 19), promote it and demote it back.
        none(
            "SplitElement", 1102, [] { T_ApiSplitElement(1); }, sent(xdr_ApiTnGeneralDocArgT, ApiTnGeneralDocArgT{1})),
        none(
            "MergeIntoFirst", 1100, [] { T_ApiMergeIntoFirst(1); },
            sent(xdr_ApiTnGeneralDocArgT, ApiTnGeneralDocArgT{1})),
        none(
            "UnWrapElement", 1104, [] { T_ApiUnWrapElement(1); },
            sent(xdr_ApiTnGeneralDocArgT, ApiTnGeneralDocArgT{1})),
        none(
            "WrapElement", 1103, [] { T_ApiWrapElement(1, 3); },
            sent(xdr_ApiTnGeneralElementDefArgT, ApiTnGeneralElementDefArgT{1, 3})),
        none(
            "PromoteElement", 1105, [] { T_ApiPromoteElement(1); },
            sent(xdr_ApiTnGeneralDocArgT, ApiTnGeneralDocArgT{1})),
        none(
            "DemoteElement", 1106, [] { T_ApiDemoteElement(1); },
            sent(xdr_ApiTnGeneralDocArgT, ApiTnGeneralDocArgT{1})),
        none(
            "MergeIntoLast", 1101, [] { T_ApiMergeIntoLast(14); },
            sent(xdr_ApiTnGeneralDocArgT, ApiTnGeneralDocArgT{14})),
        object(
            "NewElement", 1108, [&] { return T_ApiNewElement(1, 3, &inSub); },
            sent(xdr_ApiTnNewElementArgT, ApiTnNewElementArgT{1, 3, inSub}), "20u"),
        object(
            "NewElementInHierarchy", 1111, [&] { return T_ApiNewElementInHierarchy(1, 3, &docEnd); },
            sent(xdr_ApiTnNewElementInHierarchyArgT, ApiTnNewElementInHierarchyArgT{1, 3, docEnd}), "21u"),
        object(
            "NewBookComponentInHierarchy", 1112,
            [&] { return T_ApiNewBookComponentInHierarchy(17, chapter, &bookEnd); },
            sent(xdr_ApiTnNewBookComponentInHierarchyArgT, ApiTnNewBookComponentInHierarchyArgT{17, chapter, bookEnd}),
            "22u"),
    };
    runCalls(calls, textFixture());
}

TEST(TableCalls, EveryFunctionAcceptedRefusedAndLost) {
    T_TextLocT at = {2, 0};
    char grid[] = "Grid";
    std::vector<Call> calls = {
        // New row 18 with cells 19 and 20, at index 2.
        status(
            "AddRows", 1200, [] { return T_ApiAddRows(1, 7, 2, 1); },
            sent(xdr_ApiTnAddRowsArgT, ApiTnAddRowsArgT{1, 7, 2, 1})),
        // The column pair travels as zeros.
        status(
            "DeleteRows", 1202, [] { return T_ApiDeleteRows(1, 7, 8, 1); },
            sent(xdr_ApiTnCutTablePartsArgT, ApiTnCutTablePartsArgT{1, 7, 8, 1, 0, 0})),
        // New cells 21 and 22.
        status(
            "AddCols", 1201, [] { return T_ApiAddCols(1, 7, 0, 1, 1); },
            sent(xdr_ApiTnAddColumnsArgT, ApiTnAddColumnsArgT{1, 7, 0, 1, 1})),
        status(
            "MakeTblSelection", 1203, [] { return T_ApiMakeTblSelection(1, 7, 0, 1, 0, 2); },
            sent(xdr_ApiTnMakeTableSelectionArgT, ApiTnMakeTableSelectionArgT{1, 7, 0, 1, 0, 2})),
        status(
            "StraddleCells", 1204, [] { return T_ApiStraddleCells(1, 12, 2, 2); },
            sent(xdr_ApiTnStraddleCellsArgT, ApiTnStraddleCellsArgT{1, 12, 2, 2, 1})),
        // Unstraddling differs only in the fifth field.
        status(
            "UnStraddleCells", 1204, [] { return T_ApiUnStraddleCells(1, 12, 2, 2); },
            sent(xdr_ApiTnStraddleCellsArgT, ApiTnStraddleCellsArgT{1, 12, 2, 2, 0})),
        // The row pair travels as zeros.
        status(
            "DeleteCols", 1202, [] { return T_ApiDeleteCols(1, 7, 1, 1); },
            sent(xdr_ApiTnCutTablePartsArgT, ApiTnCutTablePartsArgT{1, 7, 0, 0, 1, 1})),
        object(
            "NewTable", 1205, [&] { return T_ApiNewTable(1, grid, 2, 1, 0, 0, &at); },
            sent(xdr_ApiTnNewTableArgT, ApiTnNewTableArgT{1, grid, 2, 1, 0, 0, at}), "23u"),
    };
    runCalls(calls, textFixture());
}

}  // namespace
}  // namespace requests_test
