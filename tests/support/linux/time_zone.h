#pragma once

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

namespace quorvane::linux_inventory::testing {

// Sets the process's local time zone (a POSIX TZ rule, no zone files
// needed) for one scope and puts the previous one back afterwards.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* rule) {
        if (const char* old = std::getenv("TZ")) previous_ = old;
        setenv("TZ", rule, 1);
        tzset();
    }
    ~ScopedTimeZone() {
        if (previous_) {
            setenv("TZ", previous_->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    std::optional<std::string> previous_;
};

// Eastern time with its daylight-saving rule: UTC-5 in winter, UTC-4 in summer.
inline constexpr const char* kEasternTime = "EST5EDT,M3.2.0,M11.1.0";
// Central European time: UTC+1 in winter, UTC+2 in summer.
inline constexpr const char* kCentralEuropeanTime = "CET-1CEST,M3.5.0,M10.5.0/3";

}  // namespace quorvane::linux_inventory::testing
