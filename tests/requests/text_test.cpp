// Text, element catalogue, attribute, element structure and table calls;
// find, replacement and the spelling calls: what travels, and the result when
// the host accepts, refuses or is gone. The calls with output lists write
// them on every outcome: a refusal delivers the lists the host sent, a lost
// call empty lists; each row starts from stale variables to show it.
#include "call_table.h"

namespace requests_test {

// Items as offset"text" or offset#kind:value; catalogue entries as id:value;
// attribute definitions by name; attributes as name=values.
static std::string textItem(const TextItemT &t) {
    return std::to_string(t.offset) + (t.data.kind == 1
                                           ? quoted(t.data.u.text)
                                           : "#" + std::to_string(t.data.kind) + ":" + std::to_string(t.data.u.value));
}
static std::string entry(const T_ElementCatalogEntryT &e) {
    return std::to_string(e.objId) + ":" + std::to_string(e.value);
}
static std::string defName(const T_AttributeDefT &d) { return d.name; }
static std::string attribute(const T_AttributeT &a) { return std::string(a.name) + "=" + items(a.values, quoted); }
static std::string shown(TextItemsT v) { return shown(v, textItem, T_ApiDeallocateTextItems); }
static std::string shown(T_ElementCatalogEntriesT v) { return shown(v, entry, T_ApiDeallocateElementCatalogEntries); }
static std::string shown(T_AttributeDefsT v) { return shown(v, defName, T_ApiDeallocateAttributeDefs); }
static std::string shown(T_AttributesT v) { return shown(v, attribute, T_ApiDeallocateAttributes); }

// What an output list holds before the call: a call must replace it.
static char kStaleWord[] = "stale";
static char *kStaleItems[] = {kStaleWord};
static constexpr T_StringsT kStale = {1, kStaleItems};

// The stale list untouched, or the list the call wrote.
static std::string list(T_StringsT l) { return l.items == kStaleItems ? "stale" : shown(l); }

namespace {

// Document 1: frame 2 "Hello\nworld"; element definition 3 "Para"; elements
// sec 4 (child sub 5) and e1 6 at the top, the element selection from sec
// (offset 1) to e1; table 7 with rows 8 and 9, cells 10 11 / 12 13.
// Document 14 holds elements 15 and 16, both selected.
// Book 17. New objects start at 18.
json textFixture() {
    return json::parse(R"({"documents": [
      {"props": [{"num": 73, "element_range": {"begin": {"parent": "document", "child": "sec", "offset": 1},
                                               "end": {"parent": "document", "child": "e1", "offset": 0}}}],
       "objects": [{"key": "frame", "type": 4, "text": "Hello\nworld"},
         {"key": "def", "type": 6, "name": "Para", "props": [{"num": 1584, "attribute_defs": [{"name": "Lang"}]}]},
         {"key": "sec", "type": 7, "parent": "document", "element_def": "def", "text": "Sec", "props": [{"num": 1634,
          "attributes": [{"name": "Lang", "values": ["en"]}, {"name": "Old", "values": ["x"]}]}]},
         {"key": "sub", "type": 7, "parent": "sec", "element_def": "def", "text": "Sub"},
         {"key": "e1", "type": 7, "parent": "document", "element_def": "def", "text": "One"},
         {"key": "table", "type": 8}, {"key": "r1", "type": 9, "parent": "table"},
         {"key": "r2", "type": 9, "parent": "table"}, {"type": 10, "parent": "r1"}, {"type": 10, "parent": "r1"},
         {"type": 10, "parent": "r2"}, {"type": 10, "parent": "r2"}]},
      {"props": [{"num": 73, "element_range": {"begin": {"parent": "document", "child": "a", "offset": 0},
                                               "end": {"parent": "document", "child": "b", "offset": 0}}}],
       "objects": [{"key": "a", "type": 7, "parent": "document", "text": "A"},
                   {"key": "b", "type": 7, "parent": "document", "text": "B"}]},
      {"book": true}]})");
}

