// Objects through the protocol: creation of every form, lookups, validity,
// deletion and the object chain that series objects are linked into.
#include <gtest/gtest.h>

#include "host_calls.h"

namespace host_test {
namespace {

using HostObjects = HostTest;

u_int newDoc(CLIENT *c) {
    auto r = call(c, api_tn_custom_1, xdr_ApiTnCustomDocRetT, ApiTnCustomDocArgT{600, 800, 1, 0, 0, 0, 0, 0, 0, 0});
    return r && r->status == 0 ? r->objId : 0;
}

// Creation and lookup of each form are in the request tests; here what
// the host refuses and what a deletion takes with it.
TEST_F(HostObjects, DuplicatesRefusedDeletionsCascade) {
    u_int doc = newDoc(c);
    ASSERT_NE(doc, 0u);
    u_int named = call(c, api_tn_new_named_object_1, xdr_ApiTnObjRetT, ApiTnNewNamedObjArgT{doc, 3, S("Fig")})->objId;
    ASSERT_NE(named, 0u);
    EXPECT_EQ(call(c, api_tn_new_named_object_1, xdr_ApiTnObjRetT, ApiTnNewNamedObjArgT{doc, 3, S("Fig")})->status,
              -13);
    EXPECT_EQ(call(c, api_tn_get_named_object_1, xdr_ApiTnObjRetT, ApiTnGetNamedObjArgT{doc, 5, S("Fig")})->status, -9);
    u_int graphic =
        call(c, api_tn_new_graphic_object_1, xdr_ApiTnObjRetT, ApiTnNewGraphicObjArgT{doc, 3, named})->objId;
    u_int sub = call(c, api_tn_new_sub_object_1, xdr_ApiTnObjRetT, ApiTnNewSubObjectArgT{doc, graphic, 4})->objId;
    ASSERT_NE(sub, 0u);
    EXPECT_EQ(call(c, api_tn_new_sub_object_1, xdr_ApiTnObjRetT, ApiTnNewSubObjectArgT{doc, 9999, 4})->status, -2);
    // Deleting a container deletes what it holds.
    EXPECT_EQ(*call(c, api_tn_delete_1, xdr_int, ApiTnGeneralObjArgT{doc, named}), 0);
    EXPECT_EQ(*call(c, api_tn_object_valid_1, xdr_int, ApiTnGeneralObjArgT{doc, sub}), -2);
    EXPECT_EQ(*call(c, api_tn_delete_1, xdr_int, ApiTnGeneralObjArgT{doc, named}), -2);
    // A document is closed, not deleted; an object of another document is not found.
    EXPECT_EQ(*call(c, api_tn_delete_1, xdr_int, ApiTnGeneralObjArgT{doc, doc}), -12);
    EXPECT_EQ(*call(c, api_tn_object_valid_1, xdr_int, ApiTnGeneralObjArgT{newDoc(c), graphic}), -2);
}

TEST_F(HostObjects, AnchorsFollowTheirTextSeriesFormTheChain) {
    u_int doc = newDoc(c);
    char hello[] = "Hello world";
    ASSERT_EQ(call(c, api_tn_add_text_1, xdr_ApiTnAddTextRetT, ApiTnAddTextArgT{doc, {doc, 0}, hello})->loc.offset, 11);
    EXPECT_EQ(
        call(c, api_tn_new_anchored_object_1, xdr_ApiTnObjRetT, ApiTnNewAnchoredObjArgT{doc, 3, {doc, 12}})->status,
        -8);
    char fmt[] = "Footnote";
    u_int note = call(c, api_tn_new_anchored_formatted_object_1, xdr_ApiTnObjRetT,
                      ApiTnNewAnchoredFormattedObjArgT{doc, 3, fmt, {doc, 6}})
                     ->objId;
    ASSERT_NE(note, 0u);
    // Text inserted before the anchor moves it; deleting the text around it removes it.
    char big[] = "Big ";
    call(c, api_tn_add_text_1, xdr_ApiTnAddTextRetT, ApiTnAddTextArgT{doc, {doc, 0}, big});
    {
        auto items = call(c, api_tn_get_text_1, xdr_ApiTnGetTextRetT, ApiTnGetTextArgT{doc, doc, 4});
        ASSERT_EQ(items->items.count, 1u);
        EXPECT_EQ(items->items.items[0].offset, 10);
        EXPECT_EQ(static_cast<u_int>(items->items.items[0].data.u.value), note);
    }
    EXPECT_EQ(*call(c, api_tn_delete_text_1, xdr_int, ApiTnGeneralTextRangeArgT{doc, {{doc, 8}, {doc, 12}}}), 0);
    EXPECT_EQ(*call(c, api_tn_object_valid_1, xdr_int, ApiTnGeneralObjArgT{doc, note}), -2);

    // Series objects, in a document of their own, form the object chain.
    doc = newDoc(c);
    u_int first = call(c, api_tn_new_series_object_1, xdr_ApiTnObjRetT, ApiTnNewSeriesObjArgT{doc, 3, 0})->objId;
    u_int third = call(c, api_tn_new_series_object_1, xdr_ApiTnObjRetT, ApiTnNewSeriesObjArgT{doc, 3, first})->objId;
    u_int second = call(c, api_tn_new_series_object_1, xdr_ApiTnObjRetT, ApiTnNewSeriesObjArgT{doc, 3, first})->objId;
    auto chain = [&] {
        std::vector<u_int> ids;
        u_int id = call(c, api_tn_get_id_1, xdr_ApiTnGetIdRetT, byNum(doc, doc, 116))->value;
        while (id && ids.size() < 10) {
            ids.push_back(id);
            id = call(c, api_tn_get_id_1, xdr_ApiTnGetIdRetT, byNum(doc, id, 1051))->value;
        }
        return ids;
    };
    EXPECT_EQ(chain(), (std::vector<u_int>{first, second, third}));
    // Deleting a link keeps the chain whole.
    ASSERT_EQ(*call(c, api_tn_delete_1, xdr_int, ApiTnGeneralObjArgT{doc, second}), 0);
    EXPECT_EQ(chain(), (std::vector<u_int>{first, third}));
    ASSERT_EQ(*call(c, api_tn_delete_1, xdr_int, ApiTnGeneralObjArgT{doc, first}), 0);
    EXPECT_EQ(chain(), (std::vector<u_int>{third}));
}

}  // namespace
}  // namespace host_test
