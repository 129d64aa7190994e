#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::linux_inventory {

// What the stub resolver's configuration file says about name servers.
struct ResolverConfig {
    std::vector<std::string> nameservers;  // in file order, valid addresses only
    std::optional<std::string> domain;     // "domain", else the first "search" entry

    bool operator==(const ResolverConfig&) const = default;
};

// Parses resolv.conf text: "nameserver ADDRESS" lines, and "domain NAME" or
// "search NAME..." lines of which the last one wins, as the resolver reads
// them. Comment lines start with "#" or ";"; unknown keywords are ignored.
ResolverConfig ParseResolvConf(std::string_view text);

// Reads and parses the file; nullopt when it cannot be read.
std::optional<ResolverConfig> ReadResolvConf(const std::string& path);

}  // namespace quorvane::linux_inventory
