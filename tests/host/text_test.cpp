// Text through the protocol: text items, text properties, find, spelling,
// replacement and the clipboard; element structure and tables; fonts, ghost
// fonts, encodings, the colour palette, dictionaries, the thesaurus and
// hyphenation.
#include <gtest/gtest.h>

#include "host_calls.h"

namespace host_test {
namespace {

struct TextDoc : Host {
    u_int doc = 0;
    explicit TextDoc(const char *text) {
        if (!c) return;
        doc = newDoc();
        call(api_tn_add_text_1, {doc, {doc, 0}, S(text)});
    }
    int select(int b, int e) { return status(api_tn_set_textrange_1, {doc, doc, {72, nullptr}, {{doc, b}, {doc, e}}}); }
    std::string texts(u_int flags) { return Host::texts(doc, doc, flags); }
};

TEST(HostText, ItemsSplitAtRunsThatMoveWithEdits) {
    TextDoc t("abc\ndefgh");
    ASSERT_TRUE(t.c);
    ASSERT_EQ(t.status(api_tn_set_text_val_1, {t.doc, {{t.doc, 5}, {t.doc, 7}}, {30, nullptr}, word(1, 1)}), 0);
    EXPECT_EQ(t.texts(0), "[abc]<2>[d]<4>[ef]<4>[gh]");
    // Ranges across objects or backwards are refused.
    EXPECT_EQ(t.status(api_tn_get_text_for_range_1, {t.doc, {{t.doc, 4}, {t.doc, 2}}, 0}), -8);

    // Text properties: in force inside the run, absent outside; runs move with edits.
    auto at = [&](int offset) { return t.status(api_tn_get_text_val_1, {t.doc, {t.doc, offset}, {30, nullptr}}); };
    EXPECT_EQ(at(6), 0);
    EXPECT_EQ(at(7), -3);
    t.call(api_tn_add_text_1, {t.doc, {t.doc, 0}, S("XX")});
    EXPECT_EQ(at(8), 0);
    EXPECT_EQ(at(6), -3);
}

TEST(HostText, FindReplaceAndSpell) {
    TextDoc t("The quick brown fox jumps over the lazy dogg, the dog");
    ASSERT_TRUE(t.c);
    T_PropValT p[2] = {{{1, nullptr}, {3, {0}}}, {{2, nullptr}, word(1, 0)}};
    p[0].value.u.string = S("the");
    const struct {
        int offset, flags, found;
    } cases[] = {{0, 0, 31}, {0, 1, 0}, {32, 0, 46}, {49, 0, -9}, {49, 4, 46}, {34, 4 | 1, 31}};
    for (const auto &k : cases) {
        p[1].value.u.ival = k.flags;
        auto r = t.call(api_tn_find_1, {t.doc, {t.doc, k.offset}, {2, p}});
        EXPECT_EQ(r->status ? r->status : r->range.begin.offset, k.found) << k.offset << " " << k.flags;
    }
    // Once the one unknown word is replaced, spelling finds nothing.
    EXPECT_EQ(t.status(api_tn_replace_text_1, {t.doc, {{t.doc, 40}, {t.doc, 44}}, S("dog")}), 0);
    auto clean = t.call(api_tn_spell_1, {t.doc, {t.doc, 0}, {0, nullptr}});
    EXPECT_EQ(clean->int1, 0);
    EXPECT_EQ(clean->range.end.offset, 0);
}

TEST(HostText, ClipboardWorksOnTheSelection) {
    TextDoc t("one two three");
    ASSERT_TRUE(t.c);
    EXPECT_EQ(t.status(api_tn_copy_1, {t.doc, 0}), -3);
    t.select(4, 8);
    ASSERT_EQ(t.status(api_tn_cut_1, {t.doc, 0}), 0);
    EXPECT_EQ(t.texts(1), "[one three]");
    EXPECT_NE(api_tn_push_clipboard_1(nullptr, t.c), nullptr);
    t.select(0, 3);
    t.status(api_tn_copy_1, {t.doc, 0});
    ASSERT_EQ(*t.call(api_tn_pop_clipboard_1), 0);
    EXPECT_EQ(*t.call(api_tn_pop_clipboard_1), -11);
    // The popped clipboard ("two ") replaces the selection.
    ASSERT_EQ(t.status(api_tn_paste_1, {t.doc, 0}), 0);
    EXPECT_EQ(t.texts(1), "[two  three]");
}

// A document with definitions "Sec" and "Para" and three top-level paragraphs.
json structured() {
    return json::parse(R"({"documents": [{"name": "s.doc", "objects": [{"key": "sec", "type": 6, "name": "Sec"},
      {"key": "para", "type": 6, "name": "Para", "props": [{"num": 1584, "attribute_defs": [{"name": "Id"}]}]},
      {"key": "a", "type": 7, "parent": "document", "element_def": "para", "text": "Alpha",
       "props": [{"num": 1634, "attributes": [{"name": "Id"}, {"name": "Old"}]}]},
      {"key": "b", "type": 7, "parent": "document", "element_def": "para", "text": "Beta"},
      {"key": "c", "type": 7, "parent": "document", "element_def": "para", "text": "Gamma"}]}]})");
}

