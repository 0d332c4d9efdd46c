/* The foundation library: memory and failure policy, strings, metric
 * arithmetic, character tables and the formatter. */
#ifndef TARNEL_TDE_H
#define TARNEL_TDE_H

#include <tarnel/tde_memory.h>
#include <tarnel/tde_strings.h>
#include <tarnel/tde_metrics.h>
#include <tarnel/tde_charmaps.h>
#include <tarnel/tde_sprint.h>

#endif
