// Fonts, font names and text encodings.
#include "call.h"

using namespace tarnel::requests;

namespace {

// A font name's number. Unlike other value results a refusal returns -1, so
// that it differs from font number 0; no reply still returns 0.
int fontValue(ApiTnGetIntRetT *(*stub)(StringT *, CLIENT *), StringT name) {
    ApiTnGetIntRetT *reply = send(stub, &name);
    if (reply == nullptr) return 0;
    int result = reply->value;
    if (reply->status != 0) {
        TA_errno = reply->status;
        result = -1;
    }
    release(reply);
    return result;
}

}  // namespace

extern "C" {

T_FontsT T_ApiFamilyFonts(int family) {
    return record(api_tn_family_fonts_1, &family, &ApiTnFamilyFontsRetT::fonts);
}

T_CombinedFontsT T_ApiCombinedFamilyFonts(unsigned int family) {
    ApiTnCombinedFamilyFontsArgT a = {family};
    return record(api_tn_combined_family_fonts_1, &a, &ApiTnCombinedFamilyFontsRetT::fonts);
}

int T_ApiGetFontFamilyValue(StringT name) { return fontValue(api_tn_get_font_family_value_1, name); }

int T_ApiGetFontVariationValue(StringT name) { return fontValue(api_tn_get_font_variation_value_1, name); }

int T_ApiGetFontWeightValue(StringT name) { return fontValue(api_tn_get_font_weight_value_1, name); }

int T_ApiGetFontAngleValue(StringT name) { return fontValue(api_tn_get_font_angle_value_1, name); }

int T_ApiMakeGhostFont(T_FontT *font, StringT s1, StringT s2, StringT s3, StringT s4, T_FontT *font2) {
    ApiTnMakeGhostFontArgT a = {headerOf(font), s1, s2, s3, s4, headerOf(font2)};
    return status(api_tn_make_ghost_font_1, &a);
}

int T_ApiIsEncodingSupported(StringT encoding) { return plain(api_tn_is_encoding_supported_1, &encoding, 0); }

T_StringsT T_ApiGetSupportedEncodings(void) {
    return record(api_tn_get_supported_encodings_1, &ApiTnGetStringsRetT::value);
}

StringT T_ApiGetEncodingForFamily(int family) {
    return value(api_tn_get_encoding_for_family_1, &family, &ApiTnGetStringRetT::value);
}

StringT T_ApiGetEncodingForFont(T_FontT *font) {
    ApiTnGetEncodingForFontArgT a = {headerOf(font)};
    return value(api_tn_get_encoding_for_font_1, &a, &ApiTnGetStringRetT::value);
}
}
