/* Internal entry points of the formatter, shared by sprint.cpp, wildfld.cpp
 * and the tests. */
#ifndef TARNEL_TDE_SPRINT_INTERNAL_H
#define TARNEL_TDE_SPRINT_INTERNAL_H

#include <stdarg.h>

#include <tarnel/cdecls.h>
#include <tarnel/tde_sprint.h>

TARNEL_BEGIN_DECLS

/* The characters that end a conversion specification. */
#define TDE_CONVERSIONS "dioxXucsfeEgGp%n"

/* Room that one expanded '*' may need: "%ld" of any int ("-2147483648"). */
#define TDE_WILD_DIGITS 11

/* Context of outs: the write position and the room left there. Room starts
 * at size - 1 so that one byte stays for the terminator (-1 with no buffer). */
typedef struct TdeOutsCtxT {
    char *pos;
    int room;
} TdeOutsCtxT;

/* Where a conversion is formatted: data points at the caller's local area
 * until a longer text needs heap, which then stays for the rest of the call
 * and is released with TdeTextBufFree. */
typedef struct TdeTextBufT {
    char *data;
    int capacity;
    char *heap;
} TdeTextBufT;

/* The bounded-buffer output function: copies min(n, room) characters (none
 * when that is negative) and returns how many it copied. */
int outs(void *ctx, const char *text, int n);

/* Makes the buffer hold at least size bytes (T_Alloc / T_Realloc, flags 0).
 * Returns 0, or -1 when memory is short or size exceeds the allocators'
 * limit; the buffer is then unchanged. */
int TdeTextBufReserve(TdeTextBufT *buf, long long size);
void TdeTextBufFree(TdeTextBufT *buf);

/* Length of the conversion starting at format (its '%'), up to and
 * including the conversion character; -1 if the format ends first. */
int TdeSpecLength(const char *format);

/* Copies one complete specification from format into spec (which has room
 * for it and its terminator) and returns the position after it. */
const char *copyformat(char *spec, const char *format);

/* Replaces every '*' of spec by the decimal text of the next int argument,
 * consumed from *args. A negative precision means no precision, as in C: its
 * ".*" is removed. spec must have room for TDE_WILD_DIGITS more bytes per
 * '*'. Returns the new length. */
int TdeProcessWildFieldWidth(char *spec, va_list *args);

/* Characters a %s specification (stars expanded) produces for the string
 * argument at *args, without consuming it: max(width, min(length,
 * precision)), with a null string counting as empty; at most 0x7FFFFFFF. */
int getStringSize(const char *spec, va_list *args);

/* Formats one specification (stars expanded, not %n; spec terminated after
 * specLength characters) with the argument it consumes from *args into buf,
 * growing buf when the text does not fit. Returns the length of the text
 * (which may hold a 0 byte); -1 when the conversion is not one the engine
 * can read safely (nothing consumed); -2 when the formatter rejects it, e.g.
 * a width beyond the int range; -3 when memory for the text runs out. */
int TdePrintToStream(TdeTextBufT *buf, const char *spec, int specLength, va_list *args);

TARNEL_END_DECLS

#endif
