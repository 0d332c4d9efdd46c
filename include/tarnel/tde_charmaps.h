#ifndef TARNEL_TDE_CHARMAPS_H
#define TARNEL_TDE_CHARMAPS_H

#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

TARNEL_END_DECLS

#endif
