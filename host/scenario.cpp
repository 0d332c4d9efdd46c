// Reading a scenario. Unknown keys are errors, so a misspelt field fails the
// run instead of silently changing what a test checks.
#include "scenario.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>
#include <stdexcept>

#include <wire/callback_table.h>
#include <wire/proctable.h>

#include "record_fields.h"

namespace tarnel::host {
namespace {

using nlohmann::json;


// "steps[3].proc: what"; the top level's keys stand alone.
[[noreturn]] void bad(const std::string &where, const std::string &what) {
    std::string at = where.rfind('.', 0) == 0 ? where.substr(1) : where;
    throw std::runtime_error(at.empty() ? what : at + ": " + what);
}

void checkKeys(const json &obj, const std::string &where, const std::set<std::string> &allowed) {
    if (!obj.is_object()) bad(where, "must be an object");
    for (auto it = obj.begin(); it != obj.end(); ++it)
        if (!allowed.count(it.key())) bad(where, "unknown key \"" + it.key() + "\"");
}

int getInt(const json &obj, const char *key, int fallback, const std::string &where) {
    auto it = obj.find(key);
    if (it == obj.end()) return fallback;
    if (!it->is_number_integer()) bad(where + "." + key, "must be an integer");
    return it->get<int>();
}

unsigned getUInt(const json &obj, const char *key, const std::string &where) {
    auto it = obj.find(key);
    if (it == obj.end()) return 0;
    if (!it->is_number_integer()) bad(where + "." + key, "must be an integer");
    return static_cast<unsigned>(it->get<long long>());
}

std::string getString(const json &obj, const char *key, const std::string &fallback, const std::string &where) {
    auto it = obj.find(key);
    if (it == obj.end()) return fallback;
    if (!it->is_string()) bad(where + "." + key, "must be a string");
    return it->get<std::string>();
}

std::optional<int> getOptInt(const json &obj, const char *key, const std::string &where) {
    if (!obj.contains(key)) return std::nullopt;
    return getInt(obj, key, 0, where);
}

int procOf(const json &v, const std::string &where) {
    if (v.is_number_integer()) return v.get<int>();
    if (v.is_string()) {
        int p = callbackProcByName(v.get<std::string>());
        if (p >= 0) return p;
    }
    bad(where + ".proc", "must be a number or one of null, quit, init, command, message, "
                         "old_notify, dialog_event, notify");
}

const std::set<std::string> kCallbackKeys = {
    "proc",           "garbage", "expect",  "over",  "timeout_ms", "serve_ms",     "over_timeout_ms",
    "initialization", "command", "message", "uint1", "uint2",      "notification", "objId",
    "text",           "number",  "int1",    "int2",  "int3"};

CallbackSpec parseCallback(const json &obj, const std::string &where, bool allowStepKeys) {
    std::set<std::string> keys = kCallbackKeys;
    if (allowStepKeys) {
        keys.insert("do");
        keys.insert("client");
    }
    checkKeys(obj, where, keys);
    CallbackSpec cb;
    if (!obj.contains("proc")) bad(where, "callback needs proc");
    cb.proc = procOf(obj["proc"], where);
    cb.initialization = getInt(obj, "initialization", 0, where);
    cb.command = getInt(obj, "command", 0, where);
    cb.notification = getInt(obj, "notification", 0, where);
    cb.number = getInt(obj, "number", 0, where);
    cb.int1 = getInt(obj, "int1", 0, where);
    cb.int2 = getInt(obj, "int2", 0, where);
    cb.int3 = getInt(obj, "int3", 0, where);
    cb.objId = getUInt(obj, "objId", where);
    cb.uint1 = getUInt(obj, "uint1", where);
    cb.uint2 = getUInt(obj, "uint2", where);
    cb.text = getString(obj, "text", "", where);
    cb.message = getString(obj, "message", "", where);
    if (obj.contains("garbage")) {
        if (!obj["garbage"].is_boolean()) bad(where + ".garbage", "must be true or false");
        cb.garbage = obj["garbage"].get<bool>();
    }
    std::string expect = getString(obj, "expect", "", where);
    if (expect.empty()) {
        using E = CallbackSpec::Expect;
        cb.expect = cb.garbage ? E::GarbageArgs : cb.proc > 7 ? E::ProcUnavail : cb.proc == 5 ? E::NoReply : E::Ok;
    } else if (expect == "ok") {
        cb.expect = CallbackSpec::Expect::Ok;
    } else if (expect == "proc_unavail") {
        cb.expect = CallbackSpec::Expect::ProcUnavail;
    } else if (expect == "garbage_args") {
        cb.expect = CallbackSpec::Expect::GarbageArgs;
    } else if (expect == "no_reply") {
        cb.expect = CallbackSpec::Expect::NoReply;
    } else if (expect == "error") {
        cb.expect = CallbackSpec::Expect::Error;
    } else if (expect == "any") {
        cb.expect = CallbackSpec::Expect::Any;
    } else {
        bad(where + ".expect", "must be ok, proc_unavail, garbage_args, no_reply, error or any");
    }
    if (obj.contains("over")) {
        const json &o = obj["over"];
        if (o.is_boolean())
            cb.over = o.get<bool>() ? CallbackSpec::Over::Any : CallbackSpec::Over::None;
        else if (o.is_number_integer()) {
            cb.over = CallbackSpec::Over::Value;
            cb.overValue = o.get<int>();
        } else
            bad(where + ".over", "must be true, false or the expected value");
    }
    cb.timeoutMs = getInt(obj, "timeout_ms", cb.expect == CallbackSpec::Expect::NoReply ? 500 : 5000, where);
    cb.serveMs = getInt(obj, "serve_ms", 500, where);
    cb.overTimeoutMs = getInt(obj, "over_timeout_ms", 10000, where);
    return cb;
}

LaunchSpec parseLaunch(const json &obj, const std::string &where) {
    checkKeys(obj, where,
              {"do", "client", "path", "args", "number", "name", "tnapix", "host_pid", "callback_program",
               "callback_version", "env", "capture"});
    LaunchSpec l;
    l.id = getString(obj, "client", "", where);
    l.path = getString(obj, "path", "", where);
    if (l.path.empty()) bad(where, "launch needs path");
    if (obj.contains("args")) {
        if (!obj["args"].is_array()) bad(where + ".args", "must be an array of strings");
        for (const json &a : obj["args"]) {
            if (!a.is_string()) bad(where + ".args", "must be an array of strings");
            l.args.push_back(a.get<std::string>());
        }
    }
    l.number = getInt(obj, "number", -1, where);
    std::string base = l.path.substr(l.path.find_last_of('/') + 1);
    l.name = getString(obj, "name", base, where);
    if (obj.contains("tnapix")) {
        const json &t = obj["tnapix"];
        if (t.is_null() || t == "missing")
            l.tnapix = LaunchSpec::Tnapix::Missing;
        else if (t == "valid")
            l.tnapix = LaunchSpec::Tnapix::Valid;
        else if (t.is_object() && t.size() == 1 && t.contains("raw") && t["raw"].is_string()) {
            l.tnapix = LaunchSpec::Tnapix::Raw;
            l.rawTnapix = t["raw"].get<std::string>();
        } else
            bad(where + ".tnapix", "must be \"valid\", \"missing\" or {\"raw\": text}");
    }
    if (obj.contains("host_pid")) {
        const json &h = obj["host_pid"];
        if (h == "decoy")
            l.decoyHost = true;
        else if (h.is_number_integer())
            l.hostPid = h.get<int>();
        else if (h != "self")
            bad(where + ".host_pid", "must be \"self\", \"decoy\" or a number");
    }
    l.callbackProg = getOptInt(obj, "callback_program", where);
    l.callbackVers = getInt(obj, "callback_version", 1, where);
    if (obj.contains("env")) {
        if (!obj["env"].is_object()) bad(where + ".env", "must be an object of strings");
        for (auto it = obj["env"].begin(); it != obj["env"].end(); ++it) {
            if (!it->is_string()) bad(where + ".env", "must be an object of strings");
            l.env[it.key()] = it->get<std::string>();
        }
    }
    if (obj.contains("capture")) {
        if (!obj["capture"].is_boolean()) bad(where + ".capture", "must be true or false");
        l.capture = obj["capture"].get<bool>();
    }
    return l;
}

RequestRule parseRule(const json &obj, const std::string &where) {
    checkKeys(obj, where, {"proc", "client", "status", "drop", "then", "modal_result", "times"});
    RequestRule r;
    r.proc = getInt(obj, "proc", 0, where);
    if (r.proc < 1000) bad(where, "rule needs the procedure number (1000 or more)");
    r.client = getString(obj, "client", "", where);
    r.status = getOptInt(obj, "status", where);
    if (obj.contains("drop")) {
        if (!obj["drop"].is_boolean()) bad(where + ".drop", "must be true or false");
        r.drop = obj["drop"].get<bool>();
    }
    if (obj.contains("then")) {
        if (!obj["then"].is_array()) bad(where + ".then", "must be an array of callbacks");
        int i = 0;
        for (const json &c : obj["then"])
            r.then.push_back(parseCallback(c, where + ".then[" + std::to_string(i++) + "]", false));
    }
    if (obj.contains("modal_result")) {
        CallbackSpec done;
        done.proc = 6;
        done.int3 = getInt(obj, "modal_result", 0, where);
        r.then.push_back(done);
    }
    r.times = getInt(obj, "times", -1, where);
    return r;
}

// The fields each answerable procedure's answer may carry.
const std::map<int, std::set<std::string>> kAnswerFields = {
    {1008, {"value"}},                                // alert: the button pressed
    {1009, {"status", "value"}},                      // prompt for an int
    {1010, {"status", "text"}},                       // prompt for a string
    {1011, {"status", "value"}},                      // prompt for a measurement
    {1012, {"status", "text"}},                       // file chooser (old form)
    {1013, {"status", "value"}},                      // scroll box
    {1017, {"status", "value"}},                      // quick select
    {1028, {"status", "text"}},                       // file chooser
    {1304, {"status", "x", "y"}},                     // prompt for a point
    {1305, {"status", "x", "y", "width", "height"}},  // prompt for a rectangle
    {1372, {"value"}},                                // user cancel
    {1414, {"status"}},                               // interactive selection
};

Answer parseAnswer(const json &obj, const std::set<std::string> &fields, const std::string &where) {
    checkKeys(obj, where, fields);
    Answer a;
    a.status = getOptInt(obj, "status", where);
    a.value = getOptInt(obj, "value", where);
    a.x = getOptInt(obj, "x", where);
    a.y = getOptInt(obj, "y", where);
    a.width = getOptInt(obj, "width", where);
    a.height = getOptInt(obj, "height", where);
    if (obj.contains("text")) a.text = getString(obj, "text", "", where);
    return a;
}

// "answers": {"<proc>": answer or [answer, ...]}.
std::map<int, AnswerList> parseAnswers(const json &obj) {
    if (!obj.is_object()) bad("answers", "must be an object keyed by procedure number");
    std::map<int, AnswerList> answers;
    for (auto it = obj.begin(); it != obj.end(); ++it) {
        std::string where = "answers." + it.key();
        int proc = -1;
        try {
            std::size_t end = 0;
            proc = std::stoi(it.key(), &end);
            if (end != it.key().size()) proc = -1;
        } catch (const std::exception &) {}
        auto fields = kAnswerFields.find(proc);
        if (fields == kAnswerFields.end()) bad(where, "not a procedure that takes answers");
        AnswerList &list = answers[proc];
        if (it->is_array()) {
            if (it->empty()) bad(where, "needs at least one answer");
            int i = 0;
            for (const json &a : *it)
                list.items.push_back(parseAnswer(a, fields->second, where + "[" + std::to_string(i++) + "]"));
        } else {
            list.items.push_back(parseAnswer(*it, fields->second, where));
        }
    }
    return answers;
}

ConnectSpec parseConnect(const json &obj, const std::string &where) {
    checkKeys(obj, where,
              {"run", "program", "status", "answer_108", "client", "clientProg", "clientVers", "hostProg", "hostVers",
               "hostPid", "hostName"});
    ConnectSpec c;
    if (obj.contains("run")) {
        if (!obj["run"].is_boolean()) bad(where + ".run", "must be true or false");
        c.run = obj["run"].get<bool>();
    }
    if (obj.contains("answer_108")) {
        if (!obj["answer_108"].is_boolean()) bad(where + ".answer_108", "must be true or false");
        c.answer108 = obj["answer_108"].get<bool>();
    }
    c.program = getInt(obj, "program", 0, where);
    c.status = getInt(obj, "status", 0, where);
    c.launchId = getString(obj, "client", "", where);
    c.clientProg = getOptInt(obj, "clientProg", where);
    c.clientVers = getOptInt(obj, "clientVers", where);
    c.hostProg = getOptInt(obj, "hostProg", where);
    c.hostVers = getOptInt(obj, "hostVers", where);
    c.hostPid = getOptInt(obj, "hostPid", where);
    if (obj.contains("hostName")) c.hostName = getString(obj, "hostName", "", where);
    return c;
}

Step parseStep(const json &obj, const std::string &where) {
    if (!obj.is_object() || !obj.contains("do") || !obj["do"].is_string())
        bad(where, "a step is an object with \"do\"");
    Step s;
    s.kind = obj["do"].get<std::string>();
    s.where = where;
    if (s.kind == "launch") {
        s.launch = parseLaunch(obj, where);
        s.client = s.launch.id;
        return s;
    }
    if (s.kind == "callback") {
        s.callback = parseCallback(obj, where, true);
        s.client = getString(obj, "client", "", where);
        return s;
    }
    if (s.kind == "open") {
        checkKeys(obj, where, {"do", "file"});
        s.file = getString(obj, "file", "", where);
        if (s.file.empty()) bad(where, "open needs file");
        return s;
    }
    if (s.kind == "notify") {
        checkKeys(obj, where,
                  {"do", "notification", "doc", "objId", "text", "number", "over", "timeout_ms", "over_timeout_ms",
                   "sessions"});
        if (!obj.contains("notification")) bad(where, "notify needs notification");
        if (obj.contains("doc") == obj.contains("objId")) bad(where, "notify needs one of doc and objId");
        json record = obj;
        for (const char *key : {"do", "doc", "sessions"}) record.erase(key);
        record["proc"] = 7;
        s.callback = parseCallback(record, where, false);
        s.document = getString(obj, "doc", "", where);
        s.sessions = getOptInt(obj, "sessions", where);
        return s;
    }
    static const std::map<std::string, std::set<std::string>> keys = {
        {"wait_ack", {"do", "client", "timeout_ms"}},
        {"wait_attach", {"do", "timeout_ms"}},
        {"wait_request", {"do", "client", "proc", "count", "args", "timeout_ms"}},
        {"expect_request", {"do", "client", "proc", "count", "args"}},
        {"serve", {"do", "ms"}},
        {"wait_exit", {"do", "client", "role", "status", "timeout_ms"}},
        {"wait_output", {"do", "client", "stream", "text", "timeout_ms"}},
        {"vanish", {"do", "client"}},
        {"close_callback", {"do", "client"}},
    };
    auto k = keys.find(s.kind);
    if (k == keys.end()) bad(where + ".do", "unknown step \"" + s.kind + "\"");
    checkKeys(obj, where, k->second);
    s.client = getString(obj, "client", "", where);
    s.timeoutMs = getInt(obj, "timeout_ms", 10000, where);
    s.ms = getInt(obj, "ms", 0, where);
    s.proc = getInt(obj, "proc", 0, where);
    s.count = getInt(obj, "count", 1, where);
    s.status = getOptInt(obj, "status", where);
    s.role = getString(obj, "role", "client", where);
    if (s.role != "client" && s.role != "launcher") bad(where + ".role", "must be client or launcher");
    s.stream = getString(obj, "stream", "stdout", where);
    if (s.stream != "stdout" && s.stream != "stderr") bad(where + ".stream", "must be stdout or stderr");
    s.text = getString(obj, "text", "", where);
    if (s.kind == "wait_request" || s.kind == "expect_request") {
        const tarnel::wire::ProcEntry *e = tarnel::wire::findProc(static_cast<u_int>(s.proc));
        if (!obj.contains("proc")) bad(where, s.kind + " needs proc");
        if (!e) bad(where + ".proc", "no procedure " + std::to_string(s.proc) + " in the protocol");
        if (s.count < 0) bad(where + ".count", "must be 0 or more");
        if (obj.contains("args")) {
            if (s.count == 0) bad(where + ".args", "a request that must not come has no arguments to match");
            checkFieldNames(e->argType, obj["args"], where + ".args");
            s.args = std::make_shared<const json>(obj["args"]);
        }
    }
    return s;
}

void substitute(json &node, const std::map<std::string, std::string> &vars, const std::string &where) {
    if (node.is_object()) {
        for (auto it = node.begin(); it != node.end(); ++it) substitute(*it, vars, where + "." + it.key());
    } else if (node.is_array()) {
        for (std::size_t i = 0; i < node.size(); ++i) substitute(node[i], vars, where + "[" + std::to_string(i) + "]");
    } else if (node.is_string()) {
        std::string text = node.get<std::string>(), out;
        std::size_t at = 0;
        for (std::size_t open; (open = text.find("${", at)) != std::string::npos;) {
            std::size_t close = text.find('}', open);
            if (close == std::string::npos) break;
            std::string name = text.substr(open + 2, close - open - 2);
            auto v = vars.find(name);
            if (v == vars.end()) bad(where, "${" + name + "} has no value (--var " + name + "=...)");
            out += text.substr(at, open - at) + v->second;
            at = close + 1;
        }
        node = out + text.substr(at);
    }
}

}  // namespace

json parseJson(const std::string &text) {
    try {
        return json::parse(text);
    } catch (const json::parse_error &e) {
        std::size_t end = std::min<std::size_t>(e.byte ? e.byte - 1 : 0, text.size());
        std::size_t line = 1 + std::count(text.begin(), text.begin() + end, '\n');
        std::size_t column = end - (line > 1 ? text.rfind('\n', end - 1) + 1 : 0) + 1;
        throw std::runtime_error("line " + std::to_string(line) + ", column " + std::to_string(column) +
                                 (end >= text.size() ? ": the JSON text ends too soon" : ": not valid JSON here"));
    }
}

json readJsonFile(const std::string &path) {
    std::ifstream in(path);
    if (!in) throw std::runtime_error("cannot read the file");
    std::stringstream text;
    text << in.rdbuf();
    return parseJson(text.str());
}

std::string jsonErrorText(const std::exception &e) {
    std::string what = e.what();
    if (what.rfind("[json.exception.", 0) == 0 && what.find("] ") != std::string::npos)
        what.erase(0, what.find("] ") + 2);
    return what;
}

void substituteVariables(json &doc, const std::map<std::string, std::string> &vars) { substitute(doc, vars, ""); }

bool CallbackSpec::expectsOver() const {
    if (over == Over::Auto) return expect == Expect::Ok && proc >= 2 && proc <= 7 && proc != 5;
    return over != Over::None;
}

int callbackProcByName(const std::string &name) {
    const tarnel::wire::CallbackEntry *e = tarnel::wire::findCallback(std::string_view(name));
    return e ? e->number : -1;
}

const Answer *takeAnswer(Scenario &scenario, int proc) {
    auto it = scenario.answers.find(proc);
    if (it == scenario.answers.end() || it->second.items.empty()) return nullptr;
    AnswerList &list = it->second;
    std::size_t i = std::min(list.used, list.items.size() - 1);
    if (list.used < list.items.size()) list.used++;
    return &list.items[i];
}

const char *callbackName(int proc) {
    const tarnel::wire::CallbackEntry *e = tarnel::wire::findCallback(proc);
    return e ? e->name : "unknown";
}

Scenario parseScenario(const json &doc) {
    checkKeys(doc, "",
              {"program", "version", "timeout_s", "grace_ms", "log_args", "connect_service", "requests", "steps",
               "answers", "documents", "forbid"});
    Scenario s;
    s.apiProg = getInt(doc, "program", 0, "");
    s.apiVers = getInt(doc, "version", 1, "");
    s.timeoutS = getInt(doc, "timeout_s", 60, "");
    s.graceMs = getInt(doc, "grace_ms", 300, "");
    s.logArgs = doc.value("log_args", false);
    if (doc.contains("connect_service")) s.connect = parseConnect(doc["connect_service"], "connect_service");
    if (doc.contains("requests")) {
        if (!doc["requests"].is_array()) bad("requests", "must be an array");
        int i = 0;
        for (const json &r : doc["requests"]) s.rules.push_back(parseRule(r, "requests[" + std::to_string(i++) + "]"));
    }
    if (doc.contains("answers")) s.answers = parseAnswers(doc["answers"]);
    if (doc.contains("documents")) {
        if (!doc["documents"].is_array()) bad("documents", "must be an array");
        for (const json &d : doc["documents"]) {
            if (!d.is_string() && !d.is_object()) bad("documents", "each is a file name or an inline description");
            s.documents.push_back(d);
        }
    }
    if (doc.contains("steps")) {
        if (!doc["steps"].is_array()) bad("steps", "must be an array");
        int i = 0;
        for (const json &st : doc["steps"]) s.steps.push_back(parseStep(st, "steps[" + std::to_string(i++) + "]"));
    }
    if (doc.contains("forbid")) {
        if (!doc["forbid"].is_array()) bad("forbid", "must be an array of procedure numbers");
        int i = 0;
        for (const json &p : doc["forbid"]) {
            std::string at = "forbid[" + std::to_string(i++) + "]";
            if (!p.is_number_integer() || !tarnel::wire::findProc(p.get<u_int>()))
                bad(at, "not a procedure of the protocol");
            s.forbid.insert(p.get<int>());
        }
    }
    for (const Step &st : s.steps) s.keepArgs |= st.args != nullptr;
    return s;
}

}  // namespace tarnel::host
