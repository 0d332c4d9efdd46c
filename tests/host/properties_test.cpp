// Properties through the protocol: the sample document's object chain, every
// value kind by its own procedures, by-name properties, the error statuses.
#include <gtest/gtest.h>

#include <cstring>

#include "host_process.h"

namespace host_test {
namespace {

json sample() { return {{"documents", {TNHOST_SAMPLE}}}; }

u_int openSample(CLIENT *c) {
    T_PropValsT none{0, nullptr};
    auto r = call(c, api_tn_open_1, xdr_ApiTnOpenRetT,
                  ApiTnOpenArgT{const_cast<char *>("sample.doc"), none});
    return r && r->status == 0 ? r->objId : 0;
}

TEST(HostProperties, SampleChainLeadsToTheAlert) {
    HostProcess h(sample());
    CLIENT *c = h.client();
    ASSERT_TRUE(c);
    u_int doc = openSample(c);
    ASSERT_NE(doc, 0u);
    auto flag = call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byNum(doc, doc, 110));
    ASSERT_TRUE(flag);
    EXPECT_EQ(flag->status, 0);
    EXPECT_EQ(flag->value, 1);

    std::string message;
    int hops = 0;
    auto head = call(c, api_tn_get_id_1, xdr_ApiTnGetIdRetT, byNum(doc, doc, 116));
    ASSERT_EQ(head->status, 0);
    for (u_int obj = head->value; obj != 0 && hops < 10; hops++) {
        std::string name;
        {
            // One reply per stub at a time: the next call reuses its area.
            auto r = call(c, api_tn_get_string_1, xdr_ApiTnGetStringRetT, byNum(doc, obj, 20));
            ASSERT_EQ(r->status, 0);
            name = r->value;
        }
        if (name == "Alert") {
            auto text = call(c, api_tn_get_string_1, xdr_ApiTnGetStringRetT, byNum(doc, obj, 1050));
            message = text->value;
            break;
        }
        auto next = call(c, api_tn_get_id_1, xdr_ApiTnGetIdRetT, byNum(doc, obj, 1051));
        ASSERT_EQ(next->status, 0);
        obj = next->value;
    }
    EXPECT_EQ(message, "Hello from the sample document.");
    EXPECT_EQ(hops, 1);
}

TEST(HostProperties, ErrorsNameTheirCause) {
    HostProcess h(sample());
    CLIENT *c = h.client();
    ASSERT_TRUE(c);
    u_int doc = openSample(c);
    // Wrong kind, missing property, unknown object, unknown document.
    EXPECT_EQ(call(c, api_tn_get_string_1, xdr_ApiTnGetStringRetT, byNum(doc, doc, 110))->status, -6);
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byNum(doc, doc, 999))->status, -3);
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byNum(doc, 4242, 110))->status, -2);
    EXPECT_TRUE(h.sawLine("proc=1064 stub=api_tn_get_int_1 doc=" + std::to_string(doc) +
                          " obj=4242 prop=110 -> reply status=-2"));
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byNum(777, 777, 110))->status, -2);
    // An id is not an int: the kinds are kept apart.
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byNum(doc, doc, 116))->status, -6);
    // The element catalogue is computed and cannot be written.
    auto setCat = call(c, api_tn_set_int_1, xdr_int, ApiTnSetIntArgT{doc, doc, {1488, nullptr}, 3});
    EXPECT_EQ(*setCat, -13);
}

