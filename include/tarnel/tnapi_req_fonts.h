#ifndef TARNEL_TNAPI_REQ_FONTS_H
#define TARNEL_TNAPI_REQ_FONTS_H

#include <tarnel/api_values.h>
#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/* Fonts. The lists are new copies that the caller releases. */
T_FontsT T_ApiFamilyFonts(int family);
T_CombinedFontsT T_ApiCombinedFamilyFonts(unsigned int family);
/* A font name's number: -1 when the host does not know the name (its status
 * in TA_errno), 0 with no reply. 0 is also a valid number, so a caller that
 * must tell set TA_errno to 0 first. */
int T_ApiGetFontFamilyValue(StringT name);
int T_ApiGetFontVariationValue(StringT name);
int T_ApiGetFontWeightValue(StringT name);
int T_ApiGetFontAngleValue(StringT name);
int T_ApiMakeGhostFont(T_FontT *font, StringT s1, StringT s2, StringT s3, StringT s4,
                       T_FontT *font2);

/* Text encodings. T_ApiIsEncodingSupported returns the host's answer, 0 with
 * no reply. */
int T_ApiIsEncodingSupported(StringT encoding);
T_StringsT T_ApiGetSupportedEncodings(void);
StringT T_ApiGetEncodingForFamily(int family);
StringT T_ApiGetEncodingForFont(T_FontT *font);

/* Search and replacement. T_ApiReplaceText returns 0 also with no reply. */
T_TextRangeT T_ApiFind(unsigned int docId, T_TextLocT *loc, T_PropValsT *findParams);
int T_ApiReplaceText(unsigned int docId, T_TextRangeT *range, StringT text);

/* Spelling. The output lists are written on every call (the lists of a
 * refused request as the host sent them, empty lists with no reply); each is
 * new memory for T_ApiDeallocateStrings, and what the variables held before
 * is overwritten without being released. */
T_TextRangeT T_ApiSpell(unsigned int docId, T_TextLocT *loc, T_PropValsT *spellParams,
                        int *outInt, T_StringsT *outList);
int T_ApiDictionary(unsigned int docId, StringT text, int num1, int num2, T_StringsT *outList);
/* 0 also with no reply. */
int T_ApiModifyDictionary(unsigned int docId, int num1, int num2, StringT text);
int T_ApiResetSpelling(unsigned int docId);
int T_ApiThesaurus(int num, StringT word, T_StringsT *list1, T_StringsT *list2,
                   T_StringsT *list3, T_StringsT *list4);
StringT T_ApiShowHyphenation(StringT word);

/* The colour palette. */
int T_ApiChangeColorPalette(unsigned int id1, T_MetricsT *m1, unsigned int id2, T_MetricsT *m2,
                            unsigned int id3, T_MetricsT *m3, unsigned int id4, T_MetricsT *m4,
                            T_MetricsT *m5, unsigned int id5);

TARNEL_END_DECLS

#endif
