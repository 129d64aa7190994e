#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "inventory/linux/dbus/network_manager.h"
#include "inventory/linux/dbus/networkd.h"
#include "inventory/linux/dbus/resolved.h"
#include "inventory/linux/kernel/kernel_links.h"
#include "inventory/linux/leases/dhcp_lease.h"
#include "inventory/linux/resolv_conf.h"
#include "inventory/value.h"

namespace quorvane::linux_inventory {

// Everything gathered for one snapshot; nullopt marks a source that was not
// there or did not answer.
struct SystemFacts {
    std::vector<KernelLink> links;
    std::optional<std::vector<NmDevice>> networkManager;
    std::optional<std::vector<NetworkdLink>> networkd;
    std::optional<ResolvedConfig> resolved;
    std::optional<ResolverConfig> resolvConf;
    std::optional<std::string> hostName;
    // The kernel driver bound to an interface, by name.
    std::function<std::optional<std::string>(const std::string&)> driverOf;
    // The hardware's vendor and model names, by interface index.
    std::function<std::optional<std::string>(std::uint32_t)> hardwareNameOf;
    // The lease another DHCP client (dhclient, dhcpcd, systemd-networkd)
    // holds for an interface; asked only where NetworkManager does not say
    // whether the interface uses DHCP.
    std::function<std::optional<DhcpLease>(const KernelLink&)> leaseOf;
};

// The thirteen properties of one adapter configuration, Null where the
// system does not know the fact.
struct AdapterRecord {
    Value index;
    Value macAddress;
    Value ipEnabled;
    Value ipAddress;
    Value dhcpEnabled;
    Value dhcpServer;
    Value dhcpLeaseObtained;
    Value dhcpLeaseExpires;
    Value dnsEnabledForWinsResolution;
    Value dnsHostName;
    Value dnsDomain;
    Value description;
    Value dnsServerSearchOrder;
};

// One record per interface but loopback, in interface-index order.
std::vector<AdapterRecord> BuildRecords(const SystemFacts& facts);

// The property of that name (compared without regard to ASCII case, as the
// management service does). Throws quorvane::Error for an unknown name.
const Value& PropertyOf(const AdapterRecord& record, std::u16string_view name);

}  // namespace quorvane::linux_inventory
