#pragma once

#include <functional>
#include <optional>
#include <string_view>

#include "inventory/linux/leases/dhcp_lease.h"

namespace quorvane::linux_inventory {

// The newest IPv4 lease for the interface in the text of an ISC dhclient
// lease file that `accept` takes (any, when it is empty): the last such
// `lease { ... }` block naming it, as dhclient appends them. Read from it:
// fixed-address, option dhcp-server-identifier, dhcp-lease-time,
// domain-name, domain-name-servers and `expire` (UTC "W yyyy/mm/dd
// hh:mm:ss", "epoch N" or "never"); obtained is expire less the lease time.
// Anything else, lease6 blocks included, is skipped; malformed values are
// left out. nullopt when no such lease names the interface.
std::optional<DhcpLease> ParseDhclientLeases(std::string_view text, std::string_view interfaceName,
                                             const std::function<bool(const DhcpLease&)>& accept = {});

// Where a file's first bytes were cut off, the text from its first whole
// lease block on: what comes before may start inside a string or a comment
// and would be misread. The first byte of `cutText` is the one before the
// part to be read, so a block that starts at that part's first byte counts.
std::string_view WholeLeaseBlocks(std::string_view cutText);

}  // namespace quorvane::linux_inventory
