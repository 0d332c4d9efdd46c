// Alerts, prompts, choosers, dialog resources and interactive selection.
//
// The simulated user answers from the scenario's "answers": an answer with
// status 0 and no value accepts what the request offers (the default text,
// default item, first item); with no answer at all the user cancels. A modal
// dialog (1316) is accepted with the status the scenario gives; its end is the
// dialog-event callback that a request rule queues.
#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <utility>

#include "common.h"

namespace tarnel::host {
namespace {

// The user dismissed a prompt or chooser.
constexpr int kCancelled = TA_HOST_CANCELLED;
// Ids of dialog resources and their items lie apart from other objects' ids.
constexpr u_int kFirstResourceId = 0x48000001;
// Items of a dialog are numbered from 0 up to this.
constexpr int kMaxDialogItem = 255;

// The status of an answer: none means the user cancelled.
int statusOf(const Answer *a) { return a ? a->status.value_or(st::ok) : kCancelled; }

std::optional<int> parseInt(const std::string &text) {
    errno = 0;
    char *end = nullptr;
    long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || errno || v < INT_MIN || v > INT_MAX) return std::nullopt;
    return static_cast<int>(v);
}

// A decimal number as a 16.16 measurement.
std::optional<int> parseMetric(const std::string &text) {
    errno = 0;
    char *end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (text.empty() || *end || errno || !std::isfinite(v) || std::fabs(v) >= 32768.0) return std::nullopt;
    return static_cast<int>(std::lround(v * 65536.0));
}

void noteAnswer(Request &req, int status, trace::Node answer) {
    req.detail.add("answer", status ? trace::Node::bare("none") : std::move(answer));
}

// ---- Dialog resources ------------------------------------------------------

struct Resource {
    int type = 0;
    std::string name;
    std::map<int, u_int> items;  // item number -> object id
};

struct Resources {
    std::map<u_int, Resource> byId;
    std::map<std::pair<int, std::string>, u_int> byName;
    u_int next = kFirstResourceId;
};

Resources &resources() {
    static Resources r;
    return r;
}

// ---- Alerts and prompts -----------------------------------------------------

void alert(Host &host, Request &req) {
    const auto &a = argOf<ApiTnAlertArgT>(req);
    const Answer *answer = takeAnswer(host.scenario, 1008);
    resOf<int>(req) = answer && answer->value ? *answer->value : 0;
    event(req, "alert", {{"type", a.int1}, {"text", str(a.message)}});
}

// A number prompt's answer: the answer's value, else the default text read
// as a number; text that is no number is refused.
template <typename Ret>
void numberAnswer(Request &req, const Answer *answer, const char *defaultText,
                  std::optional<int> (*parse)(const std::string &), Ret &r) {
    r.status = statusOf(answer);
    if (!r.status) {
        std::optional<int> v = answer->value ? answer->value : parse(str(defaultText));
        if (v)
            r.value = *v;
        else
            r.status = st::badArgument;
    }
    noteAnswer(req, r.status, trace::Node::number(r.value));
}

// Message, default text.
void promptInt(Host &host, Request &req) {
    const auto &a = argOf<ApiTnPromptArgT>(req);
    req.detail.text("message", str(a.str1));
    numberAnswer(req, takeAnswer(host.scenario, 1009), a.str2, parseInt, resOf<ApiTnPromptIntRetT>(req));
}

void promptString(Host &host, Request &req) {
    const auto &a = argOf<ApiTnPromptArgT>(req);
    auto &r = resOf<ApiTnPromptStringRetT>(req);
    const Answer *answer = takeAnswer(host.scenario, 1010);
    req.detail.text("message", str(a.str1));
    r.status = statusOf(answer);
    if (!r.status) r.text = strdup(answer->text ? answer->text->c_str() : str(a.str2).c_str());
    noteAnswer(req, r.status, trace::Node::quoted(str(r.text)));
}

// Message, default text, unit; the answer is a 16.16 measurement in that
// unit, and the default text a decimal number.
void promptMetric(Host &host, Request &req) {
    const auto &a = argOf<ApiTnPromptMetricArgT>(req);
    req.detail.text("message", str(a.str1)).number("unit", a.int1);
    numberAnswer(req, takeAnswer(host.scenario, 1011), a.str2, parseMetric, resOf<ApiTnPromptMetricRetT>(req));
}

// Title, directory, default name: the default choice is the name in the
// directory.
void chooseFile(Request &req, const Answer *answer, const std::string &title, const std::string &dir,
                const std::string &name, int mode, ApiTnChooseFileRetT &r) {
    req.detail.text("title", title).number("mode", mode);
    r.status = statusOf(answer);
    if (!r.status) {
        std::string choice;
        if (answer->text)
            choice = *answer->text;
        else if (!name.empty())
            choice = dir.empty() ? name : dir + (dir.back() == '/' ? "" : "/") + name;
        if (choice.empty())
            r.status = kCancelled;
        else
            r.text = strdup(choice.c_str());
    }
    noteAnswer(req, r.status, trace::Node::quoted(str(r.text)));
}

void oldChooseFile(Host &host, Request &req) {
    const auto &a = argOf<oldApiTnChooseFileArgT>(req);
    chooseFile(req, takeAnswer(host.scenario, 1012), str(a.str1), str(a.str2), str(a.str3), a.int1,
               resOf<ApiTnChooseFileRetT>(req));
}

// As the older chooser, with a fourth string: the pattern of names offered.
void newChooseFile(Host &host, Request &req) {
    const auto &a = argOf<ApiTnChooseFileArgT>(req);
    req.detail.text("filter", str(a.str4));
    chooseFile(req, takeAnswer(host.scenario, 1028), str(a.str1), str(a.str2), str(a.str3), a.int1,
               resOf<ApiTnChooseFileRetT>(req));
}

// A selection among `count` items: the answer's index, else `fallback`; it
// must name an item.
void selectItem(Request &req, const Answer *answer, u_int count, int fallback, int &status, int &value) {
    status = statusOf(answer);
    if (!status) {
        int index = answer->value ? *answer->value : fallback;
        if (index < 0 || static_cast<u_int>(index) >= count)
            status = st::badArgument;
        else
            value = index;
    }
    noteAnswer(req, status, trace::Node::number(value));
}

// Title, default item, items (numbered from 0).
void scrollBox(Host &host, Request &req) {
    const auto &a = argOf<ApiTnScrollBoxArgT>(req);
    auto &r = resOf<ApiTnScrollBoxRetT>(req);
    req.detail.text("title", str(a.str1)).number("items", a.items.count);
    selectItem(req, takeAnswer(host.scenario, 1013), a.items.count, a.int1, r.status, r.value);
}

// Document, prompt, items; the first item is offered.
void quickSelect(Host &host, Request &req) {
    const auto &a = argOf<ApiTnQuickSelectArgT>(req);
    auto &r = resOf<ApiTnQuickSelectRetT>(req);
    req.detail.text("prompt", str(a.str1)).number("items", a.items.count);
    selectItem(req, takeAnswer(host.scenario, 1017), a.items.count, 0, r.status, r.value);
}

// The point and rectangle prompts name a document and an object; the answer,
// or null with `status` set when the user gave none.
template <typename Arg> const Answer *promptAnswer(Host &host, Request &req, int proc, int &status) {
    const auto &a = argOf<Arg>(req);
    const Answer *answer = takeAnswer(host.scenario, proc);
    req.detail.number("doc", a.uint1).number("obj", a.uint2);
    status = statusOf(answer);
    return status ? nullptr : answer;
}

void promptPoint(Host &host, Request &req) {
    auto &r = resOf<ApiTnPromptPointRetT>(req);
    if (const Answer *answer = promptAnswer<ApiTnPromptPointArgT>(host, req, 1304, r.status))
        r.point = {answer->x.value_or(0), answer->y.value_or(0)};
    noteAnswer(req, r.status, trace::Node::bare(num(r.point.x) + "," + num(r.point.y)));
}

void promptRect(Host &host, Request &req) {
    auto &r = resOf<ApiTnPromptRectRetT>(req);
    if (const Answer *answer = promptAnswer<ApiTnPromptRectArgT>(host, req, 1305, r.status)) {
        r.rect = {answer->x.value_or(0), answer->y.value_or(0), answer->width.value_or(0), answer->height.value_or(0)};
        if (r.rect.width < 0 || r.rect.height < 0) {
            r.rect = {};
            r.status = st::badArgument;
        }
    }
    noteAnswer(req, r.status,
               trace::Node::bare(num(r.rect.x) + "," + num(r.rect.y) + "," + num(r.rect.width) + "," +
                                 num(r.rect.height)));
}

// ---- Dialog resources and dialogs ------------------------------------------

// Type, name: opening the same resource again gives the same id.
void openResource(Host &, Request &req) {
    const auto &a = argOf<ApiTnOpenResourceArgT>(req);
    std::string name = str(a.str1);
    req.detail.number("type", a.int1).text("name", name);
    auto &r = resOf<ApiTnObjRetT>(req);
    if (name.empty() || a.int1 < 0) {
        r.status = st::badArgument;
        return;
    }
    Resources &rs = resources();
    auto key = std::make_pair(a.int1, name);
    auto it = rs.byName.find(key);
    if (it == rs.byName.end()) {
        u_int id = rs.next++;
        rs.byId[id] = {a.int1, name, {}};
        it = rs.byName.emplace(key, id).first;
    }
    r.objId = it->second;
    req.detail.number("id", r.objId);
}

void modalDialog(Host &, Request &req) {
    const auto *a = static_cast<const ApiTnDoDialogArgT *>(req.arg);
    req.detail.number("dialogNum", a->int1).number("dialogId", a->uint1);
}

// A modeless dialog shows an opened resource and returns at once.
void modelessDialog(Host &, Request &req) {
    const auto &a = argOf<ApiTnDoDialogArgT>(req);
    req.detail.number("dialogNum", a.int1).number("dialogId", a.uint1);
    auto it = resources().byId.find(a.uint1);
    if (it == resources().byId.end()) {
        resOf<int>(req) = st::noObject;
        return;
    }
    req.events.push_back(trace::Event("dialog")
                             .word("client", who(req))
                             .flag("modeless")
                             .number("id", a.uint1)
                             .number("num", a.int1)
                             .text("name", it->second.name));
}

// Dialog id, item number: each item gets an id the first time it is asked
// for, and keeps it.
void dialogItemId(Host &, Request &req) {
    const auto &a = argOf<ApiTnDialogItemIdArgT>(req);
    req.detail.number("dialogId", a.uint1).number("item", a.int1);
    auto &r = resOf<ApiTnObjRetT>(req);
    auto it = resources().byId.find(a.uint1);
    if (it == resources().byId.end()) {
        r.status = st::noObject;
        return;
    }
    if (a.int1 < 0 || a.int1 > kMaxDialogItem) {
        r.status = st::badArgument;
        return;
    }
    auto item = it->second.items.find(a.int1);
    if (item == it->second.items.end()) item = it->second.items.emplace(a.int1, resources().next++).first;
    r.objId = item->second;
    req.detail.number("id", r.objId);
}

// The user selects something interactively; the kind is the host's.
void userInteractSelection(Host &host, Request &req) {
    int kind = argOf<ApiTnUserInteractSelectionArgT>(req).int1;
    req.detail.number("kind", kind);
    const Answer *answer = takeAnswer(host.scenario, 1414);
    resOf<int>(req) = answer ? answer->status.value_or(st::ok) : st::ok;
}

}  // namespace

void registerDialogHandlers() {
    registerHandlers({
        {API_TN_ALERT, alert},
        {API_TN_PROMPT_INT, promptInt},
        {API_TN_PROMPT_STRING, promptString},
        {API_TN_PROMPT_METRIC, promptMetric},
        {OLD_API_TN_CHOOSE_FILE, oldChooseFile},
        {API_TN_SCROLL_BOX, scrollBox},
        {API_TN_QUICK_SELECT, quickSelect},
        {API_TN_CHOOSE_FILE, newChooseFile},
        {API_TN_PROMPT_POINT, promptPoint},
        {API_TN_PROMPT_RECT, promptRect},
        {API_TN_OPEN_RESOURCE, openResource},
        {API_TN_MODAL_DIALOG, modalDialog},
        {API_TN_MODELESS_DIALOG, modelessDialog},
        {API_TN_DIALOG_ITEM_ID, dialogItemId},
        {API_TN_USER_INTERACT_SELECTION, userInteractSelection},
    });
}

}  // namespace tarnel::host
