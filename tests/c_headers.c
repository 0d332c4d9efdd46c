/* Clients may be written in C: every public header must compile as C99. */
#include <tarnel/tde.h>
#include <tarnel/tnapi.h>

int c_header_check_anchor(void) { return 0; }
