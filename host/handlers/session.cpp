// Client sessions: the initial acknowledgement, the over request and
// take-control (who holds control), what a session asks about itself, the
// notifications it asks for, messages to other clients, function codes and
// hypertext commands. What a session asked for lives in its ClientSession;
// connections that never sent the acknowledgement share
// Host::unacknowledged ("?").
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <climits>
#include <deque>

#include "common.h"

namespace tarnel::host {
namespace {

// ---- Acknowledgement and control -------------------------------------------

// The session that an acknowledgement with this process number belongs to:
// an attach that reported it, one that already knows the number
// (non-forking launch), else the oldest forking launch still waiting for its
// child to report. Attaches come first: their numbers may be another
// machine's and match an ended launch here.
ClientSession *sessionForAck(Host &host, pid_t pid) {
    for (auto &c : host.clients)
        if (!c->acked && c->attached && c->clientPid == pid) return c.get();
    if (ClientSession *c = host.byPid(pid)) return c;
    for (auto &c : host.clients)
        if (!c->acked && c->forking && c->clientPid < 0) return c.get();
    return nullptr;
}

void initAck(Host &host, Request &req, const char *form) {
    int pid = argOf<int>(req);
    req.detail.number("pid", pid);
    ClientSession *c = req.client && !req.client->acked ? req.client : sessionForAck(host, pid);
    if (!c) {
        req.events.push_back(trace::Event(form).word("client", "?").number("pid", pid));
        fail("acknowledgement from unknown process " + std::to_string(pid));
        return;
    }
    req.client = c;
    c->apiFd = req.transport->xp_fd;
    trace::Event line = trace::Event(form).word("client", c->id).number("pid", pid);
    // A forking launch hands over to a child, so its number must differ from
    // the launched process's; a non-forking or attached client reports its own.
    bool ok = true;
    if (c->forking && !c->attached) {
        ok = pid != c->launcherPid;
        if (ok)
            c->clientPid = pid;
        else
            line.flag("mismatch").word("expected", "child-of-" + num(c->launcherPid));
    } else if (c->clientPid >= 0 && pid != c->clientPid) {
        ok = false;
        line.flag("mismatch").number("expected", c->clientPid);
    }
    if (host.timing && c->launcherPid > 0) {
        auto us = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - c->launchedAt);
        line.number("us", us.count());
    }
    c->acked = true;
    req.events.push_back(std::move(line));
    if (!ok) fail("client " + c->id + " acknowledged with process number " + std::to_string(pid));
}

void initAck5(Host &host, Request &req) { initAck(host, req, "init-ack"); }
void initAck4(Host &host, Request &req) { initAck(host, req, "init-ack-4"); }

void over(Host &, Request &req) {
    int value = argOf<int>(req);
    req.detail.number("value", value);
    if (!req.client) {
        fail("over request on a connection that never acknowledged");
        return;
    }
    req.events.push_back(closeControl(*req.client, value));
}

void takeControl(Host &, Request &req) {
    if (!req.client) {
        fail("take-control on a connection that never acknowledged");
        return;
    }
    openControl(*req.client, "take-control", std::nullopt);
    req.events.push_back(trace::Event("take-control").word("client", req.client->id));
}

// ---- What a session asks about itself ----------------------------------------

ClientSession &sessionOf(Host &host, const Request &req) { return req.client ? *req.client : host.unacknowledged; }

void clientNumber(Host &, Request &req) { resOf<int>(req) = req.client ? req.client->launch.number : -1; }

void clientName(Host &, Request &req) {
    std::string name;
    if (req.client) name = req.client->launch.name.empty() ? req.client->id : req.client->launch.name;
    resOf<StringT>(req) = strdup(name.c_str());
}

// A session's directory: the one it set, else its program's directory, else
// the host's working directory.
void clientDirectory(Host &host, Request &req) {
    const ClientSession &c = sessionOf(host, req);
    std::string dir;
    if (c.directory) {
        dir = *c.directory;
    } else if (auto slash = c.launch.path.rfind('/'); slash != std::string::npos) {
        dir = slash == 0 ? "/" : c.launch.path.substr(0, slash);
    } else {
        char cwd[PATH_MAX];
        dir = getcwd(cwd, sizeof cwd) ? cwd : ".";
    }
    resOf<StringT>(req) = strdup(dir.c_str());
}

void setClientDirectory(Host &host, Request &req) {
    std::string dir = str(argOf<StringT>(req));
    field(req, "dir", dir);
    struct stat sb;
    if (dir.empty())
        replyStatus(req, st::badArgument);
    else if (stat(dir.c_str(), &sb) != 0 || !S_ISDIR(sb.st_mode))
        replyStatus(req, st::noFile);
    else
        sessionOf(host, req).directory = dir;
}

// ---- Other clients and the session's end -----------------------------------

// Hands a text to another client as a message callback, sent from the main
// loop once the caller's reply is out and the receiver holds no control
// opened since.
void callClient(Host &host, Request &req) {
    const auto &a = argOf<ApiTnCallClientArgT>(req);
    std::string name = str(a.str1), text = str(a.str2);
    field(req, "name", name);
    auto &r = resOf<ApiTnGetIntRetT>(req);
    for (auto &c : host.clients) {
        bool named = c->id == name || (!c->launch.name.empty() && c->launch.name == name);
        if (!named || !c->acked || c->disconnected) continue;
        CallbackSpec message;
        message.proc = 4;
        message.message = text;
        c->sequences.push_back({std::deque<CallbackSpec>{message}, c->controls.size()});
        r.value = c->clientPid;
        req.events.push_back(
            trace::Event("call-client").word("client", who(req)).word("target", c->id).text("message", text));
        return;
    }
    r.status = st::notFound;
}

void returnValue(Host &, Request &req) { event(req, "return-value", {{"value", argOf<int>(req)}}); }

// The session ends: it asks for nothing more, and its menus and commands go.
void disconnect(Host &host, Request &req) {
    ClientSession &c = sessionOf(host, req);
    c.disconnected = true;
    c.notifications.clear();
    if (!c.launch.name.empty()) host.keptNotifications.erase(c.launch.name);
    forgetMenusOf(c.id);
    req.events.push_back(trace::Event("disconnect").word("client", c.id));
}

// ---- Notifications, function codes and hypertext ---------------------------

std::string joined(const std::set<int> &numbers) {
    std::string out;
    for (int n : numbers) out += (out.empty() ? "" : ",") + std::to_string(n);
    return out.empty() ? "none" : out;
}

// A change of what the session asks for is also kept under its launch name
// (see Host::keptNotifications).
void notification(Host &host, Request &req) {
    const auto &a = argOf<ApiTnNotificationArgT>(req);
    field(req, "notification", a.notification);
    if (a.notification <= 0) return replyStatus(req, st::badArgument);
    ClientSession &c = sessionOf(host, req);
    auto apply = [&](std::set<int> &numbers) {
        if (a.state)
            numbers.insert(a.notification);
        else
            numbers.erase(a.notification);
    };
    apply(c.notifications);
    if (!c.launch.name.empty()) apply(host.keptNotifications[c.launch.name]);
    field(req, "state", a.state);
    req.detail.word("asked", joined(c.notifications));
}

// Function codes run host functions in order; a negative code is no
// function, and the list is then refused as a whole.
void fcodes(Host &, Request &req) {
    const T_IntsT &codes = argOf<ApiTnFcodesArgT>(req).codes;
    std::string list;
    bool ok = true;
    for (u_int i = 0; i < codes.count; ++i) {
        list += (i ? "," : "") + std::to_string(codes.items[i]);
        ok = ok && codes.items[i] >= 0;
    }
    req.detail.word("codes", list.empty() ? std::string("none") : list);
    if (!ok)
        replyStatus(req, st::badArgument);
    else if (codes.count)
        req.events.push_back(trace::Event("fcodes").word("client", who(req)).word("codes", list));
}

void hypertext(Host &, Request &req) {
    const auto &a = argOf<ApiTnHypertextCommandArgT>(req);
    std::string command = str(a.command);
    if (command.empty()) return replyStatus(req, st::badArgument);
    event(req, "hypertext", {{"doc", a.docId}, {"command", command}});
}

}  // namespace

