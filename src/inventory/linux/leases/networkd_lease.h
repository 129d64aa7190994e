#pragma once

#include <optional>
#include <string_view>

#include "inventory/linux/leases/dhcp_lease.h"

namespace quorvane::linux_inventory {

// systemd-networkd's own record of an interface's DHCPv4 lease
// (/run/systemd/netif/leases/IFINDEX, KEY=VALUE lines). networkd calls the
// format private, so only ADDRESS, SERVER_ADDRESS, LIFETIME and DOMAINNAME
// are read; DOMAINNAME is the domain the lease handed out, kept even where
// networkd publishes none for the link (UseDomains=no, its default). The file
// carries no date: networkd rewrites it whenever it saves the link's state,
// so its modification time is not when the lease was obtained; the lease
// time only gives that date together with the expiry networkd publishes.
// nullopt for a text that holds neither ADDRESS nor SERVER_ADDRESS.
std::optional<DhcpLease> ParseNetworkdLease(std::string_view text);

}  // namespace quorvane::linux_inventory