TEST(HostProperties, EveryKindRoundTrips) {
    HostProcess h(sample());
    CLIENT *c = h.client();
    ASSERT_TRUE(c);
    u_int doc = openSample(c);
    char a[] = "one", b[] = "two";
    char *names[] = {a, b};
    T_StringsT strings{2, names};
    ASSERT_EQ(*call(c, api_tn_set_strings_1, xdr_int, ApiTnSetStringsArgT{doc, doc, {500, nullptr}, strings}), 0);
    {
        auto r = call(c, api_tn_get_strings_1, xdr_ApiTnGetStringsRetT, byNum(doc, doc, 500));
        ASSERT_EQ(r->value.count, 2u);
        EXPECT_STREQ(r->value.items[1], "two");
    }
    T_MetricT ms[] = {0x10000, -0x8000};
    ASSERT_EQ(*call(c, api_tn_set_metrics_1, xdr_int, ApiTnSetMetricsArgT{doc, doc, {501, nullptr}, {2, ms}}), 0);
    EXPECT_EQ(call(c, api_tn_get_metrics_1, xdr_ApiTnGetMetricsRetT, byNum(doc, doc, 501))->value.items[1], -0x8000);
    T_PointT pts[] = {{1, 2}, {3, 4}};
    ASSERT_EQ(*call(c, api_tn_set_points_1, xdr_int, ApiTnSetPointsArgT{doc, doc, {502, nullptr}, {2, pts}}), 0);
    EXPECT_EQ(call(c, api_tn_get_points_1, xdr_ApiTnGetPointsRetT, byNum(doc, doc, 502))->value.items[1].y, 4);
    char dot[] = ".";
    T_TabT tabs[] = {{0x240000, 2, dot, 1}};
    ASSERT_EQ(*call(c, api_tn_set_tabs_1, xdr_int, ApiTnSetTabsArgT{doc, doc, {503, nullptr}, {1, tabs}}), 0);
    {
        auto r = call(c, api_tn_get_tabs_1, xdr_ApiTnGetTabsRetT, byNum(doc, doc, 503));
        ASSERT_EQ(r->value.count, 1u);
        EXPECT_STREQ(r->value.items[0].text, ".");
        EXPECT_EQ(r->value.items[0].kind, 2);
    }
    int ints[] = {7, 8, 9};
    ASSERT_EQ(*call(c, api_tn_set_ints_1, xdr_int, ApiTnSetIntsArgT{doc, doc, {504, nullptr}, {3, ints}}), 0);
    EXPECT_EQ(call(c, api_tn_get_ints_1, xdr_ApiTnGetIntsRetT, byNum(doc, doc, 504))->value.items[2], 9);
    T_TextRangeT range{{doc, 1}, {doc, 5}};
    ASSERT_EQ(*call(c, api_tn_set_textrange_1, xdr_int, ApiTnSetTextRangeArgT{doc, doc, {505, nullptr}, range}), 0);
    EXPECT_EQ(call(c, api_tn_get_textrange_1, xdr_ApiTnGetTextRangeRetT, byNum(doc, doc, 505))->value.end.offset, 5);
    ASSERT_EQ(*call(c, api_tn_set_textloc_1, xdr_int, ApiTnSetTextLocArgT{doc, doc, {506, nullptr}, {doc, 3}}), 0);
    EXPECT_EQ(call(c, api_tn_get_textloc_1, xdr_ApiTnGetTextLocRetT, byNum(doc, doc, 506))->value.offset, 3);
    T_ElementRangeT er{{1, 2, 3}, {4, 5, 6}};
    ASSERT_EQ(*call(c, api_tn_set_element_range_1, xdr_int, ApiTnSetElementRangeArgT{doc, doc, {507, nullptr}, er}), 0);
    EXPECT_EQ(call(c, api_tn_get_element_range_1, xdr_ApiTnGetElementRangeRetT, byNum(doc, doc, 507))->value.end.offset, 6);
    ASSERT_EQ(*call(c, api_tn_set_metric_1, xdr_int, ApiTnSetMetricArgT{doc, doc, {508, nullptr}, 0x18000}), 0);
    EXPECT_EQ(call(c, api_tn_get_metric_1, xdr_ApiTnGetMetricRetT, byNum(doc, doc, 508))->value, 0x18000);
    // A kind of the host's own (25) travels as its word through the typed forms.
    T_TypedValT odd{};
    odd.kind = 25;
    odd.u.ival = 77;
    ASSERT_EQ(*call(c, api_tn_set_val_1, xdr_int, ApiTnSetValArgT{doc, doc, {509, nullptr}, odd}), 0);
    {
        auto r = call(c, api_tn_get_val_1, xdr_ApiTnGetValRetT, byNum(doc, doc, 509));
        EXPECT_EQ(r->value.kind, 25);
        EXPECT_EQ(r->value.u.ival, 77);
    }
    // A read with the wrong procedure for a stored list is refused.
    EXPECT_EQ(call(c, api_tn_get_ints_1, xdr_ApiTnGetIntsRetT, byNum(doc, doc, 500))->status, -6);
}

