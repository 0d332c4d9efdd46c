// Font, encoding and palette calls: what travels, and the result when the
// host accepts, refuses or is gone.
#include "call_table.h"

namespace requests_test {

// Fonts as family.variation.weight.angle, combined fonts word by word.
static std::string dotted(int a, int b, int c, int d) {
    return std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c) + "." + std::to_string(d);
}
static std::string font(T_FontT x) { return dotted(x.family, x.variation, x.weight, x.angle); }
static std::string combined(T_CombinedFontT x) { return dotted(x.word1, x.word2, x.word3, x.word4); }
SHOWN_LIST(T_FontsT, font, T_ApiDeallocateFonts)
SHOWN_LIST(T_CombinedFontsT, combined, T_ApiDeallocateCombinedFonts)

namespace {

// A font name's number: -1 when refused, 0 when lost.
Call fontValue(const char *name, int proc, int (*call)(StringT), const char *font, std::string accepted) {
    return Call{name, proc, [call, font] { return shown(call(S(font))); }, sent(xdr_StringT, S(font)), accepted, "-1",
                true, "0"};
}

TEST(FontCalls, EveryFunctionAcceptedRefusedAndLost) {
    // A ghost family 7 with a weight "Black" (3), shown with Serif regular.
    T_FontT ghost = {7, 0, 3, 0}, serif = {0, 0, 0, 0}, sansBold = {1, 0, 2, 0};
    // Colour slots 11 to 14 in RGB and CMYK, their tints, document 9: every
    // argument distinct, so that any two swapped change what travels.
    T_MetricT red[] = {0x10000, 0, 0}, cyan[] = {0x10000, 0, 0, 0}, grey[] = {0x8000, 0x8000, 0x8000},
              blue[] = {0, 0, 0x10000}, tints[] = {0x10000, 0x8000, 0x4000, 0x2000};
    T_MetricsT m1 = {3, red}, m2 = {4, cyan}, m3 = {3, grey}, m4 = {3, blue}, m5 = {4, tints};
    runCalls({
        GET(T_ApiFamilyFonts, 1029, (2), "[2.0.0.0 2.0.0.2 2.0.2.0]", "null", xdr_int, 2),
        GET(T_ApiCombinedFamilyFonts, 1049, (101), "[101.0.0.0 101.0.0.2 101.0.2.0]", "null",
            xdr_ApiTnCombinedFamilyFontsArgT, 101),
        fontValue("GetFontFamilyValue", 1500, T_ApiGetFontFamilyValue, "Mono", "2"),
        fontValue("GetFontVariationValue", 1501, T_ApiGetFontVariationValue, "Wide", "2"),
        fontValue("GetFontWeightValue", 1502, T_ApiGetFontWeightValue, "Bold", "2"),
        fontValue("GetFontAngleValue", 1503, T_ApiGetFontAngleValue, "Italic", "1"),
        STATUS(T_ApiMakeGhostFont, 1504, (&ghost, S("Ghost"), S(""), S("Black"), nullptr, &serif),
               xdr_ApiTnMakeGhostFontArgT, ghost, S("Ghost"), S(""), S("Black"), nullptr, serif),
        // The ghost as the host now knows it.
        row(
            "FamilyFonts ghost", 1029, [] { return shown(T_ApiFamilyFonts(7)); }, sent(xdr_int, 7), "[7.0.3.0]",
            "null"),
        fontValue("GetFontWeightValue ghost", 1502, T_ApiGetFontWeightValue, "Black", "3"),
        // A plain result: the refusal's int is the host's answer.
        {"IsEncodingSupported", 1377, [] { return shown(T_ApiIsEncodingSupported(S("utf-8"))); },
         sent(xdr_StringT, S("utf-8")), "1", kRefused, false, "0"},
        row(
            "GetSupportedEncodings", 1378, [] { return shown(T_ApiGetSupportedEncodings()); }, "",
            R"(["Roman" "Symbol" "ISO-8859-1" "UTF-8"])", "null"),
        GET(T_ApiGetEncodingForFamily, 1379, (3), "\"Symbol\"", "null", xdr_int, 3),
        GET(T_ApiGetEncodingForFont, 1380, (&sansBold), "\"Roman\"", "null", xdr_ApiTnGetEncodingForFontArgT, sansBold),
        STATUS(T_ApiChangeColorPalette, 1415, (11, &m1, 12, &m2, 13, &m3, 14, &m4, &m5, 9),
               xdr_ApiTnChangeColorPaletteArgT, 11, m1, 12, m2, 13, m3, 14, m4, m5, 9),
    });
}

}  // namespace
}  // namespace requests_test
