#pragma once

#include <optional>

#include "inventory/linux/dhcp_lease.h"
#include "inventory/linux/kernel_links.h"

namespace quorvane::linux_inventory {

// The lease the interface's DHCP client holds, chosen by what the machine
// runs: systemd-networkd's state when it has the interface (it lives in /run,
// so only while networkd runs), else the more recently written of dhcpcd's
// lease file and dhclient's lease files. nullopt when none knows the
// interface. Every file is read with a bound; what cannot be read or parsed
// counts as absent.
std::optional<DhcpLease> ReadDhcpLease(const LeaseDirectories& directories, const KernelLink& link);

}  // namespace quorvane::linux_inventory
