/** @file
 * Font, encoding, search, spelling and palette requests. */
#ifndef TARNEL_TNAPI_REQ_FONTS_H
#define TARNEL_TNAPI_REQ_FONTS_H

#include <tarnel/api_values.h>
#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/** @defgroup req_fonts Fonts, encodings, search, spelling and palette
 * @ingroup requests
 * List fonts and translate font names to numbers, make ghost fonts, query
 * text encodings, find and replace text, check spelling (dictionaries,
 * thesaurus, hyphenation) and change the colour palette. Result kinds as in
 * @ref requests.
 *
 * @par Spelling output lists
 * T_ApiSpell(), T_ApiDictionary() and T_ApiThesaurus() write their output
 * lists on every call: the lists of a refused request as the host sent
 * them, empty lists with no reply. Each is new memory for
 * T_ApiDeallocateStrings(); what the variables held before is overwritten
 * without being released.
 * @{ */

/* Fonts. The lists are new copies that the caller releases. */
/** Lists the fonts of a family. Record result.
 * @param family the family number
 * @return a new list (release with T_ApiDeallocateFonts()); empty on failure */
T_FontsT T_ApiFamilyFonts(int family);
/** Lists the combined fonts of a family. Record result.
 * @param family the family number
 * @return a new list (release with T_ApiDeallocateCombinedFonts()); empty on
 *         failure */
T_CombinedFontsT T_ApiCombinedFamilyFonts(unsigned int family);
/** A font family name's number. 0 is also a valid number, so a caller that
 * must tell set #TA_errno to 0 first.
 * @param name the name
 * @return the number; -1 when the host does not know the name (its status in
 *         #TA_errno), 0 with no reply (#TA_errno -1) */
int T_ApiGetFontFamilyValue(StringT name);
/** A font variation name's number; results as T_ApiGetFontFamilyValue().
 * @param name the name
 * @return the number; -1 for an unknown name, 0 with no reply */
int T_ApiGetFontVariationValue(StringT name);
/** A font weight name's number; results as T_ApiGetFontFamilyValue().
 * @param name the name
 * @return the number; -1 for an unknown name, 0 with no reply */
int T_ApiGetFontWeightValue(StringT name);
/** A font angle name's number; results as T_ApiGetFontFamilyValue().
 * @param name the name
 * @return the number; -1 for an unknown name, 0 with no reply */
int T_ApiGetFontAngleValue(StringT name);
/** Makes a ghost font. Status result.
 * @param font,font2 the host's two fonts (null: all zero)
 * @param s1,s2,s3,s4 the host's strings
 * @return 0, the host's status, or -1 */
int T_ApiMakeGhostFont(T_FontT *font, StringT s1, StringT s2, StringT s3, StringT s4, T_FontT *font2);

/* Text encodings. */
/** Plain result.
 * @param encoding the encoding's name
 * @return the host's answer; 0 with no reply */
int T_ApiIsEncodingSupported(StringT encoding);
/** Record result.
 * @return the host's encoding names, a new list (release with
 *         T_ApiDeallocateStrings()); empty on failure */
T_StringsT T_ApiGetSupportedEncodings(void);
/** Value result.
 * @param family the font family number
 * @return the family's encoding name, a new string (release with
 *         T_ApiDeallocateString()); null on failure */
StringT T_ApiGetEncodingForFamily(int family);
/** Value result.
 * @param font the font (null: all zero)
 * @return the font's encoding name, a new string (release with
 *         T_ApiDeallocateString()); null on failure */
StringT T_ApiGetEncodingForFont(T_FontT *font);

/* Search and replacement. */
/** Finds text. Record result.
 * @param docId the document
 * @param loc where to start (null: the zero location)
 * @param findParams the host's find parameters (null: empty)
 * @return the range found; the zero range on failure */
T_TextRangeT T_ApiFind(unsigned int docId, T_TextLocT *loc, T_PropValsT *findParams);
/** Replaces a range of text. Status result, but 0 also with no reply (told
 * apart only by #TA_errno -1).
 * @param docId the document
 * @param range the text to replace (null: the zero range)
 * @param text the new text
 * @return 0, or the host's status */
int T_ApiReplaceText(unsigned int docId, T_TextRangeT *range, StringT text);

/* Spelling. */
/** Checks spelling from a location (parameters: T_ApiGetSpellDefaultParams()).
 * @param docId the document
 * @param loc where to start (null: the zero location)
 * @param spellParams the parameter list (null: empty)
 * @param outInt receives the host's number; 0 on failure
 * @param outList receives the host's list (see Spelling output lists)
 * @return the range the host answers; the zero range on failure (status in
 *         #TA_errno, or -1 with no reply) */
T_TextRangeT T_ApiSpell(unsigned int docId, T_TextLocT *loc, T_PropValsT *spellParams, int *outInt,
                        T_StringsT *outList);
/** Looks a word up in the dictionaries.
 * @param docId the document
 * @param text the word
 * @param num1,num2 the host's numbers
 * @param outList receives the host's list (see Spelling output lists)
 * @return 0, the host's status (also in #TA_errno), or -1 with no reply */
int T_ApiDictionary(unsigned int docId, StringT text, int num1, int num2, T_StringsT *outList);
/** Changes a dictionary. Status result, but 0 also with no reply (told apart
 * only by #TA_errno -1).
 * @param docId the document
 * @param num1,num2 the host's numbers
 * @param text the word
 * @return 0, or the host's status */
int T_ApiModifyDictionary(unsigned int docId, int num1, int num2, StringT text);
/** Resets the spelling check. Status result.
 * @param docId the document
 * @return 0, the host's status, or -1 */
int T_ApiResetSpelling(unsigned int docId);
/** Looks a word up in the thesaurus.
 * @param num the host's number
 * @param word the word
 * @param list1,list2,list3,list4 receive the host's four lists (see
 *        Spelling output lists)
 * @return 0, the host's status (also in #TA_errno), or -1 with no reply */
int T_ApiThesaurus(int num, StringT word, T_StringsT *list1, T_StringsT *list2, T_StringsT *list3, T_StringsT *list4);
/** Shows where a word may be hyphenated. Value result.
 * @param word the word
 * @return the host's hyphenated form, a new string (release with
 *         T_ApiDeallocateString()); null on failure */
StringT T_ApiShowHyphenation(StringT word);

/* The colour palette. */
/** Changes the colour palette; the arguments are sent in order. Status
 * result.
 * @param id1,id2,id3,id4,id5 the host's ids
 * @param m1,m2,m3,m4,m5 the host's value lists (null: empty)
 * @return 0, the host's status, or -1 */
int T_ApiChangeColorPalette(unsigned int id1, T_MetricsT *m1, unsigned int id2, T_MetricsT *m2, unsigned int id3,
                            T_MetricsT *m3, unsigned int id4, T_MetricsT *m4, T_MetricsT *m5, unsigned int id5);

/** @} */

TARNEL_END_DECLS

#endif
