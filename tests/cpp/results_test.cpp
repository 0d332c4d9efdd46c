// The C++ forms against the simulated host: for one request of every result
// kind, the value when the host accepts, the error when it refuses and when
// it is gone, and TA_errno left exactly as the caller had it throughout.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>

#include <tarnel/tnapi.hpp>

#include "library_client.h"

namespace tarnel_test {
namespace {

using namespace tarnel;

std::string shown(int v) { return std::to_string(v); }
std::string shown(T_PointT p) { return std::to_string(p.x) + "," + std::to_string(p.y); }
std::string shown(const String &s) { return "\"" + std::string(s.view()) + "\""; }
std::string shown(const Strings &list) {
    std::string out;
    for (const char *s : list) out += std::string(out.empty() ? "" : " ") + s;
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

struct Row {
    const char *kind;
    int proc;
    std::function<std::string()> run;
    std::string accepted, refused;  // the refusal of a plain or answer result is no error
};

TEST(CppForms, EveryResultKindAcceptedRefusedAndLost) {
    const std::vector<Row> rows = {
        {"no result", 1065, [] { return shown(SetInt(0, 0, 200, 42)); }, "ok", kRefused},
        {"value", 1064, [] { return shown(GetInt(0, 0, 200)); }, "42", kRefused},
        {"status", 1015, [] { return shown(Notification(2, 1)); }, "ok", kRefused},
        {"string in", 1071, [] { return shown(SetString(0, 0, 201, std::string_view("hi there").substr(0, 2))); },
         "ok", kRefused},
        {"string value", 1070, [] { return shown(GetString(0, 0, 201)); }, "\"hi\"", kRefused},
        {"list in", 1073, [] { return shown(SetStrings(0, 0, 202, {"a", "b"})); }, "ok", kRefused},
        {"list record", 1072, [] { return shown(GetStrings(0, 0, 202)); }, "[a b]", kRefused},
        {"record", 1304, [] { return shown(PromptPoint(0, 0, 1)); }, "10,20", kRefused},
        {"plain", 1008, [] { return shown(Alert("Careful", 2)); }, "0", "-40"},
        {"answer", 1010, [] { return shown(PromptString("Name?", std::string("none"))); }, "\"yes\"", "declined"},
    };
    const json answers = {{"answers", {{"1010", {{"status", 0}, {"text", "yes"}}}, {"1304", {{"status", 0}, {"x", 10}, {"y", 20}}}}}};
    json refusals = json::array();
    for (const Row &r : rows) refusals.push_back({{"proc", r.proc}, {"status", -40}});
    const auto check = [](const Row &r, const std::string &path, const std::string &expected) {
        SCOPED_TRACE(std::string(r.kind) + " " + path);
        TA_errno = kCallersErrno;
        EXPECT_EQ(r.run(), expected);
        EXPECT_EQ(TA_errno, kCallersErrno);
    };
    {
        LibraryHost host(json::array(), answers);
        ASSERT_TRUE(host.ready()) << host.text();
        for (const Row &r : rows) check(r, "accepted", r.accepted);
    }
    LibraryHost host(refusals, answers);
    ASSERT_TRUE(host.ready()) << host.text();
    for (const Row &r : rows) check(r, "refused", r.refused);
    host.vanish();
    for (const Row &r : rows) check(r, "lost", kLost);
    EXPECT_THROW(GetInt(0, 0, 200).value(), Failure);
}

// Every request function declared in the public headers has its C++ form.
TEST(CppForms, CoverEveryDeclaredRequest) {
    std::set<std::string> declared, covered = {"T_ApiFcodes", "T_Progress", "oldT_ApiChooseFile"};
#define TARNEL_NAME_(name) covered.insert("T_Api" #name);
    TARNEL_REQUESTS(TARNEL_NAME_, TARNEL_NAME_, TARNEL_NAME_)
    const std::regex declaration(R"(^\w[\w ]*[ *]((old)?T_\w+)\()");
    for (const char *part : {"dialogs", "docs", "fonts", "props", "session", "text"}) {
        std::ifstream in(std::string(TARNEL_PUBLIC_HEADERS) + "/tnapi_req_" + part + ".h");
        std::smatch m;
        for (std::string line; std::getline(in, line);)
            if (std::regex_search(line, m, declaration)) declared.insert(m[1]);
    }
    EXPECT_GT(declared.size(), 150u);
    EXPECT_EQ(declared, covered);
}

}  // namespace
}  // namespace tarnel_test
