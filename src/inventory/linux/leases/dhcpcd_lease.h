#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "inventory/linux/leases/dhcp_lease.h"

namespace quorvane::linux_inventory {

// dhcpcd's lease file: the server's DHCP acknowledgement as it arrived (a
// BOOTP message with options), rewritten on each new or renewed lease, so
// the file's modification time `written` is when the lease was obtained.
// Read from it: the address assigned (yiaddr), the server identifier (54),
// lease time (51), name servers (6) and domain name (15), in the options
// field and where option 52 says so in the file and sname fields. nullopt
// for anything that is no such message.
std::optional<DhcpLease> ParseDhcpcdLease(std::span<const std::uint8_t> message, std::int64_t written);

}  // namespace quorvane::linux_inventory
