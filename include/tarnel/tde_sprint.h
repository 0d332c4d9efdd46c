/** @file
 * The foundation formatter. */
#ifndef TARNEL_TDE_SPRINT_H
#define TARNEL_TDE_SPRINT_H

#include <stdarg.h>

#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/** @defgroup sprint Formatted output
 * @ingroup foundation
 * A printf engine that splits a format into literal runs and single
 * conversions, formats each conversion with the platform formatter and
 * hands every piece of text to an output function.
 *
 * Beyond the platform formatter: '*' widths and precisions are expanded
 * first, a null %s argument prints as the empty string, a null format prints
 * nothing, a conversion's text ends at its first 0 byte, and the count that
 * %n stores and the functions return is the number of characters actually
 * delivered (after truncation). Arguments are read as in C: the length
 * letters hh, h, l, ll, L, q, j, z, Z and t select the argument's type. A
 * specification the engine cannot read safely (an unknown letter, a
 * positional '$', a length letter that does not fit its conversion) and an
 * incomplete one at the end of the format are delivered as literal text and
 * consume no argument.
 * @{ */

/** An output function: receives n characters of text (not terminated) and
 * returns how many it accepted; the engine's count is the sum of these
 * results. The first argument is the engine's ctx, passed through. */
typedef int (*TdeOutFuncT)(void *ctx, const char *text, int n);

/** The engine: formats format with args, delivering text through out(ctx).
 * It stops early only when memory for a conversion's text runs out.
 * @param out the output function
 * @param ctx passed to every call of out
 * @param format the format; null prints nothing
 * @param args the arguments
 * @return the sum of what out accepted (so far, when it stopped early) */
int Tde_doprnt(TdeOutFuncT out, void *ctx, const char *format, va_list args);

/** Formats into buf, storing at most size - 1 characters and a terminator.
 * @param buf the buffer; null stores nothing
 * @param size its size; below 1 stores nothing
 * @param format the format
 * @param args the arguments
 * @return the number of characters stored (not the untruncated length) */
int TdeVSnprintf(char *buf, int size, const char *format, va_list args);

/** TdeVSnprintf(buf, 0x7FFFFFFF, format, ...): the caller guarantees room.
 * @param buf the buffer
 * @param format the format, followed by its arguments
 * @return the number of characters stored */
int T_Sprintf(char *buf, const char *format, ...)
#if defined(__GNUC__) || defined(__clang__)
    __attribute__((__format__(__printf__, 2, 3)))
#endif
    ;

/** @} */

TARNEL_END_DECLS

#endif