struct Structured : Host {
    u_int doc = 0, sec = 0, para = 0, a = 0, b = 0, c3 = 0;
    Structured() : Host(structured()) {
        if (!c) return;
        doc = open("s.doc");
        sec = call(api_tn_get_named_object_1, {doc, 6, S("Sec")})->objId;
        para = call(api_tn_get_named_object_1, {doc, 6, S("Para")})->objId;
        a = call(api_tn_get_unique_object_1, {doc, 7, 3})->objId;
        b = a + 1;
        c3 = a + 2;
    }
    int select(u_int first, u_int last, int offset = 0) {
        return status(api_tn_set_element_range_1, {doc, doc, {73, nullptr}, {{doc, first, offset}, {doc, last, 0}}});
    }
    int op(int *(*stub)(ApiTnGeneralDocArgT *, CLIENT *)) { return status(stub, {doc}); }
    u_int parentOf(u_int obj) { return call(api_tn_textloc_to_elementloc_1, {doc, {obj, 0}})->eloc.parentId; }
};

TEST(HostStructure, AttributesRestructuringAndTables) {
    Structured s;
    ASSERT_TRUE(s.c);
    // "Old" has no definition: it goes; "Id" is defined and stays.
    EXPECT_EQ(s.status(api_tn_delete_undefined_attribute_1, {s.doc, S("old"), 1, 0}), 0);
    EXPECT_EQ(s.status(api_tn_delete_undefined_attribute_1, {s.doc, S("Id"), 0, s.a}), -9);
    {
        auto attrs = s.call(api_tn_get_attributes_1, byNum(s.doc, s.a, 1634));
        ASSERT_EQ(attrs->value.count, 1u);
        EXPECT_STREQ(attrs->value.items[0].name, "Id");
    }
    auto text = [&](u_int obj) { return s.texts(s.doc, obj, 1); };
    // Merge a..b into the first, then split it again after "Alpha".
    ASSERT_EQ(s.select(s.a, s.b), 0);
    ASSERT_EQ(s.op(api_tn_merge_into_first_1), 0);
    EXPECT_EQ(text(s.a), "[AlphaBeta]");
    EXPECT_EQ(s.status(api_tn_object_valid_1, {s.doc, s.b}), -2);
    ASSERT_EQ(s.select(s.a, s.a, 5), 0);
    ASSERT_EQ(s.op(api_tn_split_element_1), 0);
    EXPECT_EQ(text(s.a), "[Alpha]");
    // Wrap c in a section, promote it out and demote it back in; a has nothing before it.
    ASSERT_EQ(s.select(s.c3, s.c3), 0);
    ASSERT_EQ(s.status(api_tn_wrap_element_1, {s.doc, s.sec}), 0);
    u_int wrapper = s.parentOf(s.c3);
    EXPECT_NE(wrapper, s.doc);
    ASSERT_EQ(s.op(api_tn_promote_element_1), 0);
    EXPECT_EQ(s.parentOf(s.c3), s.doc);
    ASSERT_EQ(s.op(api_tn_demote_element_1), 0);
    EXPECT_EQ(s.parentOf(s.c3), wrapper);
    ASSERT_EQ(s.select(s.a, s.a), 0);
    EXPECT_EQ(s.op(api_tn_demote_element_1), -13);
    // Wrapping needs a definition.
    EXPECT_EQ(s.status(api_tn_wrap_element_1, {s.doc, s.b + 1}), -12);
    // A new element before c3 in the wrapper; a location whose child is not the parent's.
    auto made = s.call(api_tn_new_element_in_hierarchy_1, {s.doc, s.para, {wrapper, s.c3, 0}});
    ASSERT_EQ(made->status, 0);
    EXPECT_EQ(s.parentOf(made->objId), wrapper);
    EXPECT_EQ(s.status(api_tn_elementloc_to_textloc_1, {s.doc, {s.doc, s.c3, 0}}), -8);

    // Tables grow, shrink and straddle.
    u_int table = s.call(api_tn_new_table_1, {s.doc, S("Format A"), 3, 2, 1, 0, {s.a, 1}})->objId;
    ASSERT_NE(table, 0u);
    // Rows are the table's first objects after it: heading, body, body; 3 cells each.
    u_int heading = table + 1, cell = heading + 5;  // the first body cell
    auto select = [&](int rows, int cols) {
        return s.status(api_tn_make_table_selection_1, {s.doc, table, 0, rows, 0, cols});
    };
    auto straddle = [&](int rows, int cols, int on) {
        return s.status(api_tn_straddle_cells_1, {s.doc, cell, rows, cols, on});
    };
    auto cut = [&](u_int row, int rows, int col, int cols) {
        return s.status(api_tn_cut_table_parts_1, {s.doc, table, row, rows, col, cols});
    };
    EXPECT_EQ(s.status(api_tn_add_rows_1, {s.doc, table, 3, 2}), 0);
    EXPECT_EQ(s.status(api_tn_add_rows_1, {s.doc, table, 9, 1}), -8);
    EXPECT_EQ(s.status(api_tn_add_columns_1, {s.doc, table, 2, 1, 1}), 0);
    EXPECT_EQ(select(4, 3), 0);
    EXPECT_EQ(select(5, 3), -8);
    // Straddle the first body cell over 2x2, then cut a column: the straddle shrinks to fit.
    EXPECT_EQ(straddle(2, 2, 1), 0);
    EXPECT_EQ(straddle(9, 1, 1), -8);
    EXPECT_EQ(cut(0, 0, 1, 2), 0);
    EXPECT_EQ(select(4, 1), 0);
    EXPECT_EQ(select(4, 2), -8);
    EXPECT_EQ(cut(heading, 1, 0, 0), 0);
    EXPECT_EQ(s.status(api_tn_object_valid_1, {s.doc, heading}), -2);
    // Never the whole table; unstraddle only a straddled cell.
    EXPECT_EQ(cut(0, 0, 0, 2), -13);
    EXPECT_EQ(straddle(0, 0, 0), 0);
    EXPECT_EQ(straddle(0, 0, 0), -13);
    EXPECT_EQ(s.status(api_tn_add_rows_1, {s.doc, s.a, 0, 1}), -12);
}

using HostFonts = HostTest;

// What the host refuses; what it accepts is in the request tests.
TEST_F(HostFonts, UnknownNamesBadGhostFontsColoursAndDictionaries) {
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

    // Dictionaries, the thesaurus and hyphenation.
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
