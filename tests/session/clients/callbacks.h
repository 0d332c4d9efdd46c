/* What the test clients' callbacks do for each initialisation code. */
#ifndef SESSION_TEST_CALLBACKS_H
#define SESSION_TEST_CALLBACKS_H

enum {
    INIT_PLAIN = 1,
    INIT_BAIL_OUT = 2,
    INIT_DONE_TWICE = 3,
    INIT_MODAL = 4,
    INIT_TAKE_CONTROL = 5,
    COMMAND_INNER_MODAL = 7
};

#endif
