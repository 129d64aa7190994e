#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::linux_inventory {

// Declared only, so the facts can be used without the D-Bus headers.
class BusCaller;

// The DNS settings systemd-resolved holds, per interface index; index 0
// holds the global ones.
struct ResolvedConfig {
    std::map<std::int32_t, std::vector<std::string>> servers;
    std::map<std::int32_t, std::vector<std::string>> domains;  // search domains, routing-only ones left out
};

// One GetAll on the resolver's manager object; nullopt when it does not run
// or does not answer.
std::optional<ResolvedConfig> ReadResolved(BusCaller& bus);

}  // namespace quorvane::linux_inventory
