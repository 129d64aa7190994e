#pragma once

#include <QString>
#include <memory>
#include <string>

#include "support/linux/child_process.h"
#include "support/linux/temp_folder.h"

namespace quorvane::linux_inventory::testing {

// A dbus-daemon of the test's own, for mocks and for the daemons a test
// starts (NetworkManager, systemd-networkd), which take it as their session
// or system bus by its address. Any user may own any name, call any method
// and receive replies, so networkd may answer after it has dropped to the
// systemd-network user. Its socket lives in a folder of its own, which goes
// with this object, as does the daemon.
class PrivateBus {
public:
    PrivateBus();
    PrivateBus(const PrivateBus&) = delete;
    PrivateBus& operator=(const PrivateBus&) = delete;

    // Empty when the bus runs; else why not, for GTEST_SKIP.
    [[nodiscard]] const std::string& skipReason() const { return skipReason_; }
    [[nodiscard]] const std::string& address() const { return address_; }

    // Waits up to 15 s until a name has an owner on this bus.
    [[nodiscard]] bool WaitForName(const QString& name) const;

private:
    TempFolder folder_{"bus"};
    std::unique_ptr<ChildProcess> daemon_;  // ends before its folder goes
    std::string address_;
    std::string skipReason_;
};

}  // namespace quorvane::linux_inventory::testing
