#pragma once

#include "inventory/linux/linux_adapter_source.h"

namespace quorvane::linux_inventory::testing {

// Options under which the source reads nothing of the host but its kernel's
// links: no bus, resolv.conf, sysfs, udev records or lease files. A test
// points the one it provides at its own.
inline LinuxSourceOptions IsolatedOptions() {
    LinuxSourceOptions options;
    options.busAddress = "unix:path=/nonexistent/quorvane-test-bus";
    options.resolvConfPath = "/nonexistent";
    options.sysfsNetRoot = "/nonexistent";
    options.udevDataDir = "/nonexistent";
    options.leaseDirectories = {"/nonexistent", "/nonexistent", "/nonexistent"};
    return options;
}

}  // namespace quorvane::linux_inventory::testing
