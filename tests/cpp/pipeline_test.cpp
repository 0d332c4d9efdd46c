// Pipelined requests against the simulated host and against a host that
// misbehaves: the same results as the synchronous calls request by request,
// long pipelines, a host that vanishes or sends a stray reply, refused
// requests, and the C runs of status requests.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

#include <tarnel/tnapi.hpp>
#include <tarnel/tnapi_status.h>

#include "library_client.h"
#include "wire/record_reader.h"

namespace tarnel_test {
namespace {

using namespace tarnel;

std::string shown(int v) { return std::to_string(v); }
std::string shown(const String &s) { return "\"" + std::string(s.view()) + "\""; }
std::string shown(const Strings &list) {
    std::string out;
    for (const char *s : list) out += std::string(out.empty() ? "" : ",") + s;
    return "[" + out + "]";
}
std::string shown(const std::optional<int> &answer) { return answer ? shown(*answer) : "declined"; }
template <typename T> std::string shown(const Result<T> &r) {
    if (!r) return "error " + std::to_string(r.code());
    if constexpr (std::is_void_v<T>)
        return "ok";
    else
        return shown(*r);
}

// A request both ways: made now, or added to a pipeline and read later.
struct Row {
    std::function<std::string()> now;
    std::function<std::function<std::string()>(Pipeline &)> later;
};
template <typename Form, typename... A> Row row(const Form &form, A... args) {
    return {[=] { return shown(form(args...)); },
            [=](Pipeline &p) {
                auto pending = std::make_shared<decltype(p.add(form, args...))>(p.add(form, args...));
                return [pending] { return shown(pending->get()); };
            }};
}

const char *const kAB[] = {"a", "b"};

bool served(ServedHost &host, int proc) {
    const std::string key = " proc=" + std::to_string(proc) + " ";
    for (const std::string &l : host.lines())
        if (l.find(key) != std::string::npos) return true;
    return false;
}
const json kRules = {{{"proc", 1068}, {"status", -40}}};  // every GetMetric refused
const json kExtra = {{"answers", {{"1009", {{"status", 0}, {"value", 7}}}}}};

// Values, strings, lists, statuses, refusals and an answer, writes read back.
std::vector<Row> mixedRows() {
    return {row(SetInt, 0u, 0u, 200, 42),        row(GetInt, 0u, 0u, 200),
            row(SetString, 0u, 0u, 201, "hi"),   row(GetString, 0u, 0u, 201),
            row(SetStrings, 0u, 0u, 202, std::span<const char *const>(kAB)),   row(GetStrings, 0u, 0u, 202),
            row(GetMetric, 0u, 0u, 203),         row(Notification, 2, 1),
            row(Delete, 1u, 999u),               row(PromptInt, "n?", "3"),
            row(ObjectValid, 1u, 999u),          row(SetInt, 0u, 0u, 200, 43),
            row(GetInt, 0u, 0u, 200),            row(GetString, 0u, 0u, 999)};
}

TEST(Pipeline, MixedResultsEqualTheSynchronousOnesRequestByRequest) {
    const std::vector<Row> rows = mixedRows();
    std::vector<std::string> now, later;
    std::vector<std::string> nowLines, laterLines;
    {
        LibraryHost host(kRules, kExtra);
        ASSERT_TRUE(host.ready());
        for (const Row &r : rows) now.push_back(r.now());
        nowLines = host.lines();
    }
    {
        LibraryHost host(kRules, kExtra);
        ASSERT_TRUE(host.ready());
        std::vector<std::function<std::string()>> reads;
        {
            Pipeline pipe;
            for (const Row &r : rows) reads.push_back(r.later(pipe));
        }  // destroying the pipeline reads every reply
        for (auto &read : reads) later.push_back(read());
        laterLines = host.lines();
    }
    EXPECT_EQ(later, now);
    EXPECT_NE(now[6].find("error -40"), std::string::npos);  // the refusal is there to compare
    auto requests = [](const std::vector<std::string> &lines) {
        std::vector<std::string> out;
        for (const std::string &l : lines)
            if (l.rfind("request ", 0) == 0) out.push_back(l.substr(0, l.find(" args=")));
        return out;
    };
    EXPECT_EQ(requests(laterLines), requests(nowLines));  // the host served them in order, each shown
}

TEST(Pipeline, AHundredThousandRequestsAndDroppedHandles) {
    LibraryHost host;
    ASSERT_TRUE(host.ready());
    host.discardTranscript();
    ASSERT_TRUE(SetInt(0, 0, 200, 5).ok());
    Pipeline pipe;
    std::vector<Pending<int>> kept;
    for (int i = 0; i < 100000; ++i) {
        auto p = pipe.add(GetInt, 0u, 0u, 200);
        if (i % 1000 == 999) kept.push_back(std::move(p));
    }
    // Results that own memory, dropped before their replies: released when they come.
    ASSERT_TRUE(SetStrings(0, 0, 202, kAB).ok());
    for (int i = 0; i < 1000; ++i) (void)pipe.add(GetStrings, 0u, 0u, 202);
    pipe.flush();
    ASSERT_EQ(kept.size(), 100u);
    for (auto &p : kept) EXPECT_EQ(shown(p.get()), "5");
    EXPECT_EQ(GetInt(0, 0, 200).value_or(0), 5);  // the connection is in step afterwards
}

TEST(Pipeline, RefusedFormsAreNotSent) {
    LibraryHost host;
    ASSERT_TRUE(host.ready());
    Pipeline pipe;
    auto modal = pipe.add(ModalDialog, 1, 0u);
    ASSERT_TRUE(modal.ready());
    EXPECT_EQ(modal.get().code(), TA_ERR_NOT_PIPELINABLE);
    EXPECT_EQ(modal.get().error().message(), "T_ApiModalDialog: the request cannot be pipelined");
    EXPECT_FALSE(modal.get().error().refused());  // the host never saw it
    EXPECT_EQ(modal.get().error().status(), 0);
    EXPECT_EQ(pipe.add(GetInt, 0u, 0u, 200).get().code(), TA_HOST_NO_PROPERTY);  // the next one is sent
    EXPECT_FALSE(served(host, 1316));

    // Outside a session: no reply, at once.
    CLIENT *saved = std::exchange(tarnel_client, nullptr);
    auto lost = pipe.add(GetInt, 0u, 0u, 200);
    tarnel_client = saved;
    ASSERT_TRUE(lost.ready());
    EXPECT_EQ(lost.get().code(), TA_ERR_NO_REPLY);
}

TEST(Pipeline, AVanishedHostEndsEveryOutstandingRequestWithoutAReply) {
    LibraryHost host;
    ASSERT_TRUE(host.ready());
    Pipeline pipe;
    auto first = pipe.add(SetInt, 0u, 0u, 200, 9);
    EXPECT_TRUE(first.get().ok());
    std::vector<Pending<int>> pending;
    for (int i = 0; i < 10; ++i) pending.push_back(pipe.add(GetInt, 0u, 0u, 200));
    host.vanish();
    for (int i = 0; i < 200; ++i) pending.push_back(pipe.add(GetInt, 0u, 0u, 200));
    const auto began = std::chrono::steady_clock::now();
    pipe.flush();
    EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(5));
    int lost = 0;
    for (auto &p : pending) {
        const std::string s = shown(p.get());
        EXPECT_TRUE(s == "9" || s == "error -1") << s;
        lost += s == "error -1";
    }
    EXPECT_GE(lost, 200);
}

// A callback sent while hundreds of writes are outstanding is served where
// it arrives: the host is not left waiting, and every write still lands.
TEST(Pipeline, ACallbackArrivingMidPipelineIsServedWhereItArrives) {
    const json rule = {{"proc", 1065}, {"times", 1}, {"then", {{{"proc", "message"}, {"message", "mid"}, {"uint1", 1}}}}};
    Transcript run = runHost({{"requests", {rule}},
                              {"steps", session(CPP_CLASS_CLIENT_PATH, {callback("init", {{"initialization", 6}}),
                                                                         step("wait_request", {{"proc", 1064}})})}});
    ASSERT_EQ(run.status, 0) << run.text();
    EXPECT_TRUE(run.has({"text=\"pipelined ok=500 last=499"})) << run.text();
    EXPECT_TRUE(run.has({"text=\"message [mid] 1 0"})) << run.text();
    const int message = run.indexOf("name=message");
    const auto writes = run.find({"proc=1065"});
    ASSERT_EQ(writes.size(), 500u);
    EXPECT_LT(run.indexOf(writes.front()), message);
    EXPECT_GT(run.indexOf(writes.back()), message);
    EXPECT_TRUE(run.find({"name=message", "-> ok"}).size() == 1) << run.text();
}

// A host on a socket of the test's own that answers the first `good` calls
// and then replies with an id nobody sent.
class StrayHost {
  public:
    explicit StrayHost(int good) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a = {};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(listener_, reinterpret_cast<sockaddr *>(&a), sizeof a);
        listen(listener_, 1);
        socklen_t len = sizeof address_;
        getsockname(listener_, reinterpret_cast<sockaddr *>(&address_), &len);
        thread_ = std::thread([this, good] { serve(good); });
    }
    ~StrayHost() {
        shutdown(listener_, SHUT_RDWR);
        thread_.join();
        close(listener_);
    }
    sockaddr_in address_ = {};

