#pragma once

#include <optional>
#include <string_view>

#include "inventory/linux/leases/dhcp_lease.h"

namespace quorvane::linux_inventory {

// The newest IPv4 lease for the interface in the text of an ISC dhclient
// lease file: the last `lease { ... }` block naming it. Read from it: option
// dhcp-server-identifier, dhcp-lease-time, domain-name, domain-name-servers
// and `expire` (UTC "W yyyy/mm/dd hh:mm:ss", "epoch N" or "never");
// obtained is expire less the lease time. Anything else, lease6 blocks
// included, is skipped; malformed values are left out. nullopt when no
// lease names the interface.
std::optional<DhcpLease> ParseDhclientLeases(std::string_view text, std::string_view interfaceName);

}  // namespace quorvane::linux_inventory
