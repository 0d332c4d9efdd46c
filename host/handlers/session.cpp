// Session control: the initial acknowledgement, the over request and
// take-control. These drive the host's view of who holds control.
#include <chrono>

#include "handlers.h"

namespace tnhost {
namespace {

// The session that an acknowledgement with this process number belongs to:
// one that already knows the number (non-forking launch, attach), else the
// oldest forking launch still waiting for its child to report.
ClientSession *sessionForAck(Host &host, pid_t pid) {
    if (ClientSession *c = host.byPid(pid))
        return c;
    for (auto &c : host.clients)
        if (!c->acked && c->forking && c->clientPid < 0)
            return c.get();
    return nullptr;
}

void initAck(Host &host, Request &req, const char *form) {
    int pid = *static_cast<int *>(req.arg);
    req.detail += " pid=" + std::to_string(pid);
    ClientSession *c = req.client && !req.client->acked ? req.client : sessionForAck(host, pid);
    if (!c) {
        req.events.push_back(std::string(form) + " client=? pid=" + std::to_string(pid));
        fail("acknowledgement from unknown process " + std::to_string(pid));
        return;
    }
    req.client = c;
    c->apiFd = req.transport->xp_fd;
    std::string line = std::string(form) + " client=" + c->id + " pid=" + std::to_string(pid);
    // A forking launch hands over to a child, so its number must differ from
    // the launched process's; a non-forking or attached client reports its own.
    bool ok = true;
    if (c->forking && !c->attached) {
        ok = pid != c->launcherPid;
        if (ok)
            c->clientPid = pid;
        else
            line += " mismatch expected=child-of-" + std::to_string(c->launcherPid);
    } else if (c->clientPid >= 0 && pid != c->clientPid) {
        ok = false;
        line += " mismatch expected=" + std::to_string(c->clientPid);
    }
    if (host.timing && c->launcherPid > 0) {
        auto us = std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() -
                                                                        c->launchedAt);
        line += " us=" + std::to_string(us.count());
    }
    c->acked = true;
    req.events.push_back(line);
    if (!ok)
        fail("client " + c->id + " acknowledged with process number " + std::to_string(pid));
}

void initAck5(Host &host, Request &req) { initAck(host, req, "init-ack"); }
void initAck4(Host &host, Request &req) { initAck(host, req, "init-ack-4"); }

void over(Host &, Request &req) {
    int value = *static_cast<int *>(req.arg);
    req.detail += " value=" + std::to_string(value);
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
    req.events.push_back("take-control client=" + req.client->id);
}

}  // namespace

void registerSessionHandlers() {
    registerHandler(1000, initAck5);
    registerHandler(1001, initAck4);
    registerHandler(1002, over);
    registerHandler(1343, takeControl);
}

}  // namespace tnhost
