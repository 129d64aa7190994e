#include "inventory/linux/leases/lease_files.h"

#include <sys/socket.h>

#include <algorithm>
#include <chrono>
#include <limits>
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

// When the lease ends at the latest; nullopt for one without end. networkd
// records only the lease time, but rewrites its file whenever it takes or
// renews a lease, so the lease ends no later than that long after the
// file's last write.
std::optional<std::int64_t> LatestEnd(const FiledLease& filed) {
    if (filed.lease.expires || !filed.lease.leaseTime) return filed.lease.expires;
    if (filed.written > 0 && *filed.lease.leaseTime > std::numeric_limits<std::int64_t>::max() - filed.written) {
        return std::nullopt;  // beyond any date
    }
    return filed.written + *filed.lease.leaseTime;
}

// A lease describes the link only while the link holds the address it
// assigns and the lease has not ended. A lease file outlives its client:
// ifupdown leaves dhclient's behind when an interface is given a static
// address, and a client that was tried once and removed leaves its own. A
// client whose lease ends stops using the address (RFC 2131, 4.4.5), so an
// address held past its lease's end is held by something else, as when a
// reservation is made static.
bool DescribesLink(const FiledLease& filed, const KernelLink& link, std::int64_t now) {
    if (!filed.lease.address) return false;
    if (const auto end = LatestEnd(filed); end && *end <= now) return false;
    return std::ranges::any_of(link.addresses, [&](const KernelAddress& held) {
        return held.family == AF_INET && AddressText(held) == filed.lease.address;
    });
}

std::optional<FiledLease> NetworkdLease(const std::string& dir, const KernelLink& link, std::int64_t now) {
    const auto file = ReadFileSnapshot(dir + "/" + std::to_string(link.index), kMaxLeaseBytes);
    if (!file) return std::nullopt;
    auto lease = ParseNetworkdLease(file->text);
    if (!lease) return std::nullopt;
    FiledLease filed{std::move(*lease), file->modified};
    if (!DescribesLink(filed, link, now)) return std::nullopt;
    return filed;
}

std::optional<FiledLease> DhcpcdLease(const std::string& dir, const KernelLink& link, std::int64_t now) {
    const auto file = ReadFileSnapshot(dir + "/" + link.name + ".lease", kMaxLeaseBytes);
    if (!file) return std::nullopt;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file->text.data());
    auto lease = ParseDhcpcdLease(std::span<const std::uint8_t>(bytes, file->text.size()), file->modified);
    if (!lease) return std::nullopt;
    FiledLease filed{std::move(*lease), file->modified};
    if (!DescribesLink(filed, link, now)) return std::nullopt;
    return filed;
}

// The newest of dhclient's leases for the link's IPv4 addresses that
// describes it.
const FiledLease* DhclientLease(const DhclientLeaseFolder& folder, const KernelLink& link, std::int64_t now) {
    const FiledLease* newest = nullptr;
    for (const KernelAddress& held : link.addresses) {
        if (held.family != AF_INET) continue;
        const auto address = AddressText(held);
        const FiledLease* lease = address ? folder.Newest(link.name, *address) : nullptr;
        if (lease && DescribesLink(*lease, link, now) && (!newest || Newness(*lease) > Newness(*newest))) {
            newest = lease;
        }
    }
    return newest;
}

std::int64_t SystemNow() {
    return std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

}  // namespace

LeaseFiles::LeaseFiles(LeaseDirectories directories) : LeaseFiles(std::move(directories), SystemNow()) {}

LeaseFiles::LeaseFiles(LeaseDirectories directories, std::int64_t now)
    : directories_(std::move(directories)), now_(now) {}

const DhclientLeaseFolder& LeaseFiles::Dhclient() {
    if (!dhclient_) dhclient_.emplace(directories_.dhclient);
    return *dhclient_;
}

std::optional<DhcpLease> LeaseFiles::Of(const KernelLink& link) {
    if (!IsPlainFileName(link.name)) return std::nullopt;
    if (auto networkd = NetworkdLease(directories_.networkd, link, now_)) return std::move(networkd->lease);
    auto dhcpcd = DhcpcdLease(directories_.dhcpcd, link, now_);
    const FiledLease* dhclient = DhclientLease(Dhclient(), link, now_);
    if (dhcpcd && (!dhclient || Newness(*dhcpcd) >= Newness(*dhclient))) return std::move(dhcpcd->lease);
    if (dhclient) return dhclient->lease;
    return std::nullopt;
}

}  // namespace quorvane::linux_inventory
