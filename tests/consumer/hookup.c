/* A client's own function named like one of the library's internal helpers.
 * Built with the sample client: the library must keep calling its own. */
int hookup_calls;

const char *hookup(void) {
    hookup_calls++;
    return "the client's own";
}
