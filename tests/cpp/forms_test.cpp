// The C++ forms against the simulated host: for one request of every result
// kind, the value when the host accepts, the error when it refuses and when
// it is gone, and TA_errno left exactly as the caller had it throughout. A
// client written as a class under the host.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <regex>
#include <set>

#include <tarnel/tnapi.hpp>
#include <tarnel/tnapi_status.h>

#include "library_client.h"

namespace tarnel_test {
namespace {

using namespace tarnel;

std::string shown(int v) { return std::to_string(v); }
std::string shown(T_PointT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
std::string shown(const String &s) { return "\"" + std::string(s.view()) + "\""; }
std::string shown(const Strings &list) {
    std::string out;
    for (const char *s : list) out += s;
    return "[" + out + "]";
}
std::string shown(const std::optional<String> &answer) { return answer ? shown(*answer) : "declined"; }
template <typename T> std::string shown(Result<T> r) {
    if (!r) return "error " + std::to_string(r.code()) + ": " + r.text();
    if constexpr (std::is_void_v<T>)
        return "ok";
    else
        return shown(*r);
}

const std::string kRefused = "error -40: the host refused the request (status -40)";
const std::string kLost = "error -1: the host did not reply";
constexpr int kCallersErrno = 77;

// The refusal of a plain or an answer result is no error.
struct Row {
    int proc;
    std::function<std::string()> run;
    std::string accepted, refused;
};
const char *const kAB[] = {"a", "b"};

TEST(CppForms, EveryResultKindAcceptedRefusedAndLost) {
    const std::vector<Row> rows = {
        {1065, [] { return shown(SetInt(0, 0, 200, 42)); }, "ok", kRefused},  // no result
        {1064, [] { return shown(GetInt(0, 0, 200)); }, "42", kRefused},      // value
        {1015, [] { return shown(Notification(2, 1)); }, "ok", kRefused},     // status
        {1071, [] { return shown(SetString(0, 0, 201, std::string_view("hi!").substr(0, 2))); }, "ok", kRefused},
        {1070, [] { return shown(GetString(0, 0, 201)); }, "\"hi\"", kRefused},
        {1073, [] { return shown(SetStrings(0, 0, 202, kAB)); }, "ok", kRefused},
        {1072, [] { return shown(GetStrings(0, 0, 202)); }, "[ab]", kRefused},                         // list
        {1304, [] { return shown(PromptPoint(0, 0, 1)); }, "10,20", kRefused},                         // record
        {1008, [] { return shown(Alert("Careful", 2)); }, "0", "-40"},                                 // plain
        {1010, [] { return shown(PromptString("Name?", std::string("-"))); }, "\"yes\"", "declined"},  // answer
    };
    const json answers = {
        {"answers", {{"1010", {{"status", 0}, {"text", "yes"}}}, {"1304", {{"status", 0}, {"x", 10}, {"y", 20}}}}}};
    json refusals = json::array();
    for (const Row &r : rows) refusals.push_back({{"proc", r.proc}, {"status", -40}});
    const auto check = [](const Row &r, const std::string &expected) {
        TA_errno = kCallersErrno;
        EXPECT_EQ(r.run(), expected) << r.proc;
        EXPECT_EQ(TA_errno, kCallersErrno) << r.proc;
    };
    {
        LibraryHost host(json::array(), answers);
        ASSERT_TRUE(host.ready()) << host.text();
        for (const Row &r : rows) check(r, r.accepted);
    }
    LibraryHost host(refusals, answers);
    ASSERT_TRUE(host.ready()) << host.text();
    for (const Row &r : rows) check(r, r.refused);
    host.vanish();
    for (const Row &r : rows) check(r, kLost);
    EXPECT_THROW(GetInt(0, 0, 200).value(), Failure);
}

// An error names its request, tells a refusal from a lost reply, and reads
// as a sentence; the expected-style surface passes it on unchanged.
TEST(CppForms, ErrorsSayWhichRequestFailedAndHow) {
    const json refusals = {{{"proc", 1064}, {"status", TA_HOST_NO_PROPERTY}}};
    LibraryHost host(refusals);
    ASSERT_TRUE(host.ready()) << host.text();
    const auto failed = GetInt(0, 0, 200);
    ASSERT_FALSE(failed.has_value());
    EXPECT_TRUE(failed.error().refused());
    EXPECT_EQ(failed.error().status(), TA_HOST_NO_PROPERTY);
    EXPECT_EQ(failed.error().status_name(), "no such property");
    EXPECT_EQ(failed.error().request(), "T_ApiGetInt");
    try {
        (void)failed.value();
        ADD_FAILURE() << "no Failure thrown";
    } catch (const Failure &f) {
        EXPECT_STREQ(f.what(), "T_ApiGetInt: the host refused the request: no such property (status -3)");
    }
    const auto twice = [](int v) { return v * 2; };
    EXPECT_EQ(failed.transform(twice).error().request(), "T_ApiGetInt");
    EXPECT_EQ(failed.and_then([](int) { return GetId(0, 0, 116); }).error().status(), TA_HOST_NO_PROPERTY);
    EXPECT_EQ(failed.or_else([](Error e) { return Result<int>(e.status()); }).value_or(0), TA_HOST_NO_PROPERTY);
    // A dictionary number the host does not know, then the host gone.
    Strings words;
    EXPECT_EQ(Dictionary(0, "a", 7, 0, words).error().message(),
              "T_ApiDictionary: the host refused the request: argument not accepted (status -13)");
    host.vanish();
    const Error lost = SetInt(0, 0, 200, 1).error();
    EXPECT_TRUE(lost.no_reply() && lost.status() == 0 && lost.status_name().empty()) << lost.message();
    EXPECT_EQ(lost.message(), "T_ApiSetInt: the host did not reply");
}

// An output list goes to its owner, which releases what it held first (a
// leak under LSan otherwise); a plain variable receives a number.
TEST(CppForms, OutputsFillTheirOwners) {
    LibraryHost host;
    ASSERT_TRUE(host.ready()) << host.text();
    const char *held[] = {"held", "before"};
    const T_StringsT before = {2, const_cast<StringT *>(held)};
    Strings words(T_ApiCopyStrings(&before));
    for (int round = 0; round < 2; ++round) {
        ASSERT_TRUE(Dictionary(0, "", 0, 0, words).has_value());
        EXPECT_TRUE(words.owns());
        EXPECT_GT(words.size(), 0u);
    }
}

// Every request function declared in the public headers has its C++ form.
TEST(CppForms, CoverEveryDeclaredRequest) {
#define TARNEL_NAME_(name) "T_Api" #name,
    const std::set<std::string> covered = {TARNEL_REQUESTS(TARNEL_NAME_, TARNEL_NAME_, TARNEL_NAME_) "T_ApiFcodes",
                                           "T_Progress", "oldT_ApiChooseFile"};
    std::set<std::string> declared;
    std::smatch m;
    for (const char *part : {"dialogs", "docs", "fonts", "props", "session", "text"}) {
        std::ifstream in(std::string(TARNEL_PUBLIC_HEADERS) + "/tnapi_req_" + part + ".h");
        for (std::string line; std::getline(in, line);)
            if (std::regex_search(line, m, std::regex(R"(^\w[\w ]*[ *]((old)?T_\w+)\()"))) declared.insert(m[1]);
    }
    EXPECT_GT(declared.size(), 150u);
    EXPECT_EQ(declared, covered);
}

TEST(ClassClient, EveryCallbackReachesItsOverride) {
    Transcript run =
        runHost({{"steps",
                  session(CPP_CLASS_CLIENT_PATH,
                          {callback("init", {{"initialization", 4}}),
                           callback("notify", {{"notification", 2}, {"objId", 17}, {"text", "doc"}, {"number", 5}}),
                           callback("notify",
                                    {{"notification", 75}, {"objId", 9}, {"text", "in.doc\x1eout.txt"}, {"number", 3}}),
                           callback("command", {{"command", 13}}), callback("command", {{"command", 7}}),
                           callback("message", {{"message", "hello"}, {"uint1", 1}, {"uint2", 2}}),
                           callback("dialog_event", {{"int1", 3}, {"int2", 4}, {"int3", 5}})})}});
    ASSERT_EQ(run.status, 0) << run.text();
    for (const char *line : {"text=\"init 4", "text=\"notify 2 17 [doc] 5", "text=\"filter 9 [in.doc] [out.txt] 3",
                             "a callback ended by unlucky command",
                             "text=\"command 7 client=", "text=\"message [hello] 1 2", "text=\"dialog 3 4 5"})
        EXPECT_TRUE(run.has({line})) << line << "\n" << run.text();
}

// A C request failing in a callback served inside a modal dialog is the
// callback's own: the dialog's C++ form reports the dialog's result.
TEST(ClassClient, ModalDialogKeepsItsOwnError) {
    const json modal = {
        {"proc", 1316},
        {"then", {{{"proc", "command"}, {"command", 8}}, {{"proc", "dialog_event"}, {"int1", 0}, {"int3", 3}}}}};
    Transcript run = runHost({{"requests", {modal, {{"proc", 1064}, {"status", TA_HOST_NO_PROPERTY}}}},
                              {"steps", session(CPP_CLASS_CLIENT_PATH, {callback("init", {{"initialization", 5}})})}});
    ASSERT_EQ(run.status, 0) << run.text();
    EXPECT_TRUE(run.has({"text=\"c-request errno=-3"})) << run.text();
    EXPECT_TRUE(run.has({"text=\"modal 3 [no failure]"})) << run.text();
}

}  // namespace
}  // namespace tarnel_test
