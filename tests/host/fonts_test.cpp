// Fonts, ghost fonts, encodings, the colour palette, dictionaries, the
// thesaurus and hyphenation, through the protocol against a running tnhost.
#include <gtest/gtest.h>

#include "host_calls.h"

namespace host_test {
namespace {

using HostFonts = HostTest;
using HostSpelling = HostTest;

// What the host refuses; what it accepts is in the request tests.
TEST_F(HostFonts, UnknownNamesBadGhostFontsAndColours) {
    EXPECT_EQ(status(api_tn_get_font_family_value_1, S("Nope")), -9);
    EXPECT_EQ(status(api_tn_get_font_angle_value_1, S("Slanted")), -9);
    EXPECT_EQ(status(api_tn_family_fonts_1, 42), -9);
    EXPECT_EQ(status(api_tn_get_encoding_for_family_1, 9), -9);
    EXPECT_EQ(status(api_tn_is_encoding_supported_1, S("EBCDIC")), 0);
    const struct {
        T_FontT font;
        const char *family, *angle;
        T_FontT shownWith;
        int refusal;
    } ghosts[] = {
        {{1, 0, 0, 0}, "Other", "", {0, 0, 0, 0}, -13},        // an installed family's number
        {{51, 0, 0, 0}, "Sans", "", {0, 0, 0, 0}, -13},        // an installed family's name
        {{51, 0, 0, 2}, "Hand", "Italic", {0, 0, 0, 0}, -13},  // Italic is angle 1
        {{51, 0, 0, 0}, "Hand", "", {3, 0, 2, 0}, -9},         // substitute not installed
    };
    for (const auto &g : ghosts)
        EXPECT_EQ(status(api_tn_make_ghost_font_1, {g.font, S(g.family), S(""), S(""), S(g.angle), g.shownWith}),
                  g.refusal)
            << g.family;
    EXPECT_EQ(status(api_tn_get_font_family_value_1, S("Hand")), -9);

    // The colour palette: colours 7 and 8 of document 3.
    T_MetricT rgb[] = {0, 0x8000, 0x10000}, cmyk[] = {0x10000, 0, 0, 0x4000}, over[] = {0, 0, 0x10001};
    T_MetricT tints[] = {0x8000, 0x10000};
    const struct {
        T_MetricsT first;
        u_int second;
        T_MetricsT tints;
        int status;
    } palettes[] = {
        {{3, rgb}, 8, {2, tints}, 0},     {{3, over}, 8, {0, nullptr}, -13},  // above full strength
        {{3, rgb}, 8, {1, tints}, -13},                                       // one tint for two colours
        {{3, rgb}, 0, {0, nullptr}, -13},                                     // components for no colour
        {{2, rgb}, 8, {0, nullptr}, -13},                                     // neither RGB nor CMYK
    };
    for (const auto &p : palettes) {
        EXPECT_EQ(status(api_tn_change_color_palette_1, {7, p.first, p.second, {4, cmyk}, 0, {}, 0, {}, p.tints, 3}),
                  p.status);
        if (p.status == 0) { EXPECT_NE(h.lineOf(1415).find(" doc=3 colours=7,8 "), std::string::npos); }
    }
}

TEST_F(HostSpelling, DictionariesThesaurusAndHyphenation) {
    auto dictionary = [&](u_int doc, const char *text, int dict, int mode = 0) {
        auto r = call(api_tn_dictionary_1, {doc, S(text), dict, mode});
        return r->status ? std::vector<std::string>{std::to_string(r->status)} : list(r->items);
    };
    auto modify = [&](int dict, int action, const char *word) {
        return status(api_tn_modifydictionary_1, {7, dict, action, S(word)});
    };
    EXPECT_EQ(dictionary(0, "documnet", 0, 1).at(0), "document");
    EXPECT_EQ(dictionary(0, "", 2), std::vector<std::string>{"-13"});  // a document's, without one

    EXPECT_EQ(modify(2, 1, "Tarnel"), 0);
    EXPECT_EQ(modify(2, 1, "tarnel"), 0);
    EXPECT_EQ(dictionary(7, "", 2), std::vector<std::string>{"tarnel"});
    EXPECT_EQ(dictionary(8, "", 2), std::vector<std::string>{});
    EXPECT_EQ(modify(0, 1, "word"), -13);  // the built-in list is fixed
    EXPECT_EQ(modify(1, 1, "two words"), -13);
    EXPECT_EQ(modify(1, 0, "absent"), -9);
    EXPECT_EQ(status(api_tn_resetspelling_1, {7}), 0);
    EXPECT_EQ(dictionary(7, "", 2), std::vector<std::string>{});

    // A miss: no lists but the near words.
    auto miss = call(api_tn_thesaurus_1, {0, S("bigg")});
    EXPECT_EQ(miss->status, -9);
    EXPECT_EQ(miss->list1.count, 0u);
    EXPECT_EQ(list(miss->list4).at(0), "big");

    auto unknown = call(api_tn_showhyphenation_1, {S("zzz")});
    EXPECT_EQ(unknown->status, -9);
    EXPECT_STREQ(unknown->text, "");
}

}  // namespace
}  // namespace host_test
