#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::linux_inventory {

// What a DHCP client keeps of the IPv4 lease it holds for one interface;
// nullopt marks a fact its records do not carry.
struct DhcpLease {
    // The address the lease assigns, dotted quad: the lease describes a link
    // only while the link holds it, and only until the lease ends.
    std::optional<std::string> address;
    std::optional<std::string> server;     // the server identifier, dotted quad
    std::optional<std::int64_t> obtained;  // seconds since the epoch
    std::optional<std::int64_t> expires;   // seconds since the epoch; nullopt also for a lease that never ends
    // How long the server granted the lease for, in seconds, where a client
    // records it without either date.
    std::optional<std::int64_t> leaseTime;
    // The name servers and domain the lease hands out; empty / nullopt when
    // the client does not record them.
    std::vector<std::string> dnsServers;
    std::optional<std::string> domain;

    bool operator==(const DhcpLease&) const = default;
};

// A lease with the time its file was last written, for what the lease
// does not date itself.
struct FiledLease {
    DhcpLease lease;
    std::int64_t written = 0;  // seconds since the epoch
};

// How recent a lease is, to rank the leases of one interface: when it was
// obtained, else when its file was last written. A file's time alone would
// misrank a lease in a file that dhclient shares between interfaces, which
// any of them renewing rewrites.
std::int64_t Newness(const FiledLease& filed);

// Where the DHCP clients other than NetworkManager keep their leases.
struct LeaseDirectories {
    // ISC dhclient (ifupdown): dhclient*.leases, a text file of lease blocks.
    std::string dhclient = "/var/lib/dhcp";
    // dhcpcd: IFNAME.lease, the server's last acknowledgement as sent.
    std::string dhcpcd = "/var/lib/dhcpcd";
    // systemd-networkd's own state: one file per interface index.
    std::string networkd = "/run/systemd/netif/leases";

    bool operator==(const LeaseDirectories&) const = default;
};

// When a lease was obtained: its expiry less the time it was granted for.
// nullopt when either is unknown, when the lease time is negative, or when
// it would put the start before the epoch.
std::optional<std::int64_t> ObtainedAt(const std::optional<std::int64_t>& expires,
                                       const std::optional<std::int64_t>& leaseTime);

// The first of the space-separated names a lease gives as its domain;
// nullopt when it gives none.
std::optional<std::string> FirstDomainName(std::string_view names);

}  // namespace quorvane::linux_inventory
