// Find, replacement and the spelling calls. The calls with output lists
// write them on every outcome: a refusal delivers the lists the host sent, a
// lost call empty lists; each row starts from stale variables to show it.
#include "call_table.h"

namespace requests_test {

// What an output list holds before the call: a call must replace it.
static char kStaleWord[] = "stale";
static char *kStaleItems[] = {kStaleWord};
static constexpr T_StringsT kStale = {1, kStaleItems};

// A list as [a b], or "-" for the empty list with no items array.
static std::string shown(T_StringsT list) {
    if (list.items == kStaleItems) return "stale";
    if (list.items == nullptr) return list.count == 0 ? "-" : "count without items";
    std::string out = "[";
    for (u_int i = 0; i < list.count; i++) out += (i ? " " : "") + std::string(list.items[i]);
    T_ApiDeallocateStrings(&list);
    return out + "]";
}
static std::string shown(T_TextRangeT r) {
    return "(" + std::to_string(r.begin.objId) + "," + std::to_string(r.begin.offset) + ")-(" +
           std::to_string(r.end.objId) + "," + std::to_string(r.end.offset) + ")";
}

namespace {

const std::string kRefused = std::to_string(kRefusal), kZero = "(0,0)-(0,0)";

// Document 1 "Helo quick wrld" with text frame 2 "The lazy dog".
const json kDocument = {
    {"documents",
     {{{"text", "Helo quick wrld"}, {"objects", {{{"key", "frame"}, {"type", 4}, {"text", "The lazy dog"}}}}}}}};

Call status(const char *name, int proc, std::function<int()> call, std::string args,
            std::string lost = "-1") {
    return Call{name, proc, [call] { return shown(call()); }, args, "0", kRefused, true, lost};
}

// The thesaurus's result and its four lists, from stale variables.
std::string thesaurus(int limit, const char *word) {
    T_StringsT l1 = kStale, l2 = kStale, l3 = kStale, l4 = kStale;
    std::string result = shown(T_ApiThesaurus(limit, S(word), &l1, &l2, &l3, &l4));
    return result + " " + shown(l1) + " " + shown(l2) + " " + shown(l3) + " " + shown(l4);
}

TEST(SpellingCalls, EveryFunctionAcceptedRefusedAndLost) {
    T_TextLocT start = {1, 0};
    T_TextRangeT misspelt = {{1, 0}, {1, 4}};
    T_PropValsT noParams = {0, nullptr};
    T_PropValT text = {{1, nullptr}, {3, {0}}};  // property 1: the text to find
    text.value.u.string = S("lazy");
    T_PropValsT findLazy = {1, &text};
    runCalls(
        {
            {"Find", 1087, [&] { return shown(T_ApiFind(1, &start, &findLazy)); },
             sent(xdr_ApiTnFindArgT, {1, start, findLazy}), "(2,4)-(2,8)", kZero, true, kZero},
            {"Spell", 1088,
             [&] {
                 int unknown = 99;
                 T_StringsT suggestions = kStale;
                 std::string range = shown(T_ApiSpell(1, &start, &noParams, &unknown, &suggestions));
                 return range + " " + std::to_string(unknown) + " " + shown(suggestions);
             },
             sent(xdr_ApiTnSpellArgT, {1, start, noParams}), "(1,0)-(1,4) 2 [hello]",
             kZero + " 0 [hello]", true, kZero + " 0 -"},
            {"Dictionary", 1408,
             [] {
                 T_StringsT found = kStale;
                 std::string result = shown(T_ApiDictionary(1, S("qu"), 0, 0, &found));
                 return result + " " + shown(found);
             },
             sent(xdr_ApiTnDictionaryArgT, {1, S("qu"), 0, 0}), "0 [quick]", kRefused + " [quick]",
             true, "-1 -"},
            status("ModifyDictionary", 1409, [] { return T_ApiModifyDictionary(1, 2, 1, S("helo")); },
                   sent(xdr_ApiTnModifyDictionaryArgT, {1, 2, 1, S("helo")}), "0"),
            status("ReplaceText", 1407, [&] { return T_ApiReplaceText(1, &misspelt, S("Hello")); },
                   sent(xdr_ApiTnReplaceTextArgT, {1, misspelt, S("Hello")}), "0"),
            status("ResetSpelling", 1410, [] { return T_ApiResetSpelling(1); },
                   sent(xdr_ApiTnResetSpellingArgT, {1})),
            // The status follows the lists in the reply, and follows the text.
            {"Thesaurus", 1411, [] { return thesaurus(2, "quick"); },
             sent(xdr_ApiTnThesaurusArgT, {2, S("quick")}), "0 [fast rapid] [slow] [speed] -",
             kRefused + " [fast rapid] [slow] [speed] -", true, "-1 - - - -"},
            {"ShowHyphenation", 1412, [] { return shown(T_ApiShowHyphenation(S("hyphenation"))); },
             sent(xdr_ApiTnShowHyphenationArgT, {S("hyphenation")}), "\"hy-phen-a-tion\"", "null",
             true, "null"},
        },
        kDocument);
}

} // namespace
} // namespace requests_test
