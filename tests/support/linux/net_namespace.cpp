#include "support/linux/net_namespace.h"

namespace quorvane::linux_inventory::testing {

std::string SystemTool(const std::string& name) {
    for (const char* dir : {"/usr/sbin/", "/sbin/", "/usr/bin/", "/bin/"}) {
        const std::string path = dir + name;
        if (access(path.c_str(), X_OK) == 0) return path;
    }
    return {};
}

}  // namespace quorvane::linux_inventory::testing