std::vector<int> adoptKeptNotifications(Host &host, ClientSession &client) {
    auto kept = host.keptNotifications.find(client.launch.name);
    if (!client.launch.name.empty() && kept != host.keptNotifications.end()) client.notifications = kept->second;
    return {client.notifications.begin(), client.notifications.end()};
}

bool asksForNotification(const ClientSession &client, int notification) {
    return !client.disconnected && client.notifications.count(notification);
}

void registerSessionHandlers() {
    registerHandlers({
        {API_TN_INIT_ACK_5, initAck5},
        {API_TN_INIT_ACK_4, initAck4},
        {API_TN_OVER, over},
        {API_TN_TAKE_CONTROL, takeControl},
        {API_CLIENT_NUMBER, clientNumber},
        {API_CLIENT_NAME, clientName},
        {API_CLIENT_DIRECTORY, clientDirectory},
        {API_SET_CLIENT_DIRECTORY, setClientDirectory},
        {API_TN_CALL_CLIENT, callClient},
        {API_TN_RETURN_VALUE, returnValue},
        {API_TN_DISCONNECT_FROM_SESSION, disconnect},
        {API_TN_NOTIFICATION, notification},
        {API_TN_FCODES, fcodes},
        {API_TN_HYPERTEXT_COMMAND, hypertext},
    });
}

}  // namespace tarnel::host
