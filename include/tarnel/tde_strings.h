/* The foundation string library, in the host's 8-bit encoding.
 *
 * Every function accepts null: a null string that is only read counts as
 * the empty string, a null target makes the call do nothing. Bytes compare
 * as unsigned values. Lengths, counts and sizes are int; a buffer size counts
 * the terminator. Case-insensitive operations fold through *TdeMToLower,
 * read at every call. Truth values are 1 and 0. */
#ifndef TARNEL_TDE_STRINGS_H
#define TARNEL_TDE_STRINGS_H

#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/* The host encoding's case tables (256 bytes each). Point them elsewhere to
 * change case folding everywhere at once. */
extern const unsigned char *TdeMToLower;
extern const unsigned char *TdeMToUpper;

/* ---- Creation and length ----------------------------------------------- */

/* A zero-filled block of n + 1 bytes, or null when memory is short. */
char *T_StrNew(int n);
/* A new copy (free with T_Free); null for null s or when memory is short. */
char *T_StrCopyString(const char *s);
int T_StrLen(const char *s);

/* ---- Copying and appending --------------------------------------------- */

void T_StrCpy(char *dst, const char *src);
/* Copies at most size - 1 characters and terminates; returns the count. */
int T_StrCpyN(char *dst, const char *src, int size);
/* Returns the new length of dst. */
int T_StrCat(char *dst, const char *src);
/* Appends while dst is shorter than size - 1; never shortens dst. */
int T_StrCatN(char *dst, const char *src, int size);
/* Cuts dst to size - 1, then appends at most count characters of src. */
int T_StrNCatN(char *dst, const char *src, int count, int size);
/* Appends the byte c if there is room; returns the resulting length. */
int T_StrCatCharN(char *dst, int c, int size);
/* Appends i in decimal (bounded as T_StrCatN). */
int T_StrCatIntN(char *dst, int i, int size);
void T_StrTrunc(char *s, int i);

/* ---- Comparison -------------------------------------------------------- */

int T_StrEqual(const char *a, const char *b);
int T_StrIEqual(const char *a, const char *b);
int T_StrEqualN(const char *a, const char *b, int n);
int T_StrIEqualN(const char *a, const char *b, int n);
/* Equal ignoring case, spaces and hyphens. */
int T_StrSIEqual(const char *a, const char *b);
/* Difference of the unsigned bytes where the strings part. */
int T_StrCmp(const char *a, const char *b);
int T_StrICmp(const char *a, const char *b);
/* Case-insensitive order, ties broken by byte values. */
int T_StrMCmp(const char *a, const char *b);
/* qsort comparator over an array of string pointers. */
int T_StrQsortCmp(const void *pa, const void *pb);
/* Compares up to index n - 1; n == 0 gives 0, n < 1 compares first bytes. */
int T_StrCmpN(const char *a, const char *b, int n);
int T_StrICmpN(const char *a, const char *b, int n);

/* ---- Prefixes, suffixes and searching ---------------------------------- */

int T_StrPrefix(const char *s, const char *prefix);
int T_StrIPrefix(const char *s, const char *prefix);
int T_StrPrefixN(const char *s, const char *prefix, int n);
int T_StrSuffix(const char *s, const char *suffix);
int T_StrISuffix(const char *s, const char *suffix);
/* First / last byte equal to c, never the terminator; null if none. */
char *T_StrChr(const char *s, int c);
char *T_StrRChr(const char *s, int c);
/* Index of the first occurrence of sub in s, or -1. */
int T_StrSubString(const char *s, const char *sub);

/* ---- In-place editing -------------------------------------------------- */

void T_StrStripTrailingSpaces(char *s);
void T_StrStripLeadingSpaces(char *s);
/* Removes every character of s that occurs in set. */
void T_StrStrip(char *s, const char *set);
/* Reverses the first min(length, n) characters. */
void T_StrReverse(char *s, int n);

/* ---- Conversion -------------------------------------------------------- */

int T_StrAlphaToInt(const char *s);
double T_StrAlphaToReal(const char *s);

TARNEL_END_DECLS

#endif
