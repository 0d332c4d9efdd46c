// Documents, objects and properties through the protocol: the scripted
// operations and their status bits, save and reopen, revert, close, export,
// import, book updates; object creation, deletion and the object chain; the
// property error statuses; scenarios that do not load. (Every accepted call
// is in the request tests.)
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "host_calls.h"

namespace host_test {
namespace {

using HostObjects = HostTest;

// The status word (entry 3) of a return-parameter list.
int bits(const T_PropValsT *list) {
    const int i = list ? T_ApiGetPropIndex(list, 3) : -1;
    return i < 0 || list->items[i].value.kind != 13 ? -1 : list->items[i].value.u.ints.items[0];
}

// Missing files and second opens are in the request tests; here what only
// the model knows: a scenario's documents are open already, a missing file
// is made when parameter 1 asks for it, what a book update reports, and what
// a save keeps.
TEST(HostDocuments, OpenUpdateBookSaveRevertCloseExport) {
    json book = json::parse(R"({"name": "manual.book", "book": true,
        "objects": [{"type": 11, "name": "sample.doc"}, {"type": 11, "name": "/no/such/chapter"}]})");
    Host h(json{{"documents", {TNHOST_SAMPLE, book}}});
    ASSERT_TRUE(h.c);
    EXPECT_EQ(bits(h.call(api_tn_open_1, {S("sample.doc"), {0, nullptr}})->returned), 1 << 0 | 1 << 3);
    {
        T_PropValT make = {{1, nullptr}, word(1, 1)};
        auto r = h.call(api_tn_open_1, {S("/nonexistent/file.doc"), {1, &make}});
        EXPECT_EQ(r->status, 0);
        EXPECT_NE(r->objId, 0u);
        EXPECT_EQ(bits(r->returned), 1 << 0 | 1 << 4);
    }
    // A book update lists the components it cannot find.
    {
        auto r = h.call(api_tn_update_book_1, {h.open("manual.book"), {0, nullptr}});
        EXPECT_EQ(r->status, -9);
        ASSERT_TRUE(r->returned);
        EXPECT_EQ(bits(r->returned), 1 << 8);
        const int missing = T_ApiGetPropIndex(r->returned, 4);
        ASSERT_GE(missing, 0);
        EXPECT_EQ(list(r->returned->items[missing].value.u.strings), std::vector<std::string>{"/no/such/chapter"});
    }
    auto notBook = h.call(api_tn_update_book_1, {h.open("sample.doc"), {0, nullptr}});
    EXPECT_EQ(notBook->status, -12);
    EXPECT_EQ(bits(notBook->returned), 1 << 6);
    u_int doc = h.open("sample.doc");
    const std::string tmp = "/tmp/hma_host_test_" + std::to_string(getpid()), saved = tmp + "_saved.json",
                      text = tmp + "_export.txt";
    ASSERT_EQ(h.status(api_tn_set_text_val_1, {doc, {{doc, 0}, {doc, 3}}, {30, nullptr}, word(1, 1)}), 0);
    ASSERT_EQ(h.status(api_tn_save_1, {S(saved.c_str()), doc, {0, nullptr}}), 0);
    // A change, then revert: the saved value comes back under the same id.
    ASSERT_EQ(h.status(api_tn_set_int_1, {doc, doc, {110, nullptr}, 5}), 0);
    EXPECT_EQ(h.status(api_tn_close_1, {doc, 0}), -14);
    ASSERT_EQ(h.status(api_tn_revert_1, {doc}), 0);
    EXPECT_EQ(h.call(api_tn_get_int_1, byNum(doc, doc, 110))->value, 1);
    EXPECT_EQ(h.status(api_tn_get_text_val_1, {doc, {doc, 1}, {30, nullptr}}), 0);
    // References survive the round trip through the file.
    u_int head = h.call(api_tn_get_id_1, byNum(doc, doc, 116))->value;
    u_int next = h.call(api_tn_get_id_1, byNum(doc, head, 1051))->value;
    EXPECT_STREQ(h.call(api_tn_get_string_1, byNum(doc, next, 20))->value, "Alert");

