#pragma once

#include <cstdint>
#include <optional>

#include "inventory/linux/common/kernel_link.h"
#include "inventory/linux/leases/dhclient_lease_folder.h"
#include "inventory/linux/leases/dhcp_lease.h"

namespace quorvane::linux_inventory {

// The DHCP clients' lease files as one snapshot sees them. dhclient keeps
// every interface's leases in the same files, so they are read and parsed
// once, when the first interface asks.
class LeaseFiles {
public:
    // Leases judged by the clock when these are made: one snapshot, one time.
    explicit LeaseFiles(LeaseDirectories directories);
    // Leases judged at `now`, in seconds since the epoch.
    LeaseFiles(LeaseDirectories directories, std::int64_t now);

    // The lease the interface's DHCP client holds, chosen by what the
    // machine runs: systemd-networkd's state when it has the interface (it
    // lives in /run, so only while networkd runs), else the more recent (by
    // Newness) of dhcpcd's lease and dhclient's. Only a live lease counts:
    // one whose address the link holds now and that has not expired (one
    // without end never does); any other counts as absent, so a file left
    // behind never hides a live lease. nullopt when no lease describes the
    // link. Every file is read with a bound; what cannot be read or parsed
    // counts as absent.
    std::optional<DhcpLease> Of(const KernelLink& link);

private:
    const DhclientLeaseFolder& Dhclient();

    LeaseDirectories directories_;
    std::int64_t now_;
    std::optional<DhclientLeaseFolder> dhclient_;
};

}  // namespace quorvane::linux_inventory
