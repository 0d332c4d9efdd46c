// Single-character conversions between the host encoding and other 8-bit
// character sets: one masked table lookup each.
#include <tarnel/tde_charmaps.h>

#include "charmaps_internal.h"

using namespace tarnel::charmaps;

extern "C" {

int TdeOrvelToAscii(int c) { return mtoa_map[c & 0xFF]; }

int TdeOrvelTo7BitAscii(int c) { return mtoa_map[c & 0xFF]; }

int TdeAsciiToOrvel(int c) { return atom_map[c & 0xFF]; }

int TdeOrvelToIsoLatin1(int c) { return mtoiso_map[c & 0xFF]; }

int TdeIsoLatin1ToOrvel(int c) { return isotom_map[c & 0xFF]; }

// The ANSI pair goes through the exported pointers so a client can install
// its own code page.
int TdeOrvelToAnsi(int c) { return TdeMToAnMap[c & 0xFF]; }

int TdeAnsiToOrvel(int c) { return TdeAnToMMap[c & 0xFF]; }

// Codes from 32 up are shared with the Macintosh set; only control codes
// need translating. 0x80 itself also goes through the ASCII map.
int TdeOrvelToMac(int c) {
    c &= 0xFF;
    return c <= 0x80 ? mtoa_map[c] : c;
}

int TdeMacToOrvel(int c) {
    c &= 0xFF;
    if (c >= 0x20) return c;
    switch (c) {
    case 0x09: return 0x08;
    case 0x0A:
    case 0x0C:
    case 0x0D: return 0x0A;
    default: return 0x3F;
    }
}

int TdeOrvelToOrvel(int c) { return c & 0xFF; }

}  // extern "C"
