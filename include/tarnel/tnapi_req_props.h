#ifndef TARNEL_TNAPI_REQ_PROPS_H
#define TARNEL_TNAPI_REQ_PROPS_H

#include <tarnel/api_values.h>
#include <tarnel/cdecls.h>

TARNEL_BEGIN_DECLS

/* Properties of an object, by number (and by name where given). */
int T_ApiGetInt(unsigned int docId, unsigned int objId, int propNum);
void T_ApiSetInt(unsigned int docId, unsigned int objId, int propNum, int value);
StringT T_ApiGetString(unsigned int docId, unsigned int objId, int propNum);
T_StringsT T_ApiGetStrings(unsigned int docId, unsigned int objId, int propNum);

TARNEL_END_DECLS

#endif
