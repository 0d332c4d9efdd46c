// The library's default program entry; a client's own main replaces it.
#include <tarnel/tnapi_session.h>

int main() { return T_ApiRun(); }
