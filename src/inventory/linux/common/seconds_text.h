#pragma once

#include <charconv>
#include <cstdint>
#include <optional>
#include <string_view>

namespace quorvane::linux_inventory {

// A time in whole seconds written as decimal digits, as DHCP clients and
// NetworkManager record lease times and expiries; nullopt for anything else
// (a sign, blanks, a unit, a number beyond 64 bits).
inline std::optional<std::int64_t> ParseSeconds(std::string_view text) {
    std::int64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc{} || stop != end || value < 0) return std::nullopt;
    return value;
}

}  // namespace quorvane::linux_inventory
