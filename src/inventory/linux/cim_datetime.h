#pragma once

#include <cstdint>
#include <ctime>
#include <optional>
#include <string>

namespace quorvane::linux_inventory {

// A broken-down local time and its offset from UTC as CIM datetime text,
// yyyymmddHHMMSS.mmmmmm followed by the sign and three digits of the offset
// in minutes ("20070122134359.000000-300"). nullopt when the year does not
// fit four digits or the offset three.
std::optional<std::string> FormatCimDateTime(const std::tm& local, long utcOffsetSeconds);

// Seconds since the epoch as CIM datetime text in the process's local time
// zone (TZ, /etc/localtime), with the offset in force at that instant, so a
// summer date carries the summer offset.
std::optional<std::string> LocalCimDateTime(std::int64_t secondsSinceEpoch);

}  // namespace quorvane::linux_inventory
