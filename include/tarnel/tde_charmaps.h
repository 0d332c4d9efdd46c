/* Character tables of the host encoding and conversions between it and
 * ASCII, ISO Latin-1, the ANSI code page, the Macintosh character set and
 * DbText (host text with control codes, space and backslash escaped).
 *
 * Host codes 32 to 255 are the Macintosh character set; codes below 32 are
 * the host's control codes. The case tables TdeMToUpper and TdeMToLower are
 * declared in <tarnel/tde_strings.h>. */
#ifndef TARNEL_TDE_CHARMAPS_H
#define TARNEL_TDE_CHARMAPS_H

#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/* 256-entry tables indexed by code. The pointers may be redirected to other
 * tables at run time; every function reads them afresh at each call. */
extern const unsigned char *TdeIdentMap;  /* entry c is c */
extern const unsigned char *TdeHexDtoA;   /* 0..15 to "0123456789ABCDEF", others 0 */
extern const unsigned char *TdeHexAtoD;   /* hex digit (either case) to 0..15, others 0 */
extern const unsigned short *TdeCharProps; /* property word per code, bits below */
extern const unsigned char *TdeMToAnMap;  /* host to ANSI */
extern const unsigned char *TdeAnToMMap;  /* ANSI to host */

/* Property bits of TdeCharProps:
 *   0x0001 tab and breaks (0x08 to 0x0B)
 *   0x0002 capital letter         0x0004 small letter      0x0008 letter
 *   0x0010 decimal digit          0x0020 hexadecimal digit
 *   0x0040 white space            0x0080 plain space
 *   0x0100 word character         0x0200 line or paragraph break
 *   0x0400 sentence end (! . ?)   0x0800 letter, digit or 0x15
 *   0x1000 codes 0x01 to 0x06
 *   0x2000 white space, text start and opening marks
 *   0x4000 consonant              0x8000 quote or bracket */

/* Single-character conversions: only the low 8 bits of c count; the result
 * is 0 to 255, 0 meaning the code has no equivalent. */
int TdeOrvelToAscii(int c);
int TdeOrvelTo7BitAscii(int c);
int TdeAsciiToOrvel(int c);
int TdeOrvelToIsoLatin1(int c);
int TdeIsoLatin1ToOrvel(int c);
int TdeOrvelToAnsi(int c);
int TdeAnsiToOrvel(int c);
int TdeOrvelToMac(int c);
int TdeMacToOrvel(int c);
int TdeOrvelToOrvel(int c);

/* DbText conversions. Each returns a new string (release it with T_Free),
 * cut to at most 255 bytes, or null when memory is short. A null text is
 * read as the empty string. */
char *TdeDbTextToOrvel(const char *text);
char *TdeOrvelToDbText(const char *text);

TARNEL_END_DECLS

#endif