  private:
    void serve(int good) {
        const int fd = accept(listener_, nullptr, nullptr);
        if (fd < 0) return;
        tarnel::wire::RecordReader reader(1 << 20);
        char buf[4096];
        for (int n = 0;;) {
            const ssize_t got = read(fd, buf, sizeof buf);
            if (got <= 0) break;
            for (std::size_t at = 0; at < static_cast<std::size_t>(got);) {
                std::size_t used = 0;
                if (reader.take(buf + at, got - at, used) != tarnel::wire::RecordReader::State::Complete) {
                    at += used;
                    continue;
                }
                at += used;
                std::uint32_t xid;
                std::memcpy(&xid, reader.data(), 4);
                if (n++ >= good) xid = ~xid;
                // xid, REPLY, MSG_ACCEPTED, verifier AUTH_NONE, SUCCESS, then a GetInt reply: status 0, value 3.
                const std::uint32_t words[] = {htonl(0x80000000u | 32), xid, htonl(1), 0, 0, 0, 0, 0, htonl(3)};
                if (write(fd, words, sizeof words) < 0) break;
            }
        }
        close(fd);
    }
    int listener_ = -1;
    std::thread thread_;
};

TEST(Pipeline, AStrayReplyEndsThePipelineWithoutAReply) {
    StrayHost stray(3);
    int sock = RPC_ANYSOCK;
    CLIENT *saved = std::exchange(tarnel_client, clnttcp_create(&stray.address_, 1, 1, &sock, 0, 0));
    ASSERT_NE(tarnel_client, nullptr);
    std::vector<std::string> got;
    {
        Pipeline pipe;
        std::vector<Pending<int>> pending;
        for (int i = 0; i < 8; ++i) pending.push_back(pipe.add(GetInt, 0u, 0u, 200));
        for (auto &p : pending) got.push_back(shown(p.get()));
    }
    clnt_destroy(tarnel_client);
    tarnel_client = saved;
    EXPECT_EQ(got, (std::vector<std::string>{"3", "3", "3", "error -1", "error -1", "error -1", "error -1",
                                             "error -1"}));
}

