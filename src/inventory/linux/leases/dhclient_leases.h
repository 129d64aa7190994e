#pragma once

#include <string_view>
#include <vector>

#include "inventory/linux/leases/dhcp_lease.h"

namespace quorvane::linux_inventory {

// The IPv4 leases for the interface in the text of an ISC dhclient lease
// file: its `lease { ... }` blocks naming it, oldest first, as dhclient
// appends them. Read from each: fixed-address, option
// dhcp-server-identifier, dhcp-lease-time, domain-name, domain-name-servers
// and `expire` (UTC "W yyyy/mm/dd hh:mm:ss", "epoch N" or "never");
// obtained is expire less the lease time. Anything else, lease6 blocks
// included, is skipped; malformed values are left out.
std::vector<DhcpLease> ParseDhclientLeases(std::string_view text, std::string_view interfaceName);

// Where a file's first bytes were cut off, the text from its first whole
// lease block on: what comes before may start inside a string or a comment
// and would be misread.
std::string_view WholeLeaseBlocks(std::string_view cutText);

}  // namespace quorvane::linux_inventory
