#pragma once

#include <memory>
#include <string>

#include "inventory/linux/child_process.h"

namespace quorvane::linux_inventory::testing {

// A dbus-daemon of the test's own that serves as the system bus of the
// daemons a test starts (NetworkManager, systemd-networkd): any user may own
// any name, call any method and receive replies, so networkd may answer
// after it has dropped to the systemd-network user. Its socket lives in a
// folder of its own, which goes with this object, as does the daemon.
class PrivateSystemBus {
public:
    PrivateSystemBus();
    ~PrivateSystemBus();
    PrivateSystemBus(const PrivateSystemBus&) = delete;
    PrivateSystemBus& operator=(const PrivateSystemBus&) = delete;

    // Empty when the bus runs; else why not, for GTEST_SKIP.
    [[nodiscard]] const std::string& skipReason() const { return skipReason_; }
    [[nodiscard]] const std::string& address() const { return address_; }

private:
    std::string dir_;
    std::unique_ptr<ChildProcess> daemon_;
    std::string address_;
    std::string skipReason_;
};

}  // namespace quorvane::linux_inventory::testing