// C runs: statuses only, every failure counted, the first one named.
TEST(Pipeline, ACRunReportsItsFailures) {
    LibraryHost host(json::array({{{"proc", 1071}, {"status", -40}, {"times", 2}}}));
    char x[] = "x", y[] = "y";
    ASSERT_TRUE(host.ready());
    TA_errno = 0;
    ASSERT_EQ(T_ApiPipelineBegin(), 0);
    T_ApiSetInt(0, 0, 200, 1);
    T_ApiSetString(0, 0, 201, x);  // refused
    EXPECT_EQ(T_ApiDelete(1, 999), 0);  // queued: its refusal comes at the end
    EXPECT_EQ(T_ApiGetInt(0, 0, 200), 1);  // a value request waits for the writes before it
    T_ApiSetString(0, 0, 201, y);  // refused
    EXPECT_EQ(T_ApiModalDialog(1, 0), 0);
    EXPECT_EQ(TA_errno, TA_ERR_NOT_PIPELINABLE);
    TA_errno = 0;
    T_ApiPipelineReportT report;
    EXPECT_EQ(T_ApiPipelineEnd(&report), 3);
    EXPECT_EQ(report.count, 4);
    EXPECT_EQ(report.failed, 3);
    EXPECT_EQ(report.firstIndex, 2);
    EXPECT_EQ(report.firstProc, 1071);
    EXPECT_EQ(report.firstCode, -40);
    EXPECT_EQ(TA_errno, -40);
    EXPECT_EQ(T_ApiPipelineEnd(nullptr), -1);
    EXPECT_FALSE(served(host, 1316));
    // Outside a run the same requests wait again.
    EXPECT_EQ(T_ApiDelete(1, 999), TA_HOST_NO_OBJECT);
}

}  // namespace
}  // namespace tarnel_test
