/** @file
 * Character tables of the host encoding and conversions between it and
 * other character sets. */
#ifndef TARNEL_TDE_CHARMAPS_H
#define TARNEL_TDE_CHARMAPS_H

#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/** @defgroup charmaps Character tables and conversions
 * @ingroup foundation
 * Character tables of the host encoding and conversions between it and
 * ASCII, ISO Latin-1, the ANSI code page, the Macintosh character set and
 * DbText (host text with control codes, space and backslash escaped).
 *
 * Host codes 32 to 255 are the Macintosh character set; codes below 32 are
 * the host's control codes. The case tables #TdeMToUpper and #TdeMToLower
 * are declared in tde_strings.h.
 *
 * The 256-entry tables are indexed by code. Their pointers may be
 * redirected to other tables at run time; every function reads them afresh
 * at each call.
 *
 * Property bits of #TdeCharProps:
 * | Bit    | Meaning                                   |
 * |--------|-------------------------------------------|
 * | 0x0001 | tab and breaks (0x08 to 0x0B)             |
 * | 0x0002 | capital letter                            |
 * | 0x0004 | small letter                              |
 * | 0x0008 | letter                                    |
 * | 0x0010 | decimal digit                             |
 * | 0x0020 | hexadecimal digit                         |
 * | 0x0040 | white space                               |
 * | 0x0080 | plain space                               |
 * | 0x0100 | word character                            |
 * | 0x0200 | line or paragraph break                   |
 * | 0x0400 | sentence end (! . ?)                      |
 * | 0x0800 | letter, digit or 0x15                     |
 * | 0x1000 | codes 0x01 to 0x06                        |
 * | 0x2000 | white space, text start and opening marks |
 * | 0x4000 | consonant                                 |
 * | 0x8000 | quote or bracket                          |
 *
 * The single-character conversions use only the low 8 bits of c; their
 * result is 0 to 255, 0 meaning the code has no equivalent (except in
 * TdeMacToOrvel()).
 * @{ */

extern const unsigned char *TdeIdentMap;   /**< entry c is c */
extern const unsigned char *TdeHexDtoA;    /**< 0..15 to "0123456789ABCDEF", others 0 */
extern const unsigned char *TdeHexAtoD;    /**< hex digit (either case) to 0..15, others 0 */
extern const unsigned short *TdeCharProps; /**< property word per code (bits above) */
extern const unsigned char *TdeMToAnMap;   /**< host to ANSI */
extern const unsigned char *TdeAnToMMap;   /**< ANSI to host */

/** @param c a host code
 * @return its ASCII equivalent, or 0 */
int TdeOrvelToAscii(int c);
/** The same table as TdeOrvelToAscii().
 * @param c a host code
 * @return its ASCII equivalent, or 0 */
int TdeOrvelTo7BitAscii(int c);
/** @param c an ASCII code
 * @return its host code, or 0 */
int TdeAsciiToOrvel(int c);
/** @param c a host code
 * @return its ISO Latin-1 equivalent, or 0 */
int TdeOrvelToIsoLatin1(int c);
/** @param c an ISO Latin-1 code
 * @return its host code, or 0 */
int TdeIsoLatin1ToOrvel(int c);
/** @param c a host code
 * @return its ANSI code page equivalent (through #TdeMToAnMap), or 0 */
int TdeOrvelToAnsi(int c);
/** @param c an ANSI code page code
 * @return its host code (through #TdeAnToMMap), or 0 */
int TdeAnsiToOrvel(int c);
/** @param c a host code
 * @return its Macintosh character set equivalent, or 0 */
int TdeOrvelToMac(int c);
/** @param c a Macintosh character set code
 * @return its host code: codes from 32 up are unchanged; tab becomes 0x08,
 *         line feed, form feed and return become 0x0A, any other control
 *         code '?' (0x3F) */
int TdeMacToOrvel(int c);
/** @param c a host code
 * @return the host code itself (the low 8 bits of c) */
int TdeOrvelToOrvel(int c);

/** Unescapes DbText into host text.
 * @param text the DbText; null reads as empty
 * @return a new string cut to at most 255 bytes (release with T_Free()), or
 *         null when memory is short */
char *TdeDbTextToOrvel(const char *text);
/** Escapes host text as DbText.
 * @param text the host text; null reads as empty
 * @return a new string cut to at most 255 bytes (release with T_Free()), or
 *         null when memory is short */
char *TdeOrvelToDbText(const char *text);

/** @} */

TARNEL_END_DECLS

#endif
