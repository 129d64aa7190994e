#include "inventory/linux/leases/networkd_lease.h"

#include <string>

#include "inventory/linux/common/address_text.h"
#include "inventory/linux/common/seconds_text.h"

namespace quorvane::linux_inventory {

std::optional<DhcpLease> ParseNetworkdLease(std::string_view text) {
    bool isLease = false;
    DhcpLease lease;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = line.substr(0, equals);
        const std::string_view value = line.substr(equals + 1);
        if (key == "ADDRESS") {
            isLease = true;
            if (IsIpv4Text(value)) lease.address = std::string(value);
        }
        if (key == "SERVER_ADDRESS") {
            isLease = true;
            if (IsIpv4Text(value)) lease.server = std::string(value);
        }
        if (key == "LIFETIME") lease.leaseTime = ParseSeconds(value);
        if (key == "DOMAINNAME") lease.domain = FirstDomainName(value);
    }
    if (!isLease) return std::nullopt;
    return lease;
}

}  // namespace quorvane::linux_inventory
