// What a run of the simulated host does: read from a JSON scenario, with a
// few values that command-line options may override. README.md describes
// the format.
#ifndef TNHOST_SCENARIO_H
#define TNHOST_SCENARIO_H

#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include <nlohmann/json_fwd.hpp>

namespace tarnel::host {

struct LaunchSpec {
    std::string id;
    std::string path;
    std::vector<std::string> args;  // "{connect_prog}", "{api_prog}" are replaced
    int number = -1;                // client number: >= 0 forks, negative does not
    std::string name;               // client name (default: the file name of path)
    enum class Tnapix { Valid, Missing, Raw } tnapix = Tnapix::Valid;
    std::string rawTnapix;
    bool decoyHost = false;      // TNAPIX names a stand-in process as the host
    std::optional<int> hostPid;  // TNAPIX names this number as the host
    std::optional<int> callbackProg;
    int callbackVers = 1;
    std::map<std::string, std::string> env;
    bool capture = true;  // capture stdout/stderr into the transcript
};

struct CallbackSpec {
    int proc = 0;
    // Record fields; each procedure sends those of its record.
    int initialization = 0, command = 0, notification = 0, number = 0;
    int int1 = 0, int2 = 0, int3 = 0;
    unsigned objId = 0, uint1 = 0, uint2 = 0;
    std::string text, message;
    bool garbage = false;  // send no argument bytes: no record decodes from nothing
    enum class Expect { Ok, ProcUnavail, GarbageArgs, NoReply, Error, Any } expect = Expect::Ok;
    enum class Over { Auto, None, Any, Value } over = Over::Auto;
    int overValue = 0;
    int timeoutMs = 5000;  // wait for the reply (no_reply: default 500)
    int serveMs = 500;     // when no over is expected: how long to serve afterwards
    int overTimeoutMs = 10000;

    // Whether the host waits for an over request after this callback.
    bool expectsOver() const;
};

struct RequestRule {
    int proc = 0;
    std::string client;              // empty: any client
    std::optional<int> status;       // replaces the reply's leading status / int
    bool drop = false;               // close the connection instead of replying
    std::vector<CallbackSpec> then;  // callbacks to send once the reply is out
    int times = -1;                  // how many requests it applies to (-1: all)
};

// How the simulated user answers one prompt, chooser or question (the
// "answers" key). Which fields a procedure takes is checked when parsing.
struct Answer {
    std::optional<int> status, value, x, y, width, height;
    std::optional<std::string> text;
};

// The answers for one procedure, given in the order they are asked; the last
// one keeps answering once the others are used.
struct AnswerList {
    std::vector<Answer> items;
    std::size_t used = 0;
};

struct ConnectSpec {
    bool run = true;
    int program = 0;  // 0: api program + 0x100000
    int status = 0;
    bool answer108 = true;  // false: procedure 108 is refused (PROC_UNAVAIL)
    std::string launchId;   // session the attach belongs to (default: newest)
    std::optional<int> clientProg, clientVers, hostProg, hostVers, hostPid;
    std::optional<std::string> hostName;
};

struct Step {
    std::string kind;
    std::string where;  // "steps[3]", for messages
    std::string client;
    int timeoutMs = 10000;
    int ms = 0;
    int proc = 0;
    std::optional<int> status;
    std::string role = "client";  // wait_exit: "client" or "launcher"
    std::string stream = "stdout";
    std::string text;
    int count = 1;
    std::shared_ptr<const nlohmann::json> args;  // wait_request, expect_request: what the argument must hold
    std::string file;                            // open: the document file
    std::string document;                        // notify: name or file of an open document
    std::optional<int> sessions;                 // notify: how many sessions must receive it
    LaunchSpec launch;
    CallbackSpec callback;
};

struct Scenario {
    int apiProg = 0;  // 0: derived from the pid
    int apiVers = 1;
    int timeoutS = 60;
    int graceMs = 300;                      // served after the last step
    bool logArgs = false;                   // request lines carry the argument's encoding
    std::vector<nlohmann::json> documents;  // file names or inline descriptions (model.h)
    ConnectSpec connect;
    std::vector<RequestRule> rules;
    std::vector<Step> steps;
    std::map<int, AnswerList> answers;  // procedure -> what the user answers
    std::set<int> forbid;               // procedures no client may call
    bool keepArgs = false;              // a step matches arguments: keep every request's, decoded
};

// JSON text, or the file's JSON; throws std::runtime_error saying where it
// is not valid ("line 3, column 5: ..."), or that the file cannot be read.
nlohmann::json parseJson(const std::string &text);
nlohmann::json readJsonFile(const std::string &path);
// A JSON library error's message without the library's own tag.
std::string jsonErrorText(const std::exception &e);

// Parses a scenario; throws std::runtime_error naming the offending part.
Scenario parseScenario(const nlohmann::json &doc);
// Replaces every "${NAME}" in the scenario's strings by its value (the
// --var option); throws std::runtime_error for a name without one.
void substituteVariables(nlohmann::json &doc, const std::map<std::string, std::string> &vars);
int callbackProcByName(const std::string &name);  // -1 when unknown
const char *callbackName(int proc);
// The next answer for a procedure, or null when the scenario gives none.
const Answer *takeAnswer(Scenario &scenario, int proc);

}  // namespace tarnel::host

#endif
