/** @file
 * The foundation library: memory and failure policy, strings, metric
 * arithmetic, character tables and the formatter. Needs no host and no RPC
 * library; clients of the host get it through tnapi.h as well. */
#ifndef TARNEL_TDE_H
#define TARNEL_TDE_H

/** @defgroup foundation Foundation
 * The foundation library (libtde.so.0, libtde.a): allocators and handles with the
 * fatal-failure policy, strings in the host encoding, 16.16 measurements,
 * character tables and conversions, and the formatter. It keeps
 * process-wide state (the settings record, the overflow counter, the table
 * pointers) and is not thread-safe. */

#include <tarnel/tde_charmaps.h>
#include <tarnel/tde_memory.h>
#include <tarnel/tde_metrics.h>
#include <tarnel/tde_sprint.h>
#include <tarnel/tde_strings.h>

#endif
