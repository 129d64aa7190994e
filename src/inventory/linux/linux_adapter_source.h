#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "inventory/adapter_source.h"
#include "inventory/linux/kernel/kernel_links.h"
#include "inventory/linux/leases/dhcp_lease.h"

namespace quorvane::linux_inventory {

struct LinuxSourceOptions {
    // The bus NetworkManager and systemd-resolved are asked on; nullopt is
    // the system bus.
    std::optional<std::string> busAddress;
    // The longest any one D-Bus call may take; not positive means 500.
    int timeoutMs = 500;
    // The longest the bus may take to accept, authenticate and greet a
    // connection; a bus slower than that is not used.
    int connectTimeoutMs = 1000;
    // The longest all D-Bus work of one snapshot may take, the connection
    // included; calls that would start later are not made. Not positive
    // (like a connection timeout that is not) means no D-Bus at all.
    int busBudgetMs = 1500;
    std::string resolvConfPath = "/etc/resolv.conf";
    // Where /sys/class/net/IF/device/driver names the kernel driver.
    std::string sysfsNetRoot = "/sys/class/net";
    // udev's records of devices, with the hardware's vendor and model names.
    std::string udevDataDir = "/run/udev/data";
    // The lease files of DHCP clients other than NetworkManager.
    LeaseDirectories leaseDirectories;
    // The interfaces; empty means the kernel of the calling thread's network
    // namespace (ReadKernelLinks).
    std::function<std::vector<KernelLink>()> readLinks;
};

// The adapters of this computer as "Win32_NetworkAdapterConfiguration"
// records: the kernel's interfaces, with what NetworkManager (or, without
// it, systemd-networkd, systemd-resolved or resolv.conf) knows about each.
// Each InstancesOf takes one snapshot; reads on its objects are lookups.
// The D-Bus calls block the calling thread, each for at most the timeout and
// all together for at most the bus budget; like every QtDBus user, the
// program needs a QCoreApplication (or QApplication) first.
class LinuxAdapterSource final : public quorvane::AdapterSource {
public:
    // The real system: the system bus, /etc/resolv.conf, the host's name.
    LinuxAdapterSource();
    explicit LinuxAdapterSource(LinuxSourceOptions options);

    // Throws quorvane::Error for another class name, or (Platform, errno)
    // when the kernel's interfaces cannot be read at all. A missing, failing
    // or silent D-Bus service only leaves its properties Null.
    std::unique_ptr<AdapterEnumeration> InstancesOf(std::u16string_view className) override;

private:
    LinuxSourceOptions options_;
};

}  // namespace quorvane::linux_inventory
