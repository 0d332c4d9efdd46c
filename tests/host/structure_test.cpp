// Element structure and tables through the protocol.
#include <gtest/gtest.h>

#include <cstring>

#include "host_calls.h"

namespace host_test {
namespace {

// A document with definitions "Sec" and "Para" and three top-level paragraphs.
json structured() {
    json para = {{"key", "para"},
                 {"type", 6},
                 {"name", "Para"},
                 {"props", {{{"num", 1584}, {"attribute_defs", {{{"name", "Id"}}}}}}}};
    json doc = {{"name", "s.doc"},
                {"objects",
                 {{{"key", "sec"}, {"type", 6}, {"name", "Sec"}},
                  para,
                  {{"key", "a"},
                   {"type", 7},
                   {"parent", "document"},
                   {"element_def", "para"},
                   {"text", "Alpha"},
                   {"props", {{{"num", 1634}, {"attributes", {{{"name", "Id"}}, {{"name", "Old"}}}}}}}},
                  {{"key", "b"}, {"type", 7}, {"parent", "document"}, {"element_def", "para"}, {"text", "Beta"}},
                  {{"key", "c"}, {"type", 7}, {"parent", "document"}, {"element_def", "para"}, {"text", "Gamma"}}}}};
    return {{"documents", {doc}}};
}

struct Structured {
    ServedHost h;
    CLIENT *c;
    u_int doc = 0, sec = 0, para = 0, a = 0, b = 0, c3 = 0;
    Structured() : h({}, structured()), c(h.client()) {
        if (!c) return;
        doc =
            call(c, api_tn_open_1, xdr_ApiTnOpenRetT, ApiTnOpenArgT{const_cast<char *>("s.doc"), {0, nullptr}})->objId;
        auto named = [&](int type, const char *name) {
            return call(c, api_tn_get_named_object_1, xdr_ApiTnObjRetT,
                        ApiTnGetNamedObjArgT{doc, type, const_cast<char *>(name)})
                ->objId;
        };
        sec = named(6, "Sec");
        para = named(6, "Para");
        a = call(c, api_tn_get_unique_object_1, xdr_ApiTnObjRetT, ApiTnGetUniqueObjArgT{doc, 7, 3})->objId;
        b = a + 1;
        c3 = a + 2;
    }
    int select(u_int first, u_int last, int offset = 0) {
        T_ElementRangeT r{{doc, first, offset}, {doc, last, 0}};
        return *call(c, api_tn_set_element_range_1, xdr_int, ApiTnSetElementRangeArgT{doc, doc, {73, nullptr}, r});
    }
    std::string text(u_int obj) {
        auto r = call(c, api_tn_get_text_1, xdr_ApiTnGetTextRetT, ApiTnGetTextArgT{doc, obj, 1});
        std::string s;
        for (u_int i = 0; i < r->items.count; i++) s += r->items.items[i].data.u.text;
        return s;
    }
    T_ElementLocT where(u_int obj) {
        return call(c, api_tn_textloc_to_elementloc_1, xdr_ApiTnTextLocToElementLocRetT,
                    ApiTnTextLocToElementLocArgT{doc, {obj, 0}})
            ->eloc;
    }
};

TEST(HostStructure, UndefinedAttributesGo) {
    Structured s;
    ASSERT_TRUE(s.c);
    // "Old" has no definition: it goes; "Id" is defined and stays.
    EXPECT_EQ(*call(s.c, api_tn_delete_undefined_attribute_1, xdr_int,
                    ApiTnDeleteUndefinedAttributeArgT{s.doc, const_cast<char *>("old"), 1, 0}),
              0);
    EXPECT_EQ(*call(s.c, api_tn_delete_undefined_attribute_1, xdr_int,
                    ApiTnDeleteUndefinedAttributeArgT{s.doc, const_cast<char *>("Id"), 0, s.a}),
              -9);
    auto attrs = call(s.c, api_tn_get_attributes_1, xdr_ApiTnGetAttributesRetT, byNum(s.doc, s.a, 1634));
    ASSERT_EQ(attrs->value.count, 1u);
    EXPECT_STREQ(attrs->value.items[0].name, "Id");
}

TEST(HostStructure, RestructuringKeepsTextAndOrder) {
    Structured s;
    ASSERT_TRUE(s.c);
    // Merge a..b into the first, then split it again after "Alpha".
    ASSERT_EQ(s.select(s.a, s.b), 0);
    ASSERT_EQ(*call(s.c, api_tn_merge_into_first_1, xdr_int, ApiTnGeneralDocArgT{s.doc}), 0);
    EXPECT_EQ(s.text(s.a), "AlphaBeta");
    EXPECT_EQ(*call(s.c, api_tn_object_valid_1, xdr_int, ApiTnGeneralObjArgT{s.doc, s.b}), -2);
    ASSERT_EQ(s.select(s.a, s.a, 5), 0);
    ASSERT_EQ(*call(s.c, api_tn_split_element_1, xdr_int, ApiTnGeneralDocArgT{s.doc}), 0);
    EXPECT_EQ(s.text(s.a), "Alpha");
    // Wrap c in a section, demote a into... nothing before it: refused.
    ASSERT_EQ(s.select(s.c3, s.c3), 0);
    ASSERT_EQ(*call(s.c, api_tn_wrap_element_1, xdr_int, ApiTnGeneralElementDefArgT{s.doc, s.sec}), 0);
    u_int wrapper = s.where(s.c3).parentId;
    EXPECT_NE(wrapper, s.doc);
    ASSERT_EQ(*call(s.c, api_tn_promote_element_1, xdr_int, ApiTnGeneralDocArgT{s.doc}), 0);
    EXPECT_EQ(s.where(s.c3).parentId, s.doc);
    ASSERT_EQ(*call(s.c, api_tn_demote_element_1, xdr_int, ApiTnGeneralDocArgT{s.doc}), 0);
    EXPECT_EQ(s.where(s.c3).parentId, wrapper);
    ASSERT_EQ(s.select(s.a, s.a), 0);
    EXPECT_EQ(*call(s.c, api_tn_demote_element_1, xdr_int, ApiTnGeneralDocArgT{s.doc}), -13);
    // Wrapping needs a definition.
    EXPECT_EQ(*call(s.c, api_tn_wrap_element_1, xdr_int, ApiTnGeneralElementDefArgT{s.doc, s.b + 1}), -12);
    // A new element before c3 in the wrapper; a location whose child is not the parent's.
    auto made = call(s.c, api_tn_new_element_in_hierarchy_1, xdr_ApiTnObjRetT,
                     ApiTnNewElementInHierarchyArgT{s.doc, s.para, {wrapper, s.c3, 0}});
    ASSERT_EQ(made->status, 0);
    EXPECT_EQ(s.where(made->objId).parentId, wrapper);
    EXPECT_EQ(call(s.c, api_tn_elementloc_to_textloc_1, xdr_ApiTnElementLocToTextLocRetT,
                   ApiTnElementLocToTextLocArgT{s.doc, {s.doc, s.c3, 0}})
                  ->status,
              -8);
}

TEST(HostStructure, TablesGrowShrinkAndStraddle) {
    Structured s;
    ASSERT_TRUE(s.c);
    char fmt[] = "Format A";
    auto t = call(s.c, api_tn_new_table_1, xdr_ApiTnObjRetT, ApiTnNewTableArgT{s.doc, fmt, 3, 2, 1, 0, {s.a, 1}});
    ASSERT_EQ(t->status, 0);
    u_int table = t->objId;
    // Rows are the table's first objects after it: heading, body, body; 3 cells each.
    u_int heading = table + 1, body1 = heading + 4;
    EXPECT_EQ(*call(s.c, api_tn_add_rows_1, xdr_int, ApiTnAddRowsArgT{s.doc, table, 3, 2}), 0);
    EXPECT_EQ(*call(s.c, api_tn_add_rows_1, xdr_int, ApiTnAddRowsArgT{s.doc, table, 9, 1}), -8);
    EXPECT_EQ(*call(s.c, api_tn_add_columns_1, xdr_int, ApiTnAddColumnsArgT{s.doc, table, 2, 1, 1}), 0);
    EXPECT_EQ(*call(s.c, api_tn_make_table_selection_1, xdr_int, ApiTnMakeTableSelectionArgT{s.doc, table, 0, 4, 0, 3}),
              0);
    EXPECT_EQ(*call(s.c, api_tn_make_table_selection_1, xdr_int, ApiTnMakeTableSelectionArgT{s.doc, table, 0, 5, 0, 3}),
              -8);
    // Straddle the first body cell over 2x2, then cut a column: the straddle shrinks to fit.
    u_int cell = body1 + 1;
    EXPECT_EQ(*call(s.c, api_tn_straddle_cells_1, xdr_int, ApiTnStraddleCellsArgT{s.doc, cell, 2, 2, 1}), 0);
    EXPECT_EQ(*call(s.c, api_tn_straddle_cells_1, xdr_int, ApiTnStraddleCellsArgT{s.doc, cell, 9, 1, 1}), -8);
    EXPECT_EQ(*call(s.c, api_tn_cut_table_parts_1, xdr_int, ApiTnCutTablePartsArgT{s.doc, table, 0, 0, 1, 2}), 0);
    EXPECT_EQ(*call(s.c, api_tn_make_table_selection_1, xdr_int, ApiTnMakeTableSelectionArgT{s.doc, table, 0, 4, 0, 1}),
              0);
    EXPECT_EQ(*call(s.c, api_tn_make_table_selection_1, xdr_int, ApiTnMakeTableSelectionArgT{s.doc, table, 0, 4, 0, 2}),
              -8);
    EXPECT_EQ(*call(s.c, api_tn_cut_table_parts_1, xdr_int, ApiTnCutTablePartsArgT{s.doc, table, heading, 1, 0, 0}), 0);
    EXPECT_EQ(*call(s.c, api_tn_object_valid_1, xdr_int, ApiTnGeneralObjArgT{s.doc, heading}), -2);
    // Never the whole table; unstraddle only a straddled cell.
    EXPECT_EQ(*call(s.c, api_tn_cut_table_parts_1, xdr_int, ApiTnCutTablePartsArgT{s.doc, table, 0, 0, 0, 2}), -13);
    EXPECT_EQ(*call(s.c, api_tn_straddle_cells_1, xdr_int, ApiTnStraddleCellsArgT{s.doc, cell, 0, 0, 0}), 0);
    EXPECT_EQ(*call(s.c, api_tn_straddle_cells_1, xdr_int, ApiTnStraddleCellsArgT{s.doc, cell, 0, 0, 0}), -13);
    EXPECT_EQ(*call(s.c, api_tn_add_rows_1, xdr_int, ApiTnAddRowsArgT{s.doc, s.a, 0, 1}), -12);
}

}  // namespace
}  // namespace host_test