TEST(TextAndTableCalls, EveryFunctionAcceptedRefusedAndLost) {
    T_TextLocT at = {2, 5}, inSub = {5, 2}, frameStart = {2, 0};
    T_TextRangeT added = {{2, 5}, {2, 7}}, hello = {{2, 0}, {2, 5}}, world = {{2, 6}, {2, 11}};
    T_ElementLocT subAt = {4, 5, 1}, docEnd = {1, 0, 0}, bookEnd = {17, 0, 0};
    char bang[] = "!!", old[] = "Old", chapter[] = "ch1.doc", grid[] = "Grid";
    char lang[] = "Lang", kind[] = "Kind", mode[] = "Mode", a[] = "a";
    T_AttributeDefT defItems[2] = {{lang, 0, 0, 0, {}, {}, nullptr, nullptr},
                                   {kind, 0, 0, 0, {}, {}, nullptr, nullptr}};
    T_AttributeDefsT defs = {2, defItems};
    char *modeValues[] = {a};
    T_AttributeT attrItems[1] = {{mode, {1, modeValues}, 0, 0}};
    T_AttributesT attrs = {1, attrItems};
    const std::string zeroLoc = "(0,0)", empty = "null";
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
        GET(T_ApiGetElementCatalog, 1285, (1), "[3:3]", empty, xdr_ApiTnGetPropArgT, 1, 1, {1488, nullptr}),
        GET(T_ApiGetAttributeDefs, 1400, (1, 3), "[Lang]", empty, xdr_ApiTnGetPropArgT, 1, 3, {1584, nullptr}),
        SET(T_ApiSetAttributeDefs, 1401, (1, 3, &defs), xdr_ApiTnSetAttributeDefsArgT, 1, 3, {1584, nullptr}, defs),
        GET(T_ApiGetAttributes, 1402, (1, 4), R"([Lang=["en"] Old=["x"]])", empty, xdr_ApiTnGetPropArgT, 1, 4,
            {1634, nullptr}),
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
        GET(T_ApiNewElement, 1108, (1, 3, &inSub), "20u", "0u", xdr_ApiTnNewElementArgT, 1, 3, inSub),
        GET(T_ApiNewElementInHierarchy, 1111, (1, 3, &docEnd), "21u", "0u", xdr_ApiTnNewElementInHierarchyArgT, 1, 3,
            docEnd),
        GET(T_ApiNewBookComponentInHierarchy, 1112, (17, chapter, &bookEnd), "22u", "0u",
            xdr_ApiTnNewBookComponentInHierarchyArgT, 17, chapter, bookEnd),
        // Tables. New row 23 with cells 24 and 25, at index 2.
        STATUS(T_ApiAddRows, 1200, (1, 7, 2, 1), xdr_ApiTnAddRowsArgT, 1, 7, 2, 1),
        // The column pair travels as zeros.
        STATUS(T_ApiDeleteRows, 1202, (1, 7, 8, 1), xdr_ApiTnCutTablePartsArgT, 1, 7, 8, 1, 0, 0),
        // New cells 26 and 27.
        STATUS(T_ApiAddCols, 1201, (1, 7, 0, 1, 1), xdr_ApiTnAddColumnsArgT, 1, 7, 0, 1, 1),
        STATUS(T_ApiMakeTblSelection, 1203, (1, 7, 0, 1, 0, 2), xdr_ApiTnMakeTableSelectionArgT, 1, 7, 0, 1, 0, 2),
        STATUS(T_ApiStraddleCells, 1204, (1, 12, 2, 2), xdr_ApiTnStraddleCellsArgT, 1, 12, 2, 2, 1),
        // Unstraddling differs only in the fifth field.
        STATUS(T_ApiUnStraddleCells, 1204, (1, 12, 2, 2), xdr_ApiTnStraddleCellsArgT, 1, 12, 2, 2, 0),
        // The row pair travels as zeros.
        STATUS(T_ApiDeleteCols, 1202, (1, 7, 1, 1), xdr_ApiTnCutTablePartsArgT, 1, 7, 0, 0, 1, 1),
        GET(T_ApiNewTable, 1205, (1, grid, 2, 1, 0, 0, &frameStart), "28u", "0u", xdr_ApiTnNewTableArgT, 1, grid, 2, 1,
            0, 0, frameStart),
    };
    runCalls(calls, textFixture());
}

