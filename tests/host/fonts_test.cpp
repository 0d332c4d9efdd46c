// Fonts, ghost fonts, encodings, the colour palette, dictionaries, the
// thesaurus and hyphenation, through the protocol against a running tnhost.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host_calls.h"

namespace host_test {
namespace {

using HostFonts = HostTest;
using HostSpelling = HostTest;

std::vector<std::string> list(const T_StringsT &l) { return {l.items, l.items + l.count}; }

// The number for a name, or the status when the host refuses.
int lookup(CLIENT *c, ApiTnGetIntRetT *(*stub)(StringT *, CLIENT *), const char *name) {
    auto r = call(c, stub, xdr_ApiTnGetIntRetT, S(name));
    return r->status ? r->status : r->value;
}

// What the host refuses; what it accepts is in the request tests.
TEST_F(HostFonts, UnknownNamesBadGhostFontsAndColours) {
    EXPECT_EQ(lookup(c, api_tn_get_font_family_value_1, "Nope"), -9);
    EXPECT_EQ(lookup(c, api_tn_get_font_angle_value_1, "Slanted"), -9);
    EXPECT_EQ(call(c, api_tn_family_fonts_1, xdr_ApiTnFamilyFontsRetT, 42)->status, -9);
    EXPECT_EQ(call(c, api_tn_get_encoding_for_family_1, xdr_ApiTnGetStringRetT, 9)->status, -9);
    EXPECT_EQ(*call(c, api_tn_is_encoding_supported_1, xdr_int, S("EBCDIC")), 0);
    auto ghost = [&](T_FontT font, const char *family, const char *angle, T_FontT shownWith) {
        return *call(c, api_tn_make_ghost_font_1, xdr_int,
                     ApiTnMakeGhostFontArgT{font, S(family), S(""), S(""), S(angle), shownWith});
    };
    EXPECT_EQ(ghost({1, 0, 0, 0}, "Other", "", {0, 0, 0, 0}), -13);        // an installed family's number
    EXPECT_EQ(ghost({51, 0, 0, 0}, "Sans", "", {0, 0, 0, 0}), -13);        // an installed family's name
    EXPECT_EQ(ghost({51, 0, 0, 2}, "Hand", "Italic", {0, 0, 0, 0}), -13);  // Italic is angle 1
    EXPECT_EQ(ghost({51, 0, 0, 0}, "Hand", "", {3, 0, 2, 0}), -9);         // substitute not installed
    EXPECT_EQ(lookup(c, api_tn_get_font_family_value_1, "Hand"), -9);

    // The colour palette.
    T_MetricT rgb[] = {0, 0x8000, 0x10000}, cmyk[] = {0x10000, 0, 0, 0x4000}, over[] = {0, 0, 0x10001};
    T_MetricT tints[] = {0x8000, 0x10000};
    auto change = [&](T_MetricsT first, u_int id2, T_MetricsT second, T_MetricsT tint) {
        return *call(c, api_tn_change_color_palette_1, xdr_int,
                     ApiTnChangeColorPaletteArgT{7, first, id2, second, 0, {}, 0, {}, tint, 3});
    };
    EXPECT_EQ(change({3, rgb}, 8, {4, cmyk}, {2, tints}), 0);
    EXPECT_NE(h.lineOf(1415).find(" doc=3 colours=7,8 "), std::string::npos) << h.lineOf(1415);
    EXPECT_EQ(change({3, over}, 8, {4, cmyk}, {0, nullptr}), -13);  // above full strength
    EXPECT_EQ(change({3, rgb}, 8, {4, cmyk}, {1, tints}), -13);     // one tint for two colours
    EXPECT_EQ(change({3, rgb}, 0, {4, cmyk}, {0, nullptr}), -13);   // components for no colour
    EXPECT_EQ(change({2, rgb}, 8, {4, cmyk}, {0, nullptr}), -13);   // neither RGB nor CMYK
}

TEST_F(HostSpelling, DictionariesThesaurusAndHyphenation) {
    auto dictionary = [&](u_int doc, const char *text, int dict, int mode) {
        auto r = call(c, api_tn_dictionary_1, xdr_ApiTnDictionaryRetT, ApiTnDictionaryArgT{doc, S(text), dict, mode});
        return r->status ? std::vector<std::string>{std::to_string(r->status)} : list(r->items);
    };
    auto modify = [&](u_int doc, int dict, int action, const char *word) {
        return call(c, api_tn_modifydictionary_1, xdr_ApiTnModifyDictionaryRetT,
                    ApiTnModifyDictionaryArgT{doc, dict, action, S(word)})
            ->status;
    };
    EXPECT_EQ(dictionary(0, "documnet", 0, 1).at(0), "document");
    EXPECT_EQ(dictionary(0, "", 2, 0), std::vector<std::string>{"-13"});  // a document's, without one

    EXPECT_EQ(modify(7, 2, 1, "Tarnel"), 0);
    EXPECT_EQ(modify(7, 2, 1, "tarnel"), 0);
    EXPECT_EQ(dictionary(7, "", 2, 0), std::vector<std::string>{"tarnel"});
    EXPECT_EQ(dictionary(8, "", 2, 0), std::vector<std::string>{});
    EXPECT_EQ(modify(7, 0, 1, "word"), -13);  // the built-in list is fixed
    EXPECT_EQ(modify(7, 1, 1, "two words"), -13);
    EXPECT_EQ(modify(7, 1, 0, "absent"), -9);
    EXPECT_EQ(call(c, api_tn_resetspelling_1, xdr_ApiTnResetSpellingRetT, ApiTnResetSpellingArgT{7})->status, 0);
    EXPECT_EQ(dictionary(7, "", 2, 0), std::vector<std::string>{});

    // A miss: no lists but the near words.
    auto miss = call(c, api_tn_thesaurus_1, xdr_ApiTnThesaurusRetT, ApiTnThesaurusArgT{0, S("bigg")});
    EXPECT_EQ(miss->status, -9);
    EXPECT_EQ(miss->list1.count, 0u);
    EXPECT_EQ(list(miss->list4).at(0), "big");

    auto unknown = call(c, api_tn_showhyphenation_1, xdr_ApiTnShowHyphenationRetT, ApiTnShowHyphenationArgT{S("zzz")});
    EXPECT_EQ(unknown->status, -9);
    EXPECT_STREQ(unknown->text, "");
}

}  // namespace
}  // namespace host_test
