// Other machines for the tests: network namespaces joined to this one by a
// veth pair, and a private RPC binder inside one for a host that runs there.
// Everything is made by root and removed again by the destructors; names
// carry the test process's id, so that a run killed half-way is swept by
// the next one.
#ifndef TARNEL_TEST_NETNS_H
#define TARNEL_TEST_NETNS_H

#include <memory>
#include <string>

#include "peer.h"

namespace tarnel_test {

// A namespace with `lo` up and one veth pair on a /30 of 10.231.0.0/16:
// the inside end holds .1 of the block, this machine's end .2. `index`
// picks the block in this process's /24 (0 to 63), which no other interface
// uses, so that parallel test programs keep apart.
class NetNamespace {
  public:
    explicit NetNamespace(int index);
    ~NetNamespace();
    NetNamespace(const NetNamespace &) = delete;
    NetNamespace &operator=(const NetNamespace &) = delete;

    bool ok() const { return error_.empty(); }
    const std::string &error() const { return error_; }
    const std::string &name() const { return name_; }
    const std::string &inside() const { return inside_; }    // the namespace's address
    const std::string &outside() const { return outside_; }  // this machine's address on the pair
    // Words in front of a command that run it inside.
    Words exec() const { return {"ip", "netns", "exec", name_}; }

  private:
    std::string name_, link_, inside_, outside_, error_;
};

// An RPC binder of the namespace's own, in a private mount namespace (its
// socket and lock files under a /run of its own), so that a program entered
// into both (enter()) registers there and not with this machine's binder.
class NamespaceBinder {
  public:
    explicit NamespaceBinder(const NetNamespace &ns);
    ~NamespaceBinder();

    bool ok() const { return error_.empty(); }
    const std::string &error() const { return error_; }
    Words enter() const;

  private:
    std::unique_ptr<Process> binder_;
    std::string error_;
};

}  // namespace tarnel_test

#endif
