#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::linux_inventory {

// The hardware's vendor and model names that udev looked up in its hardware
// database for a network interface ("Orvane Devices OD-1000 Gigabit
// Network Connection"), from the record DIR/n<ifindex>; nullopt when udev
// keeps no such names (virtual interfaces, machines without udev).
std::optional<std::string> UdevHardwareName(const std::string& udevDataDir, std::uint32_t interfaceIndex);

// The same from the text of one udev record: its E:ID_VENDOR_FROM_DATABASE
// and E:ID_MODEL_FROM_DATABASE lines; the model alone when no vendor is named.
std::optional<std::string> ParseUdevHardwareName(std::string_view record);

}  // namespace quorvane::linux_inventory
