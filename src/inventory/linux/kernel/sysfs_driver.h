#pragma once

#include <optional>
#include <string>

namespace quorvane::linux_inventory {

// The name of the kernel driver bound to an interface's device, from the
// link ROOT/NAME/device/driver; nullopt for virtual interfaces, which have
// no device, and for names that are no plain file name.
std::optional<std::string> DriverOfInterface(const std::string& sysfsNetRoot, const std::string& interfaceName);

}  // namespace quorvane::linux_inventory
