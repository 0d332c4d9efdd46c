// tnhost --listen, as a host for clients that someone else starts: the
// address it is given, the attach line's caller address, a session that
// only attached run through, and its process left alone.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <netinet/in.h>
#include <rpc/pmap_clnt.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <string>
#include <thread>

#include "host_launcher.h"

namespace tarnel_test {
namespace {

// Starts the attaching client once the host's connection service is known
// to the binder, as a user would start it by hand; -1 when it never was.
pid_t attachWhenReady(int connectProg) {
    sockaddr_in binder = {};
    binder.sin_family = AF_INET;
    binder.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (int i = 0; pmap_getport(&binder, static_cast<u_long>(connectProg), 1, IPPROTO_UDP) == 0; ++i) {
        if (i == 250) return -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    const std::string prog = std::to_string(connectProg);
    const char *argv[] = {SESSION_DRIVER_PATH, "attach", prog.c_str(), "127.0.0.1", nullptr};
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, SESSION_DRIVER_PATH, &quiet, nullptr, const_cast<char **>(argv), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&quiet);
    return pid;
}

TEST(Listen, SessionThatOnlyAttachedRunsTheScenario) {
    const json served = {step("wait_attach"), step("wait_ack"), callback("init", {{"initialization", 1}}),
                         callback("command", {{"command", 1}})};
    const struct {
        const char *name;
        json last;
        int status;
        const char *line;  // a fragment of the run's transcript
    } cases[] = {
        {"served", step("serve", {{"ms", 100}}), 0, "over client=a1 value=0 for=callback-2"},
        {"wait_exit", step("wait_exit"), 1, "wait_exit: a1 attached and was not launched here"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        json steps = served;
        steps.push_back(c.last);
        const int prog = programNumber();
        pid_t client = -1;
        std::thread starter([&] { client = attachWhenReady(prog + 0x80); });
        Transcript run = runTnhost({"--json", json{{"steps", steps}}.dump(), "--prog", std::to_string(prog), "--listen",
                                    "127.0.0.1", "--timeout", "20"});
        starter.join();
        ASSERT_GT(client, 0) << run.text();
        EXPECT_EQ(run.status, c.status) << run.text();
        EXPECT_TRUE(run.has({"host prog=" + std::to_string(prog), " listen=127.0.0.1"})) << run.text();
        EXPECT_TRUE(run.has({"attach proc=108", " from=127.0.0.1 -> status=0 client=a1"})) << run.text();
        EXPECT_TRUE(run.has({c.line})) << run.text();
        // The host never signals a process it did not start.
        int st = 0;
        if (waitpid(client, &st, WNOHANG) == 0) kill(client, SIGKILL), waitpid(client, &st, 0), st = 0;
        EXPECT_FALSE(WIFSIGNALED(st)) << "signal " << WTERMSIG(st) << "\n" << run.text();
    }
}

}  // namespace
}  // namespace tarnel_test
