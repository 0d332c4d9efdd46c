// Object calls (created, then found, validated and deleted) and progress
// reports.
#include "call_table.h"

namespace requests_test {
namespace {

// Document 1 with the text "Hello world"; it has no objects, so new ones
// are numbered from 2.
json objectsFixture() { return {{"documents", json::array({{{"name", "objects.doc"}, {"text", "Hello world"}}})}}; }

T_TextLocT at5 = {1, 5}, at0 = {1, 0};

TEST(ObjectCalls, CreatedThenFoundValidatedAndDeleted) {
    runCalls(
        {
            GET(T_ApiNewNamedObject, 1053, (1, 3, S("Box")), "2u", "0u", xdr_ApiTnNewNamedObjArgT, 1, 3, S("Box")),
            GET(T_ApiGetNamedObject, 1051, (1, 3, S("Box")), "2u", "0u", xdr_ApiTnGetNamedObjArgT, 1, 3, S("Box")),
            GET(T_ApiNewGraphicObject, 1052, (1, 5, 2), "3u", "0u", xdr_ApiTnNewGraphicObjArgT, 1, 5, 2u),
            // The parent before the type.
            GET(T_ApiNewSubObject, 1113, (1, 2, 5), "4u", "0u", xdr_ApiTnNewSubObjectArgT, 1, 2u, 5),
            GET(T_ApiNewAnchoredObject, 1054, (1, 3, &at5), "5u", "0u", xdr_ApiTnNewAnchoredObjArgT, 1, 3, at5),
            GET(T_ApiNewAnchoredFormattedObject, 1090, (1, 3, S("Figure"), &at0), "6u", "0u",
                xdr_ApiTnNewAnchoredFormattedObjArgT, 1, 3, S("Figure"), at0),
            GET(T_ApiNewSeriesObject, 1055, (1, 3, 0), "7u", "0u", xdr_ApiTnNewSeriesObjArgT, 1, 3, 0u),
            // The host numbers a document's objects 1, 2, ... as they are made.
            GET(T_ApiGetUniqueObject, 1089, (1, 3, 6), "7u", "0u", xdr_ApiTnGetUniqueObjArgT, 1, 3, 6),
            GET(T_ApiObjectValid, 1091, (1, 7), "1", "0", xdr_ApiTnGeneralObjArgT, 1, 7),
            STATUS(T_ApiDelete, 1050, (1, 7), xdr_ApiTnGeneralObjArgT, 1, 7),
        },
        objectsFixture());
}

// Progress goes to property 104 of the session object; whatever happens,
// TA_errno keeps the caller's value.
TEST(ObjectCalls, ProgressNeverChangesTaErrno) {
    ServedHost host(json::array({{{"proc", 1065}, {"status", kRefusal}, {"times", 1}}}));
    ASSERT_TRUE(host.ready()) << host.text();
    TA_errno = kUntouched;
    EXPECT_EQ(T_Progress(40), -1);
    EXPECT_EQ(TA_errno, kUntouched);
    EXPECT_EQ(T_Progress(50), 0);
    EXPECT_EQ(TA_errno, kUntouched);
    EXPECT_EQ(host.argsOf(1065), sent(xdr_ApiTnSetIntArgT, {0, 0, {104, nullptr}, 50}));
    EXPECT_EQ(T_ApiGetInt(0, 0, 104), 50);
    host.vanish();
    EXPECT_EQ(T_Progress(60), -1);
    EXPECT_EQ(TA_errno, kUntouched);
}

}  // namespace
}  // namespace requests_test
