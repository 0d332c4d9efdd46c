// Find, text replacement and the colour palette.
#include "call.h"

using namespace tarnel::requests;

extern "C" {

T_TextRangeT T_ApiFind(unsigned int docId, T_TextLocT *loc, T_PropValsT *findParams) {
    ApiTnFindArgT a = {docId, headerOf(loc), headerOf(findParams)};
    return value(api_tn_find_1, &a, &ApiTnFindRetT::range);
}

// 0, not -1, with no reply: only TA_errno tells that from success.
int T_ApiReplaceText(unsigned int docId, T_TextRangeT *range, StringT text) {
    ApiTnReplaceTextArgT a = {docId, headerOf(range), text};
    return status(api_tn_replace_text_1, &a, 0);
}

int T_ApiChangeColorPalette(unsigned int id1, T_MetricsT *m1, unsigned int id2, T_MetricsT *m2, unsigned int id3,
                            T_MetricsT *m3, unsigned int id4, T_MetricsT *m4, T_MetricsT *m5, unsigned int id5) {
    ApiTnChangeColorPaletteArgT a = {id1,          headerOf(m1), id2,          headerOf(m2), id3,
                                     headerOf(m3), id4,          headerOf(m4), headerOf(m5), id5};
    return status(api_tn_change_color_palette_1, &a);
}
}
