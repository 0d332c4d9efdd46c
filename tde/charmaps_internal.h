// Tables shared between the character-table and conversion units but not
// exported to clients.
#ifndef TARNEL_TDE_CHARMAPS_INTERNAL_H
#define TARNEL_TDE_CHARMAPS_INTERNAL_H

namespace tarnel::charmaps {

extern const unsigned char mtoa_map[256];    // host to ASCII
extern const unsigned char atom_map[256];    // ASCII to host
extern const unsigned char mtoiso_map[256];  // host to ISO Latin-1
extern const unsigned char isotom_map[256];  // ISO Latin-1 to host
extern const unsigned char mtoan_map[256];   // host to ANSI (initial TdeMToAnMap)
extern const unsigned char antom_map[256];   // ANSI to host (initial TdeAnToMMap)

// The initial *TdeMToLower: below 0x80 it folds exactly A-Z to a-z, which
// lets comparisons fold ASCII bytes arithmetically while it is in force.
extern const unsigned char *const builtin_to_lower;

}  // namespace tarnel::charmaps

#endif
