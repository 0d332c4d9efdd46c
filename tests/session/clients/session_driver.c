/* A client with its own main, for what the default main cannot show:
 *   take          take control before any callback, hold it for a while
 *   fds           report descriptor changes, installed after start-up
 *   highfd        occupy descriptors up to 40, then run as usual
 *   attach PROG [HOST [MS]]   attach through the connection service, calls
 *                 timing out after MS milliseconds (default: the library's) */
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <tarnel/tnapi_session.h>

static void report(int fd, int added) { printf("fd %d %s\n", fd, added ? "added" : "removed"); }

static int serve_until_bailout(void) {
    while (!TA_bailout) T_ApiService(NULL);
    T_ApiShutDown();
    return 0;
}

static int start(T_ApiFdFuncT fdFunc) {
    const char *msg = T_ApiStartUp(fdFunc);
    if (msg) {
        T_ApiErr(msg);
        T_ApiShutDown();
        return 0;
    }
    return 1;
}

/* Holds control for a while, serving whatever arrives, then gives it back. */
static int take(void) {
    if (!start(NULL)) return 1;
    printf("take=%d\n", T_ApiTakeControl());
    int timer = timerfd_create(CLOCK_MONOTONIC, TFD_CLOEXEC);
    struct itimerspec when = {{0, 0}, {1, 500000000}};
    timerfd_settime(timer, 0, &when, NULL);
    for (;;) {
        unsigned int mask = 1u << timer;
        T_ApiService(&mask);
        if (mask & (1u << timer)) break;
    }
    close(timer);
    printf("done=%d\n", T_ApiDoneCommand());
    return serve_until_bailout();
}

static int fds(void) {
    if (!start(NULL)) return 1;
    printf("installing\n");
    T_ApiFdFuncT previous = T_ApiSetFdFunc(report);
    printf("previous=%s\n", previous ? "set" : "none");
    return serve_until_bailout();
}

static int highfd(void) {
    for (;;) {
        int fd = open("/dev/null", O_RDONLY);
        if (fd < 0) return 2;
        if (fd >= 40) break;
    }
    return T_ApiRun();
}

static int attach(int argc, char **argv) {
    if (argc < 3) return 2;
    if (argc > 4) {
        TA_TimeOut.tv_sec = atoi(argv[4]) / 1000;
        TA_TimeOut.tv_usec = atoi(argv[4]) % 1000 * 1000;
    }
    int code = T_ApiConnectToSession("session-driver", argc > 3 ? argv[3] : NULL, atoi(argv[2]));
    printf("connect=%d errno=%d\n", code, TA_errno);
    if (code != 0) {
        T_ApiShutDown();
        return 3;
    }
    return serve_until_bailout();
}

int main(int argc, char **argv) {
    if (argc < 2) return 2;
    if (!strcmp(argv[1], "take")) return take();
    if (!strcmp(argv[1], "fds")) return fds();
    if (!strcmp(argv[1], "highfd")) return highfd();
    if (!strcmp(argv[1], "attach")) return attach(argc, argv);
    return 2;
}
