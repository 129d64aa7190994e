#pragma once

#include <functional>
#include <string_view>

#include "inventory/linux/leases/dhcp_lease.h"

namespace quorvane::linux_inventory {

// Receives each lease of a dhclient lease file with the interface it names.
using DhclientLeaseSink = std::function<void(std::string_view interfaceName, DhcpLease&& lease)>;

// Each IPv4 lease in the text of an ISC dhclient lease file that names its
// interface, in the file's order: the `lease { ... }` blocks, which dhclient
// appends as it gets them. Read from each: fixed-address, option
// dhcp-server-identifier, dhcp-lease-time, domain-name, domain-name-servers
// and `expire` (UTC "W yyyy/mm/dd hh:mm:ss", "epoch N" or "never");
// obtained is expire less the lease time. Anything else, lease6 blocks
// included, is skipped; malformed values are left out.
void ForEachDhclientLease(std::string_view text, const DhclientLeaseSink& take);

// Where a file's first bytes were cut off, the text from its first whole
// lease block on: what comes before may start inside a string or a comment
// and would be misread. The first byte of `cutText` is the one before the
// part to be read, so a block that starts at that part's first byte counts.
std::string_view WholeLeaseBlocks(std::string_view cutText);

}  // namespace quorvane::linux_inventory
