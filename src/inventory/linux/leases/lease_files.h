#pragma once

#include <optional>
#include <vector>

#include "inventory/linux/common/bounded_file.h"
#include "inventory/linux/common/kernel_link.h"
#include "inventory/linux/leases/dhcp_lease.h"

namespace quorvane::linux_inventory {

// The DHCP clients' lease files as one snapshot sees them. dhclient keeps
// every interface's leases in the same files, so they are read once, when
// the first interface asks.
class LeaseFiles {
public:
    explicit LeaseFiles(LeaseDirectories directories) : directories_(std::move(directories)) {}

    // The lease the interface's DHCP client holds, chosen by what the
    // machine runs: systemd-networkd's state when it has the interface (it
    // lives in /run, so only while networkd runs), else the more recently
    // written of dhcpcd's lease file and dhclient's lease files. Only a
    // lease whose address the link holds now counts, expired or not; one
    // whose address has gone counts as absent, so a file left behind never
    // hides a live lease. nullopt when no lease describes the link. Every
    // file is read with a bound; what cannot be read or parsed counts as
    // absent.
    std::optional<DhcpLease> Of(const KernelLink& link);

private:
    const std::vector<FileSnapshot>& DhclientFiles();

    LeaseDirectories directories_;
    std::optional<std::vector<FileSnapshot>> dhclientFiles_;
};

}  // namespace quorvane::linux_inventory
