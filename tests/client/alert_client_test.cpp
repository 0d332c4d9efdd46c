// The sample client run by the simulated host: which requests each callback
// makes it send, and what it shows.
#include <gtest/gtest.h>

#include "host_launcher.h"

namespace {

using namespace tarnel_test;

// The procedures the client called after its acknowledgement, in order.
std::vector<int> requests(const Transcript &run) {
    std::vector<int> procs;
    for (const std::string &l : run.lines) {
        auto at = l.find(" proc=");
        if (l.rfind("request ", 0) == 0 && at != std::string::npos) {
            int proc = std::stoi(l.substr(at + 6));
            if (proc != 1000) procs.push_back(proc);
        }
    }
    return procs;
}

// A document (id 1 as the run's only one) whose chain holds one object per
// (property 20, property 1050) pair, in order. The last object has no
// property 1051: the failed read ends the chain.
json chainDocument(const std::vector<std::pair<std::string, std::string>> &objects, int qualifies = 1) {
    json doc = {{"name", "t.doc"}, {"props", {{{"num", 110}, {"int", qualifies}}}}, {"objects", json::array()}};
    if (!objects.empty()) doc["props"].push_back({{"num", 116}, {"id", "o0"}});
    for (std::size_t i = 0; i < objects.size(); ++i) {
        json props = {{{"num", 20}, {"string", objects[i].first}}, {{"num", 1050}, {"string", objects[i].second}}};
        if (i + 1 < objects.size()) props.push_back({{"num", 1051}, {"id", "o" + std::to_string(i + 1)}});
        doc["objects"].push_back({{"key", "o" + std::to_string(i)}, {"props", props}});
    }
    return doc;
}

// Launches the client, initialises it with `code` (which must not end it),
// sends the callbacks, then quits it.
Transcript runClient(int code, std::vector<json> callbacks, json doc = nullptr) {
    json steps = session(ALERT_CLIENT_PATH, {callback("init", {{"initialization", code}, {"over", 0}})});
    auto &list = steps.get_ref<json::array_t &>();
    list.insert(list.begin() + 3, callbacks.begin(), callbacks.end());
    json scenario = {{"steps", steps}};
    if (!doc.is_null()) scenario["documents"] = json::array({doc});
    return runHost(scenario);
}

json notify(int notification, json extra = json::object()) {
    json fields = {{"notification", notification}, {"objId", 1}, {"over", 0}};
    fields.update(extra);
    return callback("notify", fields);
}

// Initialisation code 1 (ask for notification 2, then end) and the alert
// shown for the first object of a chain are in the example's own test.
TEST(AlertClient, OtherInitialisationCodesSendNothingAndStayUntilQuit) {
    for (int code : {0, 2}) {
        Transcript run = runClient(code, {step("serve", {{"ms", 300}})});
        ASSERT_EQ(run.status, 0) << run.text();
        EXPECT_EQ(requests(run), (std::vector<int>{1002})) << run.text();
        EXPECT_GT(run.indexOf("exit client=c1"), run.indexOf("name=quit")) << run.text();
    }
}

// Per document: the requests the client sends (between its acknowledgement
// and its quit) and the alert it shows, if any.
TEST(AlertClient, WhatEachDocumentMakesItAskAndShow) {
    struct Case {
        const char *what;
        std::vector<json> callbacks;
        json doc;
        std::vector<int> sent;
        std::string alert;
    } cases[] = {
        {"property 110 not 1: only that is asked",
         {notify(2)},
         chainDocument({{"Alert", "hidden"}}, 0),
         {1002, 1064, 1002},
         ""},
        // "alert" and "Alert " differ from "Alert": the whole chain is read.
        {"no exact Alert",
         {notify(2)},
         chainDocument({{"alert", "a"}, {"Alert ", "b"}, {"Note", "c"}}),
         {1002, 1064, 1066, 1070, 1066, 1070, 1066, 1070, 1066, 1002},
         ""},
        {"the first Alert only",
         {notify(2)},
         chainDocument({{"Note", "no"}, {"Alert", "first"}, {"Alert", "second"}}),
         {1002, 1064, 1066, 1070, 1066, 1070, 1070, 1008, 1002},
         "alert client=c1 type=2 text=\"first\""},
        {"other notifications and commands only hand control back",
         {notify(75, {{"text", "in.txt\x1e"
                               "out.txt\x1e"
                               "x"}}),
          notify(1), notify(3), callback("command", {{"command", 2}, {"over", 0}})},
         chainDocument({{"Alert", "never"}}),
         {1002, 1002, 1002, 1002, 1002},
         ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        Transcript run = runClient(0, c.callbacks, c.doc);
        ASSERT_EQ(run.status, 0) << run.text();
        EXPECT_EQ(requests(run), c.sent) << run.text();
        auto alerts = run.find({"alert client="});
        EXPECT_EQ(alerts, c.alert.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.alert})
            << run.text();
    }
}

}  // namespace
