#ifndef TARNEL_TNAPI_REQ_DIALOGS_H
#define TARNEL_TNAPI_REQ_DIALOGS_H

#include <tarnel/api_values.h>
#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

TARNEL_END_DECLS

#endif
