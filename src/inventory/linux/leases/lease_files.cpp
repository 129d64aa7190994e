#include "inventory/linux/leases/lease_files.h"

#include <sys/socket.h>

#include <algorithm>
#include <string>

#include "inventory/linux/common/address_text.h"
#include "inventory/linux/common/bounded_file.h"
#include "inventory/linux/common/interface_name.h"
#include "inventory/linux/leases/dhcpcd_lease.h"
#include "inventory/linux/leases/networkd_lease.h"

namespace quorvane::linux_inventory {

namespace {

// networkd's and dhcpcd's files hold one lease (dhcpcd's is one DHCP
// message, at most a few kilobytes).
constexpr std::size_t kMaxLeaseBytes = 64 * 1024;

// A lease describes the link only while the link holds the address it
// assigns. A lease file outlives its client: ifupdown leaves dhclient's
// behind when an interface is given a static address, and a client that
// was tried once and removed leaves its own.
bool DescribesLink(const FiledLease& filed, const KernelLink& link) {
    if (!filed.lease.address) return false;
    return std::ranges::any_of(link.addresses, [&](const KernelAddress& held) {
        return held.family == AF_INET && AddressText(held) == filed.lease.address;
    });
}

std::optional<FiledLease> NetworkdLease(const std::string& dir, const KernelLink& link) {
    const auto file = ReadFileSnapshot(dir + "/" + std::to_string(link.index), kMaxLeaseBytes);
    if (!file) return std::nullopt;
    auto lease = ParseNetworkdLease(file->text);
    if (!lease) return std::nullopt;
    FiledLease filed{std::move(*lease), file->modified};
    if (!DescribesLink(filed, link)) return std::nullopt;
    return filed;
}

std::optional<FiledLease> DhcpcdLease(const std::string& dir, const KernelLink& link) {
    const auto file = ReadFileSnapshot(dir + "/" + link.name + ".lease", kMaxLeaseBytes);
    if (!file) return std::nullopt;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file->text.data());
    auto lease = ParseDhcpcdLease(std::span<const std::uint8_t>(bytes, file->text.size()), file->modified);
    if (!lease) return std::nullopt;
    FiledLease filed{std::move(*lease), file->modified};
    if (!DescribesLink(filed, link)) return std::nullopt;
    return filed;
}

// The newest of dhclient's leases for the link's IPv4 addresses that
// describes it.
const FiledLease* DhclientLease(const DhclientLeaseFolder& folder, const KernelLink& link) {
    const FiledLease* newest = nullptr;
    for (const KernelAddress& held : link.addresses) {
        if (held.family != AF_INET) continue;
        const auto address = AddressText(held);
        const FiledLease* lease = address ? folder.Newest(link.name, *address) : nullptr;
        if (lease && DescribesLink(*lease, link) && (!newest || Newness(*lease) > Newness(*newest))) {
            newest = lease;
        }
    }
    return newest;
}

}  // namespace

LeaseFiles::LeaseFiles(LeaseDirectories directories) : directories_(std::move(directories)) {}

const DhclientLeaseFolder& LeaseFiles::Dhclient() {
    if (!dhclient_) dhclient_.emplace(directories_.dhclient);
    return *dhclient_;
}

std::optional<DhcpLease> LeaseFiles::Of(const KernelLink& link) {
    if (!IsPlainFileName(link.name)) return std::nullopt;
    if (auto networkd = NetworkdLease(directories_.networkd, link)) return std::move(networkd->lease);
    auto dhcpcd = DhcpcdLease(directories_.dhcpcd, link);
    const FiledLease* dhclient = DhclientLease(Dhclient(), link);
    if (dhcpcd && (!dhclient || Newness(*dhcpcd) >= Newness(*dhclient))) return std::move(dhcpcd->lease);
    if (dhclient) return dhclient->lease;
    return std::nullopt;
}

}  // namespace quorvane::linux_inventory
