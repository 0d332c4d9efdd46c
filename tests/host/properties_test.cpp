// Properties through the protocol: the error statuses, kinds kept apart,
// by-name properties and bad lists. (Every kind's round trip is in the
// request tests, against this same host.)
#include <gtest/gtest.h>

#include "host_calls.h"

namespace host_test {
namespace {

TEST(HostProperties, ErrorsNameTheirCauseAndNamesAreExact) {
    ServedHost h({}, {{"documents", {TNHOST_SAMPLE}}});
    CLIENT *c = h.client();
    ASSERT_TRUE(c);
    u_int doc = call(c, api_tn_open_1, xdr_ApiTnOpenRetT, ApiTnOpenArgT{S("sample.doc"), {0, nullptr}})->objId;
    // Wrong kind, missing property, unknown object, unknown document.
    EXPECT_EQ(call(c, api_tn_get_string_1, xdr_ApiTnGetStringRetT, byNum(doc, doc, 110))->status, -6);
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byNum(doc, doc, 999))->status, -3);
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byNum(doc, 4242, 110))->status, -2);
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byNum(777, 777, 110))->status, -2);
    // An id is not an int, nor a list of strings a list of ints.
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byNum(doc, doc, 116))->status, -6);
    StringT names[] = {S("one")};
    ASSERT_EQ(*call(c, api_tn_set_strings_1, xdr_int, ApiTnSetStringsArgT{doc, doc, {500, nullptr}, {1, names}}), 0);
    EXPECT_EQ(call(c, api_tn_get_ints_1, xdr_ApiTnGetIntsRetT, byNum(doc, doc, 500))->status, -6);
    // The element catalogue is computed and cannot be written.
    EXPECT_EQ(*call(c, api_tn_set_int_1, xdr_int, ApiTnSetIntArgT{doc, doc, {1488, nullptr}, 3}), -13);
    // A kind of the host's own (25) travels as its word through the typed forms.
    T_TypedValT odd{};
    odd.kind = 25;
    odd.u.ival = 77;
    ASSERT_EQ(*call(c, api_tn_set_val_1, xdr_int, ApiTnSetValArgT{doc, doc, {509, nullptr}, odd}), 0);
    auto r = call(c, api_tn_get_val_1, xdr_ApiTnGetValRetT, byNum(doc, doc, 509));
    EXPECT_EQ(r->value.kind, 25);
    EXPECT_EQ(r->value.u.ival, 77);

    ASSERT_EQ(*call(c, api_tn_set_int_1, xdr_int, ApiTnSetIntArgT{doc, doc, {0, S("Colour")}, 3}), 0);
    // Names are exact, and apart from numbers.
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byName(doc, doc, "colour"))->status, -3);
    EXPECT_EQ(*call(c, api_tn_delete_prop_1, xdr_int, byName(doc, doc, "Colour")), 0);
    EXPECT_EQ(*call(c, api_tn_delete_prop_1, xdr_int, byName(doc, doc, "Colour")), -3);

    // A list with one bad entry (number 0, no name) stores nothing.
    T_PropValT entries[2] = {};
    entries[0].ident.num = 600;
    entries[0].value.kind = 1;
    entries[1].ident.name = S("");
    entries[1].value.kind = 1;
    EXPECT_EQ(*call(c, api_tn_set_props_1, xdr_int, ApiTnSetPropsArgT{doc, doc, {2, entries}}), -13);
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byNum(doc, doc, 600))->status, -3);
}

}  // namespace
}  // namespace host_test
