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
    const std::string zero = shown(0u);
    runCalls(
        {
            {"T_ApiNewNamedObject", 1053, [] { return shown(T_ApiNewNamedObject(1, 3, S("Box"))); },
             sent(xdr_ApiTnNewNamedObjArgT, {1, 3, S("Box")}), "2u", zero, true, zero},
            {"T_ApiGetNamedObject", 1051, [] { return shown(T_ApiGetNamedObject(1, 3, S("Box"))); },
             sent(xdr_ApiTnGetNamedObjArgT, {1, 3, S("Box")}), "2u", zero, true, zero},
            {"T_ApiNewGraphicObject", 1052, [] { return shown(T_ApiNewGraphicObject(1, 5, 2)); },
             sent(xdr_ApiTnNewGraphicObjArgT, {1, 5, 2u}), "3u", zero, true, zero},
            // The parent before the type.
            {"T_ApiNewSubObject", 1113, [] { return shown(T_ApiNewSubObject(1, 2, 5)); },
             sent(xdr_ApiTnNewSubObjectArgT, {1, 2u, 5}), "4u", zero, true, zero},
            {"T_ApiNewAnchoredObject", 1054, [] { return shown(T_ApiNewAnchoredObject(1, 3, &at5)); },
             sent(xdr_ApiTnNewAnchoredObjArgT, {1, 3, at5}), "5u", zero, true, zero},
            {"T_ApiNewAnchoredFormattedObject", 1090,
             [] { return shown(T_ApiNewAnchoredFormattedObject(1, 3, S("Figure"), &at0)); },
             sent(xdr_ApiTnNewAnchoredFormattedObjArgT, {1, 3, S("Figure"), at0}), "6u", zero, true, zero},
            {"T_ApiNewSeriesObject", 1055, [] { return shown(T_ApiNewSeriesObject(1, 3, 0)); },
             sent(xdr_ApiTnNewSeriesObjArgT, {1, 3, 0u}), "7u", zero, true, zero},
            // The host numbers a document's objects 1, 2, ... as they are made.
            {"T_ApiGetUniqueObject", 1089, [] { return shown(T_ApiGetUniqueObject(1, 3, 6)); },
             sent(xdr_ApiTnGetUniqueObjArgT, {1, 3, 6}), "7u", zero, true, zero},
            {"T_ApiObjectValid", 1091, [] { return shown(T_ApiObjectValid(1, 7)); },
             sent(xdr_ApiTnGeneralObjArgT, {1, 7}), "1", "0", true, "0"},
            {"T_ApiDelete", 1050, [] { return shown(T_ApiDelete(1, 7)); }, sent(xdr_ApiTnGeneralObjArgT, {1, 7}), "0",
             shown(kRefusal), true, "-1"},
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
