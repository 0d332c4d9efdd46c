// Documents through the protocol: the scripted operations and their status
// bits, save and reopen, revert, close, export, import and book updates.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "host_calls.h"

namespace host_test {
namespace {

// The status word (entry 3) of a return-parameter list.
int bits(const T_PropValsT *list) {
    for (u_int i = 0; list && i < list->count; i++)
        if (list->items[i].ident.num == 3 && list->items[i].value.kind == 13)
            return list->items[i].value.u.ints.items[0];
    return -1;
}

std::string tempPath(const char *name) { return "/tmp/hma_host_test_" + std::to_string(getpid()) + "_" + name; }

// Missing files and second opens are in the request tests; here what only
// the model knows: a scenario's documents are open already, and a missing
// file is made when parameter 1 asks for it.
TEST(HostDocuments, OpenReportsWhatHappened) {
    ServedHost h({}, json{{"documents", {TNHOST_SAMPLE}}});
    CLIENT *c = h.client();
    ASSERT_TRUE(c);
    EXPECT_EQ(bits(call(c, api_tn_open_1, xdr_ApiTnOpenRetT, ApiTnOpenArgT{S("sample.doc"), {0, nullptr}})->returned),
              1 << 0 | 1 << 3);
    T_PropValT make{};
    make.ident.num = 1;
    make.value.kind = 1;
    make.value.u.ival = 1;
    auto r = call(c, api_tn_open_1, xdr_ApiTnOpenRetT, ApiTnOpenArgT{S("/nonexistent/file.doc"), {1, &make}});
    EXPECT_EQ(r->status, 0);
    EXPECT_NE(r->objId, 0u);
    EXPECT_EQ(bits(r->returned), 1 << 0 | 1 << 4);
}

TEST(HostDocuments, SaveRevertCloseExport) {
    ServedHost h({}, json{{"documents", {TNHOST_SAMPLE}}});
    CLIENT *c = h.client();
    ASSERT_TRUE(c);
    u_int doc = call(c, api_tn_open_1, xdr_ApiTnOpenRetT, ApiTnOpenArgT{S("sample.doc"), {0, nullptr}})->objId;
    std::string saved = tempPath("saved.json"), text = tempPath("export.txt");
    T_TypedValT bold{};
    bold.kind = 1;
    bold.u.ival = 1;
    ASSERT_EQ(
        *call(c, api_tn_set_text_val_1, xdr_int, ApiTnSetTextValArgT{doc, {{doc, 0}, {doc, 3}}, {30, nullptr}, bold}),
        0);
    ASSERT_EQ(call(c, api_tn_save_1, xdr_ApiTnSaveRetT, ApiTnSaveArgT{S(saved.c_str()), doc, {0, nullptr}})->status, 0);
    // A change, then revert: the saved value comes back under the same id.
    ASSERT_EQ(*call(c, api_tn_set_int_1, xdr_int, ApiTnSetIntArgT{doc, doc, {110, nullptr}, 5}), 0);
    EXPECT_EQ(*call(c, api_tn_close_1, xdr_int, ApiTnCloseDocArgT{doc, 0}), -14);
    ASSERT_EQ(*call(c, api_tn_revert_1, xdr_int, ApiTnGeneralDocArgT{doc}), 0);
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byNum(doc, doc, 110))->value, 1);
    EXPECT_EQ(
        call(c, api_tn_get_text_val_1, xdr_ApiTnGetValRetT, ApiTnGetTextPropArgT{doc, {doc, 1}, {30, nullptr}})->status,
        0);
    {
        // References survive the round trip through the file.
        u_int head = call(c, api_tn_get_id_1, xdr_ApiTnGetIdRetT, byNum(doc, doc, 116))->value;
        u_int next = call(c, api_tn_get_id_1, xdr_ApiTnGetIdRetT, byNum(doc, head, 1051))->value;
        auto name = call(c, api_tn_get_string_1, xdr_ApiTnGetStringRetT, byNum(doc, next, 20));
        EXPECT_STREQ(name->value, "Alert");
    }
    {
        ASSERT_EQ(
            call(c, api_tn_export_1, xdr_ApiTnExportRetT, ApiTnExportArgT{S(text.c_str()), doc, {0, nullptr}})->status,
            0);
        std::ifstream in(text);
        std::string first;
        std::getline(in, first);
        EXPECT_EQ(first, "A sample document for the alert client.");
    }
    {
        auto bad = call(c, api_tn_import_1, xdr_ApiTnImportRetT,
                        ApiTnImportArgT{S(text.c_str()), doc, {doc, 100000}, {0, nullptr}});
        EXPECT_EQ(bad->status, -8);
        EXPECT_EQ(bits(bad->returned), 1 << 9);
    }
    EXPECT_EQ(*call(c, api_tn_close_1, xdr_int, ApiTnCloseDocArgT{doc, 1}), 0);
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byNum(doc, doc, 110))->status, -2);
    // Open by the file name it was saved to: a fresh load.
    EXPECT_EQ(bits(call(c, api_tn_open_1, xdr_ApiTnOpenRetT, ApiTnOpenArgT{S(saved.c_str()), {0, nullptr}})->returned),
              1);
    std::remove(saved.c_str());
    std::remove(text.c_str());
}

TEST(HostDocuments, BookUpdateListsMissingComponents) {
    json book = {{"name", "manual.book"},
                 {"book", true},
                 {"objects", {{{"type", 11}, {"name", "sample.doc"}}, {{"type", 11}, {"name", "/no/such/chapter"}}}}};
    ServedHost h({}, json{{"documents", {TNHOST_SAMPLE, book}}});
    CLIENT *c = h.client();
    ASSERT_TRUE(c);
    u_int id = call(c, api_tn_open_1, xdr_ApiTnOpenRetT, ApiTnOpenArgT{S("manual.book"), {0, nullptr}})->objId;
    {
        auto r = call(c, api_tn_update_book_1, xdr_ApiTnUpdateBookRetT, ApiTnUpdateBookArgT{id, {0, nullptr}});
        EXPECT_EQ(r->status, -9);
        ASSERT_TRUE(r->returned);
        EXPECT_EQ(bits(r->returned), 1 << 8);
        bool listed = false;
        for (u_int i = 0; i < r->returned->count; i++)
            if (r->returned->items[i].ident.num == 4)
                listed = r->returned->items[i].value.u.strings.count == 1 &&
                         std::string(r->returned->items[i].value.u.strings.items[0]) == "/no/such/chapter";
        EXPECT_TRUE(listed);
    }
    u_int doc = call(c, api_tn_open_1, xdr_ApiTnOpenRetT, ApiTnOpenArgT{S("sample.doc"), {0, nullptr}})->objId;
    auto notBook = call(c, api_tn_update_book_1, xdr_ApiTnUpdateBookRetT, ApiTnUpdateBookArgT{doc, {0, nullptr}});
    EXPECT_EQ(notBook->status, -12);
    EXPECT_EQ(bits(notBook->returned), 1 << 6);
}

}  // namespace
}  // namespace host_test
