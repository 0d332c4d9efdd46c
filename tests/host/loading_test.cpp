// Documents given to the host in its scenario: a bad one stops the host at
// start-up with exit status 2 and a message that names the problem.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "host_process.h"

namespace host_test {
namespace {

json quick(json documents) {
    return {{"documents", documents}, {"grace_ms", 0}, {"steps", json::array()}};
}

TEST(HostLoading, BadDocumentsStopTheHost) {
    std::string path = "/tmp/hma_bad_" + std::to_string(getpid()) + ".json";
    std::ofstream(path) << "{\"objects\": [";
    std::string err;
    EXPECT_EQ(runHost(quick({path}), &err), 2);
    EXPECT_NE(err.find("documents[0]: " + path + ": [json.exception.parse_error"), std::string::npos) << err;
    std::remove(path.c_str());

    struct Case {
        json doc;
        const char *message;
    } cases[] = {
        {json{{"colour", 1}}, "document: unknown key \"colour\""},
        {json{{"props", {{{"num", 5}}}}}, "document.props[0]: has no value"},
        {json{{"props", {{{"num", 5}, {"int", 1}, {"string", "x"}}}}}, "gives two values"},
        {json{{"objects", {{{"key", "a"}, {"props", {{{"num", 1051}, {"id", "nowhere"}}}}}}}},
         "no object with key \"nowhere\""},
        {json{{"objects", {{{"key", "a"}, {"text", "ab"}, {"runs", {{{"begin", 1}, {"end", 3}}}}}}}},
         "lies outside the object's text"},
        {json{{"objects", {{{"anchor", {{"object", "document"}, {"offset", 4}}}}}}},
         "is not a location in this document"},
    };
    for (const Case &c : cases) {
        err.clear();
        EXPECT_EQ(runHost(quick({c.doc}), &err), 2) << c.message;
        EXPECT_NE(err.find(c.message), std::string::npos) << err;
    }
    err.clear();
    EXPECT_EQ(runHost(quick({"/no/such/file.json"}), &err), 2);
    EXPECT_NE(err.find("/no/such/file.json: cannot read the file"), std::string::npos) << err;
    err.clear();
    EXPECT_EQ(runHost(quick({TNHOST_SAMPLE, json{{"name", "x"}}}), &err), 0) << err;
}

}  // namespace
}  // namespace host_test
