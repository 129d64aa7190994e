#include "inventory/linux/kernel/sysfs_driver.h"

#include <limits.h>
#include <unistd.h>

#include "inventory/linux/common/interface_name.h"

namespace quorvane::linux_inventory {

std::optional<std::string> DriverOfInterface(const std::string& sysfsNetRoot, const std::string& interfaceName) {
    if (!IsPlainFileName(interfaceName)) return std::nullopt;
    const std::string link = sysfsNetRoot + "/" + interfaceName + "/device/driver";
    char target[PATH_MAX];
    const ssize_t n = readlink(link.c_str(), target, sizeof target);
    if (n <= 0 || static_cast<std::size_t>(n) >= sizeof target) return std::nullopt;
    const std::string path(target, static_cast<std::size_t>(n));
    const std::string name = path.substr(path.find_last_of('/') + 1);
    if (name.empty()) return std::nullopt;
    return name;
}

}  // namespace quorvane::linux_inventory
