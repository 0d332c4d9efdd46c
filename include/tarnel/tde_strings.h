/** @file
 * The foundation string library, in the host's 8-bit encoding. */
#ifndef TARNEL_TDE_STRINGS_H
#define TARNEL_TDE_STRINGS_H

#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/** @defgroup strings Strings
 * @ingroup foundation
 * NUL-terminated strings in the host's 8-bit encoding.
 *
 * Every function accepts null: a null string that is only read counts as
 * the empty string, a null target makes the call do nothing. Bytes compare
 * as unsigned values. Lengths, counts and sizes are int; a buffer size counts
 * the terminator. Case-insensitive operations fold through *#TdeMToLower,
 * read at every call. Truth values are 1 and 0. Nothing here sets an error
 * code or is fatal.
 * @{ */

/** The host encoding's lower-case table (256 bytes). Point it elsewhere to
 * change case folding everywhere at once. */
extern const unsigned char *TdeMToLower;
/** The host encoding's upper-case table (256 bytes). */
extern const unsigned char *TdeMToUpper;

/* ---- Creation and length ----------------------------------------------- */

/** A zero-filled block of n + 1 bytes.
 * @param n characters of room (a negative n counts as 0)
 * @return the block (release with T_Free()), or null when memory is short */
char *T_StrNew(int n);
/** A new copy of s.
 * @param s the string
 * @return the copy (release with T_Free()); null for null s or when memory
 *         is short */
char *T_StrCopyString(const char *s);
/** @param s the string
 * @return its length in bytes; 0 for null */
int T_StrLen(const char *s);

/* ---- Copying and appending --------------------------------------------- */

/** Copies src and its terminator into dst, unbounded.
 * @param dst the target, with room for src
 * @param src the source */
void T_StrCpy(char *dst, const char *src);
/** Copies at most size - 1 characters and terminates.
 * @param dst the target buffer
 * @param src the source
 * @param size the buffer size; below 1 nothing is written
 * @return the number of characters copied */
int T_StrCpyN(char *dst, const char *src, int size);
/** Appends src to dst, unbounded.
 * @param dst the target, with room for both
 * @param src the text to append
 * @return the new length of dst */
int T_StrCat(char *dst, const char *src);
/** Appends while dst is shorter than size - 1; never shortens dst.
 * @param dst the target buffer
 * @param src the text to append
 * @param size the buffer size
 * @return the resulting length of dst */
int T_StrCatN(char *dst, const char *src, int size);
/** Cuts dst to size - 1, then appends at most count characters of src.
 * @param dst the target buffer
 * @param src the text to append
 * @param count most characters taken from src
 * @param size the buffer size
 * @return the resulting length of dst */
int T_StrNCatN(char *dst, const char *src, int count, int size);
/** Appends the byte c if there is room.
 * @param dst the target buffer
 * @param c the byte
 * @param size the buffer size
 * @return the resulting length */
int T_StrCatCharN(char *dst, int c, int size);
/** Appends i in decimal (bounded as T_StrCatN()).
 * @param dst the target buffer
 * @param i the number
 * @param size the buffer size
 * @return the resulting length */
int T_StrCatIntN(char *dst, int i, int size);
/** Ends s at index i (a negative i does nothing).
 * @param s the string; i must lie within its buffer
 * @param i where the terminator goes */
void T_StrTrunc(char *s, int i);

/* ---- Comparison -------------------------------------------------------- */

/** @param a,b the strings
 * @return 1 when they are equal byte for byte */
int T_StrEqual(const char *a, const char *b);
/** @param a,b the strings
 * @return 1 when they are equal ignoring case */
int T_StrIEqual(const char *a, const char *b);
/** @param a,b the strings
 * @param n bytes compared at most; n <= 0 is always equal
 * @return 1 when the first n bytes are equal */
int T_StrEqualN(const char *a, const char *b, int n);
/** @param a,b the strings
 * @param n bytes compared at most; n <= 0 is always equal
 * @return 1 when the first n bytes are equal ignoring case */
int T_StrIEqualN(const char *a, const char *b, int n);
/** @param a,b the strings
 * @return 1 when they are equal ignoring case, spaces and hyphens */
int T_StrSIEqual(const char *a, const char *b);
/** @param a,b the strings
 * @return the difference of the unsigned bytes where the strings part
 *         (0 when equal) */
int T_StrCmp(const char *a, const char *b);
/** @param a,b the strings
 * @return as T_StrCmp(), comparing folded bytes */
int T_StrICmp(const char *a, const char *b);
/** Case-insensitive order, ties broken by byte values.
 * @param a,b the strings
 * @return negative, 0 or positive */
int T_StrMCmp(const char *a, const char *b);
/** qsort() comparator over an array of string pointers (T_StrMCmp() order).
 * @param pa,pb addresses of two array elements (each a char pointer)
 * @return negative, 0 or positive */
int T_StrQsortCmp(const void *pa, const void *pb);
/** Compares up to index n - 1.
 * @param a,b the strings
 * @param n the bound; 0 gives 0, below 0 compares the first bytes
 * @return as T_StrCmp() */
int T_StrCmpN(const char *a, const char *b, int n);
/** @param a,b the strings
 * @param n the bound, as T_StrCmpN()
 * @return as T_StrCmpN(), comparing folded bytes */
int T_StrICmpN(const char *a, const char *b, int n);

/* ---- Prefixes, suffixes and searching ---------------------------------- */

/** @param s the string
 * @param prefix the prefix; empty always matches
 * @return 1 when s starts with prefix */
int T_StrPrefix(const char *s, const char *prefix);
/** @param s the string
 * @param prefix the prefix
 * @return 1 when s starts with prefix, ignoring case */
int T_StrIPrefix(const char *s, const char *prefix);
/** @param s the string
 * @param prefix the prefix
 * @param n at most this many bytes of prefix are compared
 * @return 1 when s starts with the first n bytes of prefix */
int T_StrPrefixN(const char *s, const char *prefix, int n);
/** @param s the string
 * @param suffix the suffix; empty always matches
 * @return 1 when s ends with suffix */
int T_StrSuffix(const char *s, const char *suffix);
/** @param s the string
 * @param suffix the suffix
 * @return 1 when s ends with suffix, ignoring case */
int T_StrISuffix(const char *s, const char *suffix);
/** @param s the string
 * @param c the byte, 1 to 255
 * @return the first byte equal to c (never the terminator), or null */
char *T_StrChr(const char *s, int c);
/** @param s the string
 * @param c the byte, 1 to 255
 * @return the last byte equal to c (never the terminator), or null */
char *T_StrRChr(const char *s, int c);
/** @param s the string searched
 * @param sub the string sought
 * @return the index of the first occurrence of sub in s, or -1 (also for a
 *         null or empty s and a null sub) */
int T_StrSubString(const char *s, const char *sub);

/* ---- In-place editing -------------------------------------------------- */

/** Removes trailing spaces (byte 32 only).
 * @param s the string */
void T_StrStripTrailingSpaces(char *s);
/** Removes leading spaces (byte 32 only).
 * @param s the string */
void T_StrStripLeadingSpaces(char *s);
/** Removes every character of s that occurs in set.
 * @param s the string
 * @param set the bytes to remove */
void T_StrStrip(char *s, const char *set);
/** Reverses the first min(length, n) characters.
 * @param s the string
 * @param n the count */
void T_StrReverse(char *s, int n);

/* ---- Conversion -------------------------------------------------------- */

/** @param s decimal text, as atoi()
 * @return its value; 0 for null */
int T_StrAlphaToInt(const char *s);
/** @param s decimal text, as atof()
 * @return its value; 0.0 for null */
double T_StrAlphaToReal(const char *s);

/** @} */

TARNEL_END_DECLS

#endif
