// Calls on the host rather than a document: session and client calls,
// notifications and function codes, host services, menus and commands, fonts,
// encodings and the palette; leaving the session with and without a host.
#include <filesystem>

#include "call_table.h"

namespace requests_test {

// Fonts as (family,variation,weight,angle), combined fonts word by word.
static std::string font(const T_FontT &x) { return tuple(x.family, x.variation, x.weight, x.angle); }
static std::string combined(const T_CombinedFontT &x) { return tuple(x.word1, x.word2, x.word3, x.word4); }
static std::string shown(T_FontsT f) { return shown(f, font, T_ApiDeallocateFonts); }
static std::string shown(T_CombinedFontsT f) { return shown(f, combined, T_ApiDeallocateCombinedFonts); }

namespace {

// A length that cannot describe an array never reaches the host; an empty
// list does.
TEST(SessionCalls, FcodesSendsOnlyWhatItCanDescribe) {
    ServedHost host;
    ASSERT_TRUE(host.ready()) << host.text();
    int code = 1;
    const struct { int count, *codes, result; } cases[] = {{-1, &code, -1}, {2, nullptr, -1}, {0, nullptr, 0}};
    for (const auto &k : cases) {
        TA_errno = 0;
        EXPECT_EQ(T_ApiFcodes(k.count, k.codes), k.result) << k.count;
        EXPECT_EQ(TA_errno, k.result);
    }
    EXPECT_EQ(host.argsOf(1014), sent(xdr_ApiTnFcodesArgT, {{0, nullptr}}));
    int sentCount = 0;
    for (const std::string &l : host.lines()) sentCount += l.find(" proc=1014 ") != std::string::npos;
    EXPECT_EQ(sentCount, 1) << host.text();
}

// Leaving the session tears the connection down even without a host (with
// one, end to end in the session folder); a request after it has no reply.
TEST(SessionCalls, DisconnectEndsTheSessionEvenWithoutAHost) {
    ServedHost host;
    ASSERT_TRUE(host.ready()) << host.text();
    host.vanish();
    TA_bailout = 0;
    EXPECT_EQ(T_ApiDisconnectFromSession(), -1);
    EXPECT_EQ(TA_errno, -1);
    EXPECT_EQ(TA_bailout, 1);
    EXPECT_EQ(tarnel_client, nullptr);
    TA_errno = 0;
    EXPECT_TRUE(T_ApiGetInt(0, 0, 200) == 0 && TA_errno == -1);
    TA_bailout = 0;
}

// The accepting host starts with its menu bar (0x40000001) holding File,
// Edit, View and Help (0x40000002 to 0x40000005) and numbers what clients
// define from 0x40000006 on, so the rows build a small menu tree in order.
constexpr unsigned int kTools = 0x40000006, kCount = 0x40000008, kExtras = 0x40000009, kWrap = 0x4000000A,
                       kMore = 0x4000000B;

TEST(HostWideCalls, EveryFunctionAcceptedRefusedAndLost) {
    static int codes[] = {3, 1, 4};
    const std::string cwd = "\"" + std::filesystem::current_path().string() + "\"", zeroId = shown(0u);
    StringT argv[] = {S("-n"), S("hello")};
    T_StringsT args = {2, argv};
    // A ghost family 7 with a weight "Black" (3), shown with Serif regular.
    T_FontT ghost = {7, 0, 3, 0}, serif = {0, 0, 0, 0}, sansBold = {1, 0, 2, 0};
    // Colour slots 11 to 14 in RGB and CMYK, their tints, document 9: every
    // argument distinct, so that any two swapped change what travels.
    T_MetricT red[] = {0x10000, 0, 0}, cyan[] = {0x10000, 0, 0, 0}, grey[] = {0x8000, 0x8000, 0x8000},
              blue[] = {0, 0, 0x10000}, tints[] = {0x10000, 0x8000, 0x4000, 0x2000};
    T_MetricsT m1 = {3, red}, m2 = {4, cyan}, m3 = {3, grey}, m4 = {3, blue}, m5 = {4, tints};
    runCalls(
        {
            // The host serves this process as a client it never launched: it has no
            // number and an empty name, and works in the host's directory.
            NOARG(T_ApiClientNumber, 1340, "-1", kRefused, false, "-1"),
            NOARG(T_ApiClientName, 1341, "\"\"", "\"\"", false, "null"),
            NOARG(T_ApiClientDir, 1342, cwd, cwd, false, "null"),
            ROW(T_ApiSetClientDir, 1344, (S("/tmp")), "0", kRefused, false, "-1", xdr_StringT, S("/tmp")),
            // Shown end to end, where another client can be called.
            GET(T_ApiCallClient, 1016, (S("peer"), S("hi")), "", "0", xdr_ApiTnCallClientArgT, S("peer"), S("hi")),
            ROW(T_ApiReturnValue, 1375, (12), "0", kRefused, false, "0", xdr_int, 12),
            ROW(T_ApiNotification, 1015, (2, 1), "0", kRefused, true, "-1", xdr_ApiTnNotificationArgT, 2, 1),
            ROW(T_ApiFcodes, 1014, (3, codes), "0", kRefused, true, "-1", xdr_ApiTnFcodesArgT, {3, codes}),
            ROW(T_ApiHypertextCommand, 1310, (5, S("gotolink intro")), "0", kRefused, true, "-1",
                xdr_ApiTnHypertextCommandArgT, 5, S("gotolink intro")),
            // Progress goes to property 104 of the session object; whatever
            // happens, TA_errno keeps the caller's value.
            Call{"T_Progress", 1065, [] { return shown(T_Progress(50)); },
                 sent(xdr_ApiTnSetIntArgT, {0, 0, {104, nullptr}, 50}), "0", "-1", false, "-1", true},
            GET(T_ApiGetInt, 1064, (0, 0, 104), "50", "0", xdr_ApiTnGetPropArgT, 0, 0, {104, nullptr}),
            // A sleep reports failure only by handing back its argument.
            NOARG(T_ApiUserCancel, 1372, "1", kRefused, false, "-1"),
            // The reply is empty: a refusal cannot reach it.
            ROW(T_ApiSleep, 1370, (5), "0", "0", false, "5", xdr_int, 5),
            ROW(T_ApiUSleep, 1371, (300), "0", "0", false, "300", xdr_int, 300),
            ROW(T_ApiSystemShell, 1373, (S("ls -l")), "0", kRefused, false, "-1", xdr_StringT, S("ls -l")),
            ROW(T_ApiForkAndExec, 1374, (S("/bin/echo"), &args), "0", kRefused, false, "-1", xdr_ApiTnForkAndExecArgT,
                S("/bin/echo"), args),
            ROW(T_ApiMenuExists, 1003, (S("File")), "1", kRefused, false, "-1", xdr_ApiTnExistsArgT, S("File")),
            ROW(T_ApiShortcutExists, 1004, (S("^T")), "0", kRefused, false, "-1", xdr_ApiTnExistsArgT, S("^T")),
            STATUS(T_ApiAddMenu, 1005, (S(""), S("Tools"), S("Tools")), xdr_ApiTnAddMenuArgT, S(""), S("Tools"),
                   S("Tools")),
            STATUS(T_ApiAddCommand, 1007, (11, S("Tools"), S("Sort"), S("Sort Lines"), S("^T")),
                   xdr_ApiTnAddCommandArgT, 11, S("Tools"), S("Sort"), S("Sort Lines"), S("^T")),
            STATUS(T_ApiRemoveMenu, 1006, (S("Tools"), S("Sort")), xdr_ApiTnRemoveMenuArgT, S("Tools"), S("Sort")),
            GET(T_ApiDefineCommand, 1250, (12, S("Count"), S("Count Words"), S("^K")), shown(kCount), zeroId,
                xdr_ApiTnDefineCommandArgT, 12, S("Count"), S("Count Words"), S("^K")),
            GET(T_ApiDefineMenu, 1251, (S("Extras"), S("Extras")), shown(kExtras), zeroId, xdr_ApiTnDefineMenuArgT,
                S("Extras"), S("Extras")),
            STATUS(T_ApiAddCommandToMenu, 1252, (kExtras, kCount), xdr_ApiTnAddCommandToMenuArgT, kExtras, kCount),
            STATUS(T_ApiAddMenuToMenu, 1253, (kTools, kExtras), xdr_ApiTnAddMenuToMenuArgT, kTools, kExtras),
            GET(T_ApiDefineAndAddCommand, 1254, (13, kExtras, S("Wrap"), S("Wrap Text"), S("")), shown(kWrap), zeroId,
                xdr_ApiTnDefineAndAddCommandArgT, 13, kExtras, S("Wrap"), S("Wrap Text"), S("")),
            GET(T_ApiDefineAndAddMenu, 1255, (kTools, S("More"), S("More")), shown(kMore), zeroId,
                xdr_ApiTnDefineAndAddMenuArgT, kTools, S("More"), S("More")),
            STATUS(T_ApiLoadMenuCustomizationFile, 1256, (S("/etc/passwd"), 1), xdr_ApiTnLoadMenuCustomizationFileArgT,
                   S("/etc/passwd"), 1),
            STATUS(T_ApiAnimateMenu, 1257, (kExtras, kCount, 1, S("Count!"), 0, 1), xdr_ApiTnAnimateMenuArgT, kExtras,
                   kCount, 1, S("Count!"), 0, 1),
            // Searched through the submenus: Tools holds Extras, which holds Count.
            GET(T_ApiMenuItemInMenu, 1258, (kTools, kCount, 1), shown(kExtras), zeroId, xdr_ApiTnMenuItemInMenuArgT,
                kTools, kCount, 1),
            GET(T_ApiFamilyFonts, 1029, (2), "[(2,0,0,0) (2,0,0,2) (2,0,2,0)]", "null", xdr_int, 2),
            GET(T_ApiCombinedFamilyFonts, 1049, (101), "[(101,0,0,0) (101,0,0,2) (101,0,2,0)]", "null",
                xdr_ApiTnCombinedFamilyFontsArgT, 101),
            // A name's number: -1 when refused, 0 when lost.
            ROW(T_ApiGetFontFamilyValue, 1500, (S("Mono")), "2", "-1", true, "0", xdr_StringT, S("Mono")),
            ROW(T_ApiGetFontVariationValue, 1501, (S("Wide")), "2", "-1", true, "0", xdr_StringT, S("Wide")),
            ROW(T_ApiGetFontWeightValue, 1502, (S("Bold")), "2", "-1", true, "0", xdr_StringT, S("Bold")),
            ROW(T_ApiGetFontAngleValue, 1503, (S("Italic")), "1", "-1", true, "0", xdr_StringT, S("Italic")),
            STATUS(T_ApiMakeGhostFont, 1504, (&ghost, S("Ghost"), S(""), S("Black"), nullptr, &serif),
                   xdr_ApiTnMakeGhostFontArgT, ghost, S("Ghost"), S(""), S("Black"), nullptr, serif),
            // The ghost as the host now knows it.
            GET(T_ApiFamilyFonts, 1029, (7), "[(7,0,3,0)]", "null", xdr_int, 7),
            ROW(T_ApiGetFontWeightValue, 1502, (S("Black")), "3", "-1", true, "0", xdr_StringT, S("Black")),
            // A plain result: the refusal's int is the host's answer.
            ROW(T_ApiIsEncodingSupported, 1377, (S("utf-8")), "1", kRefused, false, "0", xdr_StringT, S("utf-8")),
            NOARG(T_ApiGetSupportedEncodings, 1378, R"(["Roman" "Symbol" "ISO-8859-1" "UTF-8"])", "null", true, "null"),
            GET(T_ApiGetEncodingForFamily, 1379, (3), "\"Symbol\"", "null", xdr_int, 3),
            GET(T_ApiGetEncodingForFont, 1380, (&sansBold), "\"Roman\"", "null", xdr_ApiTnGetEncodingForFontArgT,
                sansBold),
            STATUS(T_ApiChangeColorPalette, 1415, (11, &m1, 12, &m2, 13, &m3, 14, &m4, &m5, 9),
                   xdr_ApiTnChangeColorPaletteArgT, 11, m1, 12, m2, 13, m3, 14, m4, m5, 9),
        },
        {{"answers", {{"1372", {{"value", 1}}}}}});
}

}  // namespace
}  // namespace requests_test
