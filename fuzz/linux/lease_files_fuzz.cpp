// Any bytes read as a dhclient lease file, a dhcpcd lease or networkd's
// lease state yield only well-formed facts: addresses that are IPv4
// addresses, a domain that is one non-empty word, an obtained date no later
// than the expiry.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string_view>

#include "inventory/linux/common/address_text.h"
#include "inventory/linux/leases/dhclient_leases.h"
#include "inventory/linux/leases/dhcpcd_lease.h"
#include "inventory/linux/leases/networkd_lease.h"

namespace {

using quorvane::linux_inventory::DhcpLease;

void Check(const std::optional<DhcpLease>& lease) {
    if (!lease) return;
    if (lease->address && !quorvane::linux_inventory::IsIpv4Text(*lease->address)) std::abort();
    if (lease->server && !quorvane::linux_inventory::IsIpv4Text(*lease->server)) std::abort();
    for (const std::string& server : lease->dnsServers) {
        if (!quorvane::linux_inventory::IsIpv4Text(server)) std::abort();
    }
    if (lease->domain && (lease->domain->empty() || lease->domain->find(' ') != std::string::npos)) std::abort();
    if (lease->obtained && lease->expires && *lease->obtained > *lease->expires) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    quorvane::linux_inventory::ForEachDhclientLease(text, [](std::string_view, DhcpLease&& lease) { Check(lease); });
    Check(quorvane::linux_inventory::ParseNetworkdLease(text));
    const auto dhcpcd = quorvane::linux_inventory::ParseDhcpcdLease(std::span(data, size), 1169473439);
    Check(dhcpcd);
    if (dhcpcd && dhcpcd->obtained != 1169473439) std::abort();
    return 0;
}
