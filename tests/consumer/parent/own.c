/* Compiles with a warning (an unused variable) under the parent's -Wall. */
int main(void) {
    int unused;
    return 0;
}
