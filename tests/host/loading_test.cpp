// A bad scenario (a document that does not load, an answer a prompt cannot
// take) stops the host at start-up with exit status 2 and a message that
// names the problem.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>

#include "host_calls.h"

namespace host_test {
namespace {

TEST(HostLoading, BadScenariosStopTheHost) {
    const std::string path = "/tmp/hma_bad_" + std::to_string(getpid()) + ".json";
    std::ofstream(path) << "{\"objects\": [";
    struct Case {
        json documents, answers;
        std::string message;
    } cases[] = {
        {{path}, {}, "documents[0]: " + path + ": line 1, column"},
        {{"/no/such/file.json"}, {}, "/no/such/file.json: cannot read the file"},
        {{json{{"colour", 1}}}, {}, "document: unknown key \"colour\""},
        {{json{{"props", {{{"num", 5}}}}}}, {}, "document.props[0]: has no value"},
        {{json{{"props", {{{"num", 5}, {"int", 1}, {"string", "x"}}}}}}, {}, "gives two values"},
        {{json{{"objects", {{{"key", "a"}, {"props", {{{"num", 1051}, {"id", "nowhere"}}}}}}}}},
         {},
         "no object with key \"nowhere\""},
        {{json{{"objects", {{{"key", "a"}, {"text", "ab"}, {"runs", {{{"begin", 1}, {"end", 3}}}}}}}}},
         {},
         "lies outside the object's text"},
        {{json{{"objects", {{{"anchor", {{"object", "document"}, {"offset", 4}}}}}}}},
         {},
         "is not a location in this document"},
        {{}, {{"1010", {{"value", 3}}}}, "answers.1010"},  // a string prompt has no value
        {{}, {{"1050", {{"status", 0}}}}, "takes answers"},
        {{TNHOST_SAMPLE, json{{"name", "x"}}}, {}, ""},  // good documents load
    };
    for (const Case &c : cases) {
        json scenario = {{"grace_ms", 0}, {"connect_service", {{"run", false}}}, {"steps", json::array()}};
        // One braced element is an array under one compiler and a copy under another.
        if (!c.documents.is_null())
            scenario["documents"] = c.documents.is_array() ? c.documents : json::array({c.documents});
        if (!c.answers.is_null()) scenario["answers"] = c.answers;
        Transcript run = runHost(scenario);
        EXPECT_EQ(run.status, c.message.empty() ? 0 : 2) << c.message << "\n" << run.err;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
    std::remove(path.c_str());
}

}  // namespace
}  // namespace host_test
