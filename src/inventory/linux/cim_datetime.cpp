#include "inventory/linux/cim_datetime.h"

#include <cstdio>
#include <limits>

namespace quorvane::linux_inventory {

std::optional<std::string> FormatCimDateTime(const std::tm& local, long utcOffsetSeconds) {
    const long year = long{local.tm_year} + 1900;
    if (year < 0 || year > 9999) return std::nullopt;
    // Historic zones have offsets with seconds; CIM counts whole minutes.
    const long offsetMinutes = utcOffsetSeconds / 60;
    const long magnitude = offsetMinutes < 0 ? -offsetMinutes : offsetMinutes;
    if (magnitude > 999) return std::nullopt;
    char buffer[32];
    const int n = std::snprintf(buffer, sizeof buffer, "%04ld%02d%02d%02d%02d%02d.000000%c%03ld", year,
                                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                                offsetMinutes < 0 ? '-' : '+', magnitude);
    if (n != 25) return std::nullopt;
    return std::string(buffer, 25);
}

std::optional<std::string> LocalCimDateTime(std::int64_t secondsSinceEpoch) {
    if (secondsSinceEpoch < std::numeric_limits<std::time_t>::min() ||
        secondsSinceEpoch > std::numeric_limits<std::time_t>::max()) {
        return std::nullopt;
    }
    const auto t = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    if (localtime_r(&t, &local) == nullptr) return std::nullopt;
    return FormatCimDateTime(local, local.tm_gmtoff);
}

}  // namespace quorvane::linux_inventory