    ASSERT_EQ(h.status(api_tn_export_1, {S(text.c_str()), doc, {0, nullptr}}), 0);
    std::string first;
    std::ifstream in(text);
    std::getline(in, first);
    EXPECT_EQ(first, "A sample document for the alert client.");
    {
        auto bad = h.call(api_tn_import_1, {S(text.c_str()), doc, {doc, 100000}, {0, nullptr}});
        EXPECT_EQ(bad->status, -8);
        EXPECT_EQ(bits(bad->returned), 1 << 9);
    }
    EXPECT_EQ(h.status(api_tn_close_1, {doc, 1}), 0);
    EXPECT_EQ(h.status(api_tn_get_int_1, byNum(doc, doc, 110)), -2);
    // Open by the file name it was saved to: a fresh load.
    EXPECT_EQ(bits(h.call(api_tn_open_1, {S(saved.c_str()), {0, nullptr}})->returned), 1);
    std::remove(saved.c_str());
    std::remove(text.c_str());
}

TEST(HostProperties, ErrorsNameTheirCauseAndNamesAreExact) {
    Host h(json{{"documents", {TNHOST_SAMPLE}}});
    ASSERT_TRUE(h.c);
    u_int doc = h.open("sample.doc");
    // Wrong kind, unknown object, unknown document (a missing property is in
    // the request tests).
    EXPECT_EQ(h.status(api_tn_get_string_1, byNum(doc, doc, 110)), -6);
    EXPECT_EQ(h.status(api_tn_get_int_1, byNum(doc, 4242, 110)), -2);
    EXPECT_EQ(h.status(api_tn_get_int_1, byNum(777, 777, 110)), -2);
    // An id is not an int, nor a list of strings a list of ints.
    EXPECT_EQ(h.status(api_tn_get_int_1, byNum(doc, doc, 116)), -6);
    StringT names[] = {S("one")};
    ASSERT_EQ(h.status(api_tn_set_strings_1, {doc, doc, {500, nullptr}, {1, names}}), 0);
    EXPECT_EQ(h.status(api_tn_get_ints_1, byNum(doc, doc, 500)), -6);
    // The element catalogue is computed and cannot be written.
    EXPECT_EQ(h.status(api_tn_set_int_1, {doc, doc, {1488, nullptr}, 3}), -13);
    // A kind of the host's own (25) travels as its word through the typed forms.
    ASSERT_EQ(h.status(api_tn_set_val_1, {doc, doc, {509, nullptr}, word(25, 77)}), 0);
    auto r = h.call(api_tn_get_val_1, byNum(doc, doc, 509));
    EXPECT_EQ(r->value.kind, 25);
    EXPECT_EQ(r->value.u.ival, 77);

    ASSERT_EQ(h.status(api_tn_set_int_1, {doc, doc, {0, S("Colour")}, 3}), 0);
    // Names are exact, and apart from numbers.
    EXPECT_EQ(h.status(api_tn_get_int_1, byName(doc, doc, "colour")), -3);
    EXPECT_EQ(h.status(api_tn_delete_prop_1, byName(doc, doc, "Colour")), 0);
    EXPECT_EQ(h.status(api_tn_delete_prop_1, byName(doc, doc, "Colour")), -3);

    // A list with one bad entry (number 0, no name) stores nothing.
    T_PropValT entries[2] = {{{600, nullptr}, word(1, 0)}, {{0, S("")}, word(1, 0)}};
    EXPECT_EQ(h.status(api_tn_set_props_1, {doc, doc, {2, entries}}), -13);
    EXPECT_EQ(h.status(api_tn_get_int_1, byNum(doc, doc, 600)), -3);
}

// Creation and lookup of each form are in the request tests; here what
// the host refuses and what a deletion takes with it.
TEST_F(HostObjects, DuplicatesRefusedDeletionsCascadeAnchorsFollowTheirText) {
    u_int doc = newDoc();
    ASSERT_NE(doc, 0u);
    u_int named = call(api_tn_new_named_object_1, {doc, 3, S("Fig")})->objId;
    ASSERT_NE(named, 0u);
    EXPECT_EQ(status(api_tn_new_named_object_1, {doc, 3, S("Fig")}), -13);
    EXPECT_EQ(status(api_tn_get_named_object_1, {doc, 5, S("Fig")}), -9);
    u_int graphic = call(api_tn_new_graphic_object_1, {doc, 3, named})->objId;
    u_int sub = call(api_tn_new_sub_object_1, {doc, graphic, 4})->objId;
    ASSERT_NE(sub, 0u);
    EXPECT_EQ(status(api_tn_new_sub_object_1, {doc, 9999, 4}), -2);
    // Deleting a container deletes what it holds.
    EXPECT_EQ(status(api_tn_delete_1, {doc, named}), 0);
    EXPECT_EQ(status(api_tn_object_valid_1, {doc, sub}), -2);
    EXPECT_EQ(status(api_tn_delete_1, {doc, named}), -2);
    // A document is closed, not deleted; an object of another document is not found.
    EXPECT_EQ(status(api_tn_delete_1, {doc, doc}), -12);
    EXPECT_EQ(status(api_tn_object_valid_1, {newDoc(), graphic}), -2);

    // Anchors follow their text; series objects form the chain.
    doc = newDoc();
    ASSERT_EQ(call(api_tn_add_text_1, {doc, {doc, 0}, S("Hello world")})->loc.offset, 11);
    EXPECT_EQ(status(api_tn_new_anchored_object_1, {doc, 3, {doc, 12}}), -8);
    u_int note = call(api_tn_new_anchored_formatted_object_1, {doc, 3, S("Footnote"), {doc, 6}})->objId;
    ASSERT_NE(note, 0u);
    // Text inserted before the anchor moves it; deleting the text around it removes it.
    call(api_tn_add_text_1, {doc, {doc, 0}, S("Big ")});
    {
        auto items = call(api_tn_get_text_1, {doc, doc, 4});
        ASSERT_EQ(items->items.count, 1u);
        EXPECT_EQ(items->items.items[0].offset, 10);
        EXPECT_EQ(static_cast<u_int>(items->items.items[0].data.u.value), note);
    }
    EXPECT_EQ(status(api_tn_delete_text_1, {doc, {{doc, 8}, {doc, 12}}}), 0);
    EXPECT_EQ(status(api_tn_object_valid_1, {doc, note}), -2);

    // Series objects, in a document of their own, form the object chain.
    doc = newDoc();
    u_int first = call(api_tn_new_series_object_1, {doc, 3, 0})->objId;
    u_int third = call(api_tn_new_series_object_1, {doc, 3, first})->objId;
    u_int second = call(api_tn_new_series_object_1, {doc, 3, first})->objId;
    auto chain = [&] {
        std::vector<u_int> ids;
        for (u_int id = call(api_tn_get_id_1, byNum(doc, doc, 116))->value; id && ids.size() < 10;
             id = call(api_tn_get_id_1, byNum(doc, id, 1051))->value)
            ids.push_back(id);
        return ids;
    };
    EXPECT_EQ(chain(), (std::vector<u_int>{first, second, third}));
    // Deleting a link keeps the chain whole.
    ASSERT_EQ(status(api_tn_delete_1, {doc, second}), 0);
    EXPECT_EQ(chain(), (std::vector<u_int>{first, third}));
    ASSERT_EQ(status(api_tn_delete_1, {doc, first}), 0);
    EXPECT_EQ(chain(), (std::vector<u_int>{third}));
}

// A bad scenario (a document that does not load, an answer a prompt cannot
// take) stops the host at start-up with exit status 2 and a message that
// names the problem.
TEST(HostLoading, BadScenariosStopTheHost) {
    const std::string path = "/tmp/hma_bad_" + std::to_string(getpid()) + ".json";
    std::ofstream(path) << "{\"objects\": [";
    struct Case {
        json documents, answers;
        std::string message;
    } cases[] = {
        {{path}, {}, "documents[0]: " + path + ": line 1, column"},
        {{"/no/such/file.json"}, {}, "/no/such/file.json: cannot read the file"},
        {{json{{"colour", 1}}}, {}, "document: unknown key \"colour\""},
        {{json{{"props", {{{"num", 5}}}}}}, {}, "document.props[0]: has no value"},
        {{json{{"props", {{{"num", 5}, {"int", 1}, {"string", "x"}}}}}}, {}, "gives two values"},
        {{json{{"objects", {{{"key", "a"}, {"props", {{{"num", 1051}, {"id", "nowhere"}}}}}}}}},
         {},
         "no object with key \"nowhere\""},
        {{json{{"objects", {{{"key", "a"}, {"text", "ab"}, {"runs", {{{"begin", 1}, {"end", 3}}}}}}}}},
         {},
         "lies outside the object's text"},
        {{json{{"objects", {{{"anchor", {{"object", "document"}, {"offset", 4}}}}}}}},
         {},
         "is not a location in this document"},
        {{}, {{"1010", {{"value", 3}}}}, "answers.1010"},  // a string prompt has no value
        {{}, {{"1050", {{"status", 0}}}}, "takes answers"},
        {{TNHOST_SAMPLE, json{{"name", "x"}}}, {}, ""},  // good documents load
    };
    for (const Case &c : cases) {
        json scenario = {{"grace_ms", 0}, {"connect_service", {{"run", false}}}, {"steps", json::array()}};
        // One braced element is an array under one compiler and a copy under another.
        if (!c.documents.is_null())
            scenario["documents"] = c.documents.is_array() ? c.documents : json::array({c.documents});
        if (!c.answers.is_null()) scenario["answers"] = c.answers;
        Transcript run = runHost(scenario);
        EXPECT_EQ(run.status, c.message.empty() ? 0 : 2) << c.message << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    std::remove(path.c_str());
}

}  // namespace
}  // namespace host_test
