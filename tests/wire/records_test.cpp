// Every record of the protocol: random round trips through the catalogue,
// the byte layouts the host relies on, and hostile replies.
#include <gtest/gtest.h>

#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "records_support.h"

using namespace wiretest;
using tarnel::wire::recordCatalogue;
using tarnel::wire::recordCount;
using tarnel::wire::RecordEntry;

namespace {

// The generated catalogue plus the hand-written value types.
std::vector<RecordEntry> every_type()
{
    std::vector<RecordEntry> all(recordCatalogue, recordCatalogue + recordCount);
#define WIRETEST_ADD(T) all.push_back({#T, reinterpret_cast<xdrproc_t>(&xdr_##T), sizeof(T)});
    TARNEL_WIRE_VALUE_TYPES(WIRETEST_ADD)
#undef WIRETEST_ADD
    return all;
}

const RecordEntry &record(const std::string &name)
{
    for (std::size_t i = 0; i < recordCount; ++i)
        if (name == recordCatalogue[i].name)
            return recordCatalogue[i];
    throw std::out_of_range(name);
}

Bytes str(std::string_view s) { return Bytes(s.begin(), s.end()); }

TEST(RecordCatalogue, NamesEveryRecordOnce)
{
    EXPECT_EQ(recordCount, 170u); // 162 request/reply, 6 callback, 2 connection
    std::set<std::string> names;
    for (std::size_t i = 0; i < recordCount; ++i)
        EXPECT_TRUE(names.insert(recordCatalogue[i].name).second) << recordCatalogue[i].name;
    for (const char *n : {"TnApiInitArgT", "Tn4ApiNotifyArgT", "TnApiNotifyArgT",
                          "TnApiCommandArgT", "TnApiMessageArgT", "TnApiDialogEventArgT",
                          "TnRpcApiConnectArgT", "TnRpcApiConnectReturnT",
                          "oldApiTnChooseFileArgT", "ApiTnChangeColorPaletteArgT"})
        EXPECT_EQ(names.count(n), 1u) << n;
}

TEST(RecordRoundTrip, EveryTypeFromRandomData)
{
    for (const RecordEntry &t : every_type()) {
        SCOPED_TRACE(t.name);
        for (uint32_t seed = 1; seed <= 12; ++seed) {
            Held a(t.proc, t.size), b(t.proc, t.size);
            ASSERT_TRUE(random_fill(t.proc, a.get(), seed));
            Bytes first, second;
            ASSERT_TRUE(encode_any(t.proc, a.get(), &first));
            std::size_t used = 0;
            ASSERT_TRUE(decode_any(t.proc, first, b.get(), SIZE_MAX, &used));
            EXPECT_EQ(used, first.size());
            ASSERT_TRUE(encode_any(t.proc, b.get(), &second));
            ASSERT_EQ(first, second) << "seed " << seed;
        }
    }
}

TEST(RecordEncoding, PropertyByNumberOrByName)
{
    ApiTnGetPropArgT by_number{5, 9, {20, const_cast<char *>("ignored")}};
    EXPECT_EQ(encode(xdr_ApiTnGetPropArgT, &by_number), words({5, 9, 20}));
    ApiTnGetPropArgT by_name{5, 9, {0, const_cast<char *>("Alert")}};
    EXPECT_EQ(encode(xdr_ApiTnGetPropArgT, &by_name),
              words({5, 9, 0, 5}) + str(std::string_view("Alert\0\0\0", 8)));
}

TEST(RecordEncoding, OptionalReturnedList)
{
    ApiTnOpenRetT none{0, 33, nullptr};
    EXPECT_EQ(encode(xdr_ApiTnOpenRetT, &none), words({0, 33, 0}));

    ApiTnOpenRetT back;
    ASSERT_TRUE(decode(xdr_ApiTnOpenRetT, words({0, 33, 1, 1, 20, 1, 5}), &back));
    ASSERT_NE(back.returned, nullptr);
    ASSERT_EQ(back.returned->count, 1u);
    EXPECT_EQ(back.returned->items[0].ident.num, 20);
    EXPECT_EQ(back.returned->items[0].value.kind, 1);
    EXPECT_EQ(back.returned->items[0].value.u.ival, 5);
    release(xdr_ApiTnOpenRetT, &back);
    EXPECT_EQ(back.returned, nullptr);
}

TEST(RecordEncoding, StatusLastReplies)
{
    ApiTnThesaurusRetT thes;
    ASSERT_TRUE(decode(xdr_ApiTnThesaurusRetT,
                       words({1, 3}) + str(std::string_view("syn\0", 4)) + words({0, 0, 0, 7}),
                       &thes));
    EXPECT_EQ(thes.status, 7);
    ASSERT_EQ(thes.list1.count, 1u);
    EXPECT_STREQ(thes.list1.items[0], "syn");
    EXPECT_EQ(thes.list4.count, 0u);
    release(xdr_ApiTnThesaurusRetT, &thes);

    ApiTnShowHyphenationRetT hy;
    ASSERT_TRUE(decode(xdr_ApiTnShowHyphenationRetT,
                       words({7}) + str(std::string_view("hy-phen\0", 8)) + words({0xfffffffdu}),
                       &hy));
    EXPECT_STREQ(hy.text, "hy-phen");
    EXPECT_EQ(hy.status, -3);
    release(xdr_ApiTnShowHyphenationRetT, &hy);
}

TEST(RecordEncoding, NullStringTravelsAsEmpty)
{
    ApiTnAlertArgT null_text{nullptr, 2};
    ApiTnAlertArgT empty_text{const_cast<char *>(""), 2};
    EXPECT_EQ(encode(xdr_ApiTnAlertArgT, &null_text), words({0, 2}));
    EXPECT_EQ(encode(xdr_ApiTnAlertArgT, &empty_text), words({0, 2}));
    EXPECT_EQ(null_text.message, nullptr); // the caller's field is untouched

    TnRpcApiConnectArgT conn{nullptr, const_cast<char *>("127.0.0.1"), 42};
    Bytes wire = encode(xdr_TnRpcApiConnectArgT, &conn);
    EXPECT_EQ(wire, words({0, 9}) + str(std::string_view("127.0.0.1\0\0\0", 12)) + words({42}));
    TnRpcApiConnectArgT back;
    ASSERT_TRUE(decode(xdr_TnRpcApiConnectArgT, wire, &back));
    ASSERT_NE(back.clientString, nullptr);
    EXPECT_STREQ(back.clientString, "");
    release(xdr_TnRpcApiConnectArgT, &back);
}

// The record's field order, not the request function's parameter order.
TEST(RecordEncoding, ScrollBoxCarriesItsIntBeforeTheList)
{
    StringT item = const_cast<char *>("x");
    ApiTnScrollBoxArgT box{const_cast<char *>("t"), 3, {1, &item}};
    EXPECT_EQ(encode(xdr_ApiTnScrollBoxArgT, &box),
              words({1}) + str(std::string_view("t\0\0\0", 4)) + words({3, 1, 1}) +
                  str(std::string_view("x\0\0\0", 4)));
}

// Every proper prefix of a complete encoding must fail to decode, and what
// was decoded up to the failure must be released by xdr_free (the sanitizer
// build reports any leak).
TEST(RecordBadInput, TruncatedRecordsFailAndLeakNothing)
{
    for (const char *name : {"ApiTnSpellRetT", "ApiTnGetAttributeDefsRetT", "ApiTnGetTextRetT",
                             "ApiTnOpenRetT", "ApiTnThesaurusRetT", "ApiTnSetTextPropArgT",
                             "ApiTnGetElementCatalogRetT", "ApiTnMakeGhostFontArgT"}) {
        SCOPED_TRACE(name);
        const RecordEntry &t = record(name);
        Bytes full;
        for (uint32_t seed = 1; full.size() < 48; ++seed) {
            Held a(t.proc, t.size);
            ASSERT_TRUE(random_fill(t.proc, a.get(), seed));
            ASSERT_TRUE(encode_any(t.proc, a.get(), &full));
        }
        for (std::size_t len = 0; len < full.size(); ++len) {
            Held b(t.proc, t.size);
            EXPECT_FALSE(decode_any(t.proc, full, b.get(), len)) << "length " << len;
        }
    }
}

TEST(RecordBadInput, CountsBeyondTheDataFailCleanly)
{
    struct Case {
        const char *record;
        Bytes wire;
    };
    const Case cases[] = {
        {"ApiTnGetStringsRetT", words({0, 0x7fffffffu, 1}, std::string_view("a\0\0\0", 4))},
        {"ApiTnGetPropsRetT", words({0, 0xfffffff0u, 20, 1, 5})},
        {"ApiTnOpenRetT", words({0, 1, 1, 0x40000000u, 0, 5}, std::string_view("Alert\0\0\0", 8))},
        {"ApiTnGetTextRetT", words({0, 1, 0, 1, 0xfffffff0u}, "abcd")},
        {"ApiTnGetAttributesRetT", words({0, 2, 1}, std::string_view("n\0\0\0", 4)) +
                                       words({0x10000000u})},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.record);
        const RecordEntry &t = record(c.record);
        Held b(t.proc, t.size);
        EXPECT_FALSE(decode_any(t.proc, c.wire, b.get()));
    }
}

} // namespace
