#pragma once

#include <string_view>

namespace quorvane::linux_inventory {

// True for an interface name that is safe as one file name in a path built
// from it (sysfs links, lease files): not empty, not "." or "..", and
// without '/' or NUL, so it can neither leave its folder nor cut the path.
inline bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string_view::npos &&
           name.find('\0') == std::string_view::npos;
}

}  // namespace quorvane::linux_inventory
