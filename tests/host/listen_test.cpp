// tnhost --listen, as a host for clients that someone else starts: the
// address it is given, the attach line's caller address, a session that
// only attached run through, and its process left alone.
#include <gtest/gtest.h>

#include <netinet/in.h>
#include <rpc/pmap_clnt.h>

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include "host_launcher.h"
#include "peer.h"

namespace tarnel_test {
namespace {

// Starts the attaching client once the host's connection service is known
// to the binder, as a user would start it by hand; none when it never was.
std::unique_ptr<Process> attachWhenReady(int connectProg) {
    sockaddr_in binder = {};
    binder.sin_family = AF_INET;
    binder.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    for (int i = 0; pmap_getport(&binder, static_cast<u_long>(connectProg), 1, IPPROTO_UDP) == 0; ++i) {
        if (i == 250) return nullptr;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return std::make_unique<Process>(Words{SESSION_DRIVER_PATH, "attach", std::to_string(connectProg), "127.0.0.1"});
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
        std::unique_ptr<Process> client;
        std::thread starter([&] { client = attachWhenReady(prog + 0x80); });
        Transcript run = runTnhost({"--json", json{{"steps", steps}}.dump(), "--prog", std::to_string(prog), "--listen",
                                    "127.0.0.1", "--timeout", "20"});
        starter.join();
        ASSERT_TRUE(client && client->pid() > 0) << run.text();
        EXPECT_EQ(run.status, c.status) << run.text();
        EXPECT_TRUE(run.has({"host prog=" + std::to_string(prog), " listen=127.0.0.1"})) << run.text();
        EXPECT_TRUE(run.has({"attach proc=108", " from=127.0.0.1 -> status=0 client=a1"})) << run.text();
        EXPECT_TRUE(run.has({c.line})) << run.text();
        // The host never signals a process it did not start (one still
        // running is ended by the test, not counted).
        if (!client->running()) {
            EXPECT_EQ(client->signal, 0) << run.text();
        }
    }
}

}  // namespace
}  // namespace tarnel_test