TEST(HostProperties, ByNameAndWholeLists) {
    HostProcess h(sample());
    CLIENT *c = h.client();
    ASSERT_TRUE(c);
    u_int doc = openSample(c);
    char name[] = "Colour";
    ASSERT_EQ(*call(c, api_tn_set_int_1, xdr_int, ApiTnSetIntArgT{doc, doc, {0, name}, 3}), 0);
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byName(doc, doc, "Colour"))->value, 3);
    // Names and numbers are separate: an empty name names nothing.
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byName(doc, doc, "colour"))->status, -3);
    unsigned char bytes[] = {1, 2, 250};
    char blob[] = "Blob";
    ASSERT_EQ(*call(c, api_tn_set_ubytes_1, xdr_int, ApiTnSetUBytesArgT{doc, doc, {0, blob}, {3, bytes}}), 0);
    EXPECT_EQ(call(c, api_tn_get_ubytes_1, xdr_ApiTnGetUBytesRetT, byName(doc, doc, "Blob"))->value.items[2], 250);
    {
        auto all = call(c, api_tn_get_props_1, xdr_ApiTnGetPropsRetT, ApiTnGeneralObjArgT{doc, doc});
        ASSERT_EQ(all->status, 0);
        bool named = false, numbered = false;
        for (u_int i = 0; i < all->props.count; i++) {
            const T_PropIdentT &id = all->props.items[i].ident;
            named = named || (id.num == 0 && std::strcmp(id.name, "Colour") == 0);
            numbered = numbered || id.num == 110;
        }
        EXPECT_TRUE(named && numbered);
    }
    EXPECT_EQ(*call(c, api_tn_delete_prop_1, xdr_int, byName(doc, doc, "Colour")), 0);
    EXPECT_EQ(*call(c, api_tn_delete_prop_1, xdr_int, byName(doc, doc, "Colour")), -3);

    // A list with one bad entry (number 0, no name) stores nothing.
    T_PropValT entries[2] = {};
    entries[0].ident.num = 600;
    entries[0].value.kind = 1;
    entries[1].ident.name = const_cast<char *>("");
    entries[1].value.kind = 1;
    EXPECT_EQ(*call(c, api_tn_set_props_1, xdr_int, ApiTnSetPropsArgT{doc, doc, {2, entries}}), -13);
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byNum(doc, doc, 600))->status, -3);

    // The session object (document 0, object 0) takes progress reports.
    EXPECT_EQ(*call(c, api_tn_set_int_1, xdr_int, ApiTnSetIntArgT{0, 0, {104, nullptr}, 50}), 0);
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byNum(0, 0, 104))->value, 50);
}

TEST(HostProperties, ScenarioRulesStillRefuseAndDrop) {
    HostProcess h(json{{"documents", {TNHOST_SAMPLE}},
                   {"requests", {{{"proc", 1064}, {"status", -77}, {"times", 1}},
                                 {{"proc", 1070}, {"drop", true}}}}});
    CLIENT *c = h.client();
    ASSERT_TRUE(c);
    u_int doc = openSample(c);
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byNum(doc, doc, 110))->status, -77);
    EXPECT_EQ(call(c, api_tn_get_int_1, xdr_ApiTnGetIntRetT, byNum(doc, doc, 110))->status, 0);
    EXPECT_FALSE(call(c, api_tn_get_string_1, xdr_ApiTnGetStringRetT, byNum(doc, doc, 20)));
}

}  // namespace
}  // namespace host_test
