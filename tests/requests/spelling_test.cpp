// Find, replacement and the spelling calls. The calls with output lists
// write them on every outcome: a refusal delivers the lists the host sent, a
// lost call empty lists; each row starts from stale variables to show it.
#include "call_table.h"

namespace requests_test {

// What an output list holds before the call: a call must replace it.
static char kStaleWord[] = "stale";
static char *kStaleItems[] = {kStaleWord};
static constexpr T_StringsT kStale = {1, kStaleItems};

// The stale list untouched, or the list the call wrote.
static std::string list(T_StringsT l) { return l.items == kStaleItems ? "stale" : shown(l); }

namespace {

const std::string kZero = "(0,0)-(0,0)";

// Document 1 "Helo quick wrld" with text frame 2 "The lazy dog".
const json kDocument = {
    {"documents",
     {{{"text", "Helo quick wrld"}, {"objects", {{{"key", "frame"}, {"type", 4}, {"text", "The lazy dog"}}}}}}}};

// The thesaurus's result and its four lists, from stale variables.
std::string thesaurus(int limit, const char *word) {
    T_StringsT l1 = kStale, l2 = kStale, l3 = kStale, l4 = kStale;
    std::string result = shown(T_ApiThesaurus(limit, S(word), &l1, &l2, &l3, &l4));
    return result + " " + list(l1) + " " + list(l2) + " " + list(l3) + " " + list(l4);
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
                 return range + " " + std::to_string(unknown) + " " + list(suggestions);
             },
             sent(xdr_ApiTnSpellArgT, {1, start, noParams}), R"((1,0)-(1,4) 2 ["hello"])", kZero + R"( 0 ["hello"])",
             true, kZero + " 0 null"},
            {"Dictionary", 1408,
             [] {
                 T_StringsT found = kStale;
                 std::string result = shown(T_ApiDictionary(1, S("qu"), 0, 0, &found));
                 return result + " " + list(found);
             },
             sent(xdr_ApiTnDictionaryArgT, {1, S("qu"), 0, 0}), R"(0 ["quick"])", kRefused + R"( ["quick"])", true,
             "-1 null"},
            status(
                "ModifyDictionary", 1409, [] { return T_ApiModifyDictionary(1, 2, 1, S("helo")); },
                sent(xdr_ApiTnModifyDictionaryArgT, {1, 2, 1, S("helo")}), "0"),
            status(
                "ReplaceText", 1407, [&] { return T_ApiReplaceText(1, &misspelt, S("Hello")); },
                sent(xdr_ApiTnReplaceTextArgT, {1, misspelt, S("Hello")}), "0"),
            STATUS(T_ApiResetSpelling, 1410, (1), xdr_ApiTnResetSpellingArgT, 1),
            // The status follows the lists in the reply, and follows the text.
            {"Thesaurus", 1411, [] { return thesaurus(2, "quick"); }, sent(xdr_ApiTnThesaurusArgT, {2, S("quick")}),
             R"(0 ["fast" "rapid"] ["slow"] ["speed"] null)", kRefused + R"( ["fast" "rapid"] ["slow"] ["speed"] null)",
             true, "-1 null null null null"},
            GET(T_ApiShowHyphenation, 1412, (S("hyphenation")), "\"hy-phen-a-tion\"", "null",
                xdr_ApiTnShowHyphenationArgT, S("hyphenation")),
        },
        kDocument);
}

}  // namespace
}  // namespace requests_test