const std::string kZero = "(0,0)-(0,0)";

// Document 1 "Helo quick wrld" with text frame 2 "The lazy dog".
const json kDocument = json::parse(R"({"documents": [{"text": "Helo quick wrld",
                                      "objects": [{"key": "frame", "type": 4, "text": "The lazy dog"}]}]})");

// A function with output lists, called with stale lists l1 to l4 and a
// stale count n: its result, then `outs`, what it shows of them.
// clang-format off
#define OUTS(fn, proc, args, outs, accepted, refused, lost, xdr, ...) \
    Call{#fn, proc, [&] { [[maybe_unused]] int n = 99; \
                          [[maybe_unused]] T_StringsT l1 = kStale, l2 = kStale, l3 = kStale, l4 = kStale; \
                          const std::string r = shown(fn args); return r + outs; }, \
         sent(xdr, {__VA_ARGS__}), accepted, refused, true, lost}
// clang-format on

TEST(SpellingCalls, EveryFunctionAcceptedRefusedAndLost) {
    T_TextLocT start = {1, 0};
    T_TextRangeT misspelt = {{1, 0}, {1, 4}};
    T_PropValsT noParams = {0, nullptr};
    T_PropValT text = {{1, nullptr}, {3, {.string = S("lazy")}}};  // property 1: the text to find
    T_PropValsT findLazy = {1, &text};
    runCalls(
        {
            ROW(T_ApiFind, 1087, (1, &start, &findLazy), "(2,4)-(2,8)", kZero, true, kZero, xdr_ApiTnFindArgT, 1, start,
                findLazy),
            OUTS(T_ApiSpell, 1088, (1, &start, &noParams, &n, &l1), " " + std::to_string(n) + " " + list(l1),
                 R"((1,0)-(1,4) 2 ["hello"])", kZero + R"( 0 ["hello"])", kZero + " 0 null", xdr_ApiTnSpellArgT, 1,
                 start, noParams),
            OUTS(T_ApiDictionary, 1408, (1, S("qu"), 0, 0, &l1), " " + list(l1), R"(0 ["quick"])",
                 kRefused + R"( ["quick"])", "-1 null", xdr_ApiTnDictionaryArgT, 1, S("qu"), 0, 0),
            // These two give 0 when lost.
            ROW(T_ApiModifyDictionary, 1409, (1, 2, 1, S("helo")), "0", kRefused, true, "0",
                xdr_ApiTnModifyDictionaryArgT, 1, 2, 1, S("helo")),
            ROW(T_ApiReplaceText, 1407, (1, &misspelt, S("Hello")), "0", kRefused, true, "0", xdr_ApiTnReplaceTextArgT,
                1, misspelt, S("Hello")),
            STATUS(T_ApiResetSpelling, 1410, (1), xdr_ApiTnResetSpellingArgT, 1),
            // The status follows the lists in the reply, and follows the text.
            OUTS(T_ApiThesaurus, 1411, (2, S("quick"), &l1, &l2, &l3, &l4),
                 " " + list(l1) + " " + list(l2) + " " + list(l3) + " " + list(l4),
                 R"(0 ["fast" "rapid"] ["slow"] ["speed"] null)",
                 kRefused + R"( ["fast" "rapid"] ["slow"] ["speed"] null)", "-1 null null null null",
                 xdr_ApiTnThesaurusArgT, 2, S("quick")),
            GET(T_ApiShowHyphenation, 1412, (S("hyphenation")), "\"hy-phen-a-tion\"", "null",
                xdr_ApiTnShowHyphenationArgT, S("hyphenation")),
        },
        kDocument);
}

}  // namespace
}  // namespace requests_test
