// Records of the protocol: the catalogue, byte layouts the host relies on,
// and hostile replies.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "records_support.h"

using namespace wiretest;
using tarnel::wire::recordCatalogue;
using tarnel::wire::recordCount;
using tarnel::wire::RecordEntry;

namespace {

const RecordEntry &record(const std::string &name) {
    for (size_t i = 0; i < recordCount; ++i)
        if (name == recordCatalogue[i].name) return recordCatalogue[i];
    throw std::out_of_range(name);
}

char kX[] = "x", kIgnored[] = "ignored", kLoopback[] = "127.0.0.1", kEmpty[] = "";

// Field order is the record's, not the request function's parameter order;
// a null string travels as the empty one; a name travels only with number 0.
TEST(RecordEncoding, Layouts) {
    StringT item = kX;
    EXPECT_EQ(encode(xdr_ApiTnScrollBoxArgT, ApiTnScrollBoxArgT{kText, 3, {1, &item}}), wire({1, "t", 3, 1, 1, "x"}));
    EXPECT_EQ(encode(xdr_ApiTnGetPropArgT, ApiTnGetPropArgT{5, 9, {20, kIgnored}}), wire({5, 9, 20}));
    EXPECT_EQ(encode(xdr_ApiTnGetPropArgT, ApiTnGetPropArgT{5, 9, {0, kAlert}}), wire({5, 9, 0, 5, "Alert"}));
    EXPECT_EQ(encode(xdr_ApiTnAlertArgT, ApiTnAlertArgT{nullptr, 2}), wire({0, 2}));
    EXPECT_EQ(encode(xdr_ApiTnAlertArgT, ApiTnAlertArgT{kEmpty, 2}), wire({0, 2}));
    EXPECT_EQ(encode(xdr_ApiTnOpenRetT, ApiTnOpenRetT{0, 33, nullptr}), wire({0, 33, 0}));
    const Bytes conn = wire({0, 9, "127.0.0.1", 42});
    EXPECT_EQ(encode(xdr_TnRpcApiConnectArgT, TnRpcApiConnectArgT{nullptr, kLoopback, 42}), conn);
    TnRpcApiConnectArgT back;
    ASSERT_TRUE(decode(xdr_TnRpcApiConnectArgT, conn, &back));
    EXPECT_STREQ(back.clientString, "");
    release(xdr_TnRpcApiConnectArgT, &back);
}

TEST(RecordEncoding, RepliesDecode) {
    ApiTnOpenRetT open;
    ASSERT_TRUE(decode(xdr_ApiTnOpenRetT, wire({0, 33, 1, 1, 20, 1, 5}), &open));
    ASSERT_TRUE(open.returned != nullptr && open.returned->count == 1);
    const T_PropValT &entry = open.returned->items[0];
    EXPECT_TRUE(entry.ident.num == 20 && entry.value.kind == 1 && entry.value.u.ival == 5);
    release(xdr_ApiTnOpenRetT, &open);
    EXPECT_EQ(open.returned, nullptr);

    // Replies whose status comes last.
    ApiTnThesaurusRetT thes;
    ASSERT_TRUE(decode(xdr_ApiTnThesaurusRetT, wire({1, 3, "syn", 0, 0, 0, 7}), &thes));
    EXPECT_TRUE(thes.status == 7 && thes.list1.count == 1 && thes.list4.count == 0);
    EXPECT_STREQ(thes.list1.items[0], "syn");
    release(xdr_ApiTnThesaurusRetT, &thes);
    ApiTnShowHyphenationRetT hy;
    ASSERT_TRUE(decode(xdr_ApiTnShowHyphenationRetT, wire({7, "hy-phen", -3}), &hy));
    EXPECT_TRUE(std::string(hy.text) == "hy-phen" && hy.status == -3);
    release(xdr_ApiTnShowHyphenationRetT, &hy);
}

// A complete encoding decodes and every proper prefix of it fails; a count
// beyond the data fails. What was decoded up to a failure is released by
// xdr_free (the sanitizer build reports any leak).
TEST(RecordBadInput, TruncatedRecordsAndHugeCountsFailAndLeakNothing) {
    const struct {
        const char *name;
        Bytes bytes;
        bool complete;
    } cases[] = {
        {"ApiTnOpenRetT", wire({0, 33, 1, 2, 20, 1, 5, 0, 5, "Alert", 6, 2, 1, "a", 2, "bc"}), true},
        {"ApiTnThesaurusRetT", wire({2, 3, "syn", 1, "x", 0, 1, 2, "yz", 0, 7}), true},
        {"ApiTnGetTextRetT", wire({0, 2, 0, 1, 5, "Hello", 10, 2, 42}), true},
        {"ApiTnGetAttributesRetT", wire({0, 1, 1, "n", 2, 1, "a", 0, 0xF1, 1}), true},
        {"ApiTnGetStringsRetT", wire({0, 0x7FFFFFFFu, 1, "a"}), false},
        {"ApiTnGetPropsRetT", wire({0, 0xFFFFFFF0u, 20, 1, 5}), false},
        {"ApiTnOpenRetT", wire({0, 1, 1, 0x40000000u, 0, 5, "Alert"}), false},
        {"ApiTnGetTextRetT", wire({0, 1, 0, 1, 0xFFFFFFF0u, "abcd"}), false},
        {"ApiTnGetAttributesRetT", wire({0, 2, 1, "n", 0x10000000u}), false},
    };
    for (const auto &c : cases) {
        const RecordEntry &t = record(c.name);
        Held whole(t.proc, t.size);
        EXPECT_EQ(decode_any(t.proc, c.bytes, whole.get()), c.complete) << c.name;
        for (size_t len = 0; c.complete && len < c.bytes.size(); ++len) {
            Held b(t.proc, t.size);
            EXPECT_FALSE(decode_any(t.proc, c.bytes, b.get(), len)) << c.name << " length " << len;
        }
    }
}

}  // namespace
