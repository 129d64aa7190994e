#include "inventory/linux/leases/dhcp_lease.h"

namespace quorvane::linux_inventory {

std::optional<std::string> FirstDomainName(std::string_view names) {
    const std::size_t start = names.find_first_not_of(' ');
    if (start == std::string_view::npos) return std::nullopt;
    return std::string(names.substr(start, names.find(' ', start) - start));
}

std::optional<std::int64_t> ObtainedAt(const std::optional<std::int64_t>& expires,
                                       const std::optional<std::int64_t>& leaseTime) {
    if (!expires || !leaseTime || *leaseTime < 0 || *leaseTime > *expires) return std::nullopt;
    return *expires - *leaseTime;
}

std::int64_t Newness(const FiledLease& filed) { return filed.lease.obtained.value_or(filed.written); }

}  // namespace quorvane::linux_inventory
