#include "inventory/linux/leases/lease_files.h"

#include <dirent.h>
#include <sys/socket.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "inventory/linux/common/address_text.h"
#include "inventory/linux/common/interface_name.h"
#include "inventory/linux/leases/dhclient_leases.h"
#include "inventory/linux/leases/dhcpcd_lease.h"
#include "inventory/linux/leases/networkd_lease.h"

namespace quorvane::linux_inventory {

namespace {

// networkd's and dhcpcd's files hold one lease (dhcpcd's is one DHCP
// message, at most a few kilobytes). dhclient appends every lease it gets
// and compacts the file when it starts, so a megabyte holds thousands, the
// newest at its end; a machine has one such file per interface at most.
constexpr std::size_t kMaxLeaseBytes = 64 * 1024;
constexpr std::size_t kMaxDhclientBytes = 1 << 20;
constexpr std::size_t kMaxDhclientFiles = 16;

struct Candidate {
    DhcpLease lease;
    std::int64_t written = 0;
};

// A lease describes the link only while the link holds the address it
// assigns. A lease file outlives its client: ifupdown leaves dhclient's
// behind when an interface is given a static address, and a client that
// was tried once and removed leaves its own.
bool DescribesLink(const DhcpLease& lease, const KernelLink& link) {
    if (!lease.address) return false;
    return std::ranges::any_of(link.addresses, [&](const KernelAddress& held) {
        return held.family == AF_INET && AddressText(held) == lease.address;
    });
}

std::optional<Candidate> NetworkdLease(const std::string& dir, const KernelLink& link) {
    const auto file = ReadFileSnapshot(dir + "/" + std::to_string(link.index), kMaxLeaseBytes);
    if (!file) return std::nullopt;
    auto lease = ParseNetworkdLease(file->text);
    if (!lease || !DescribesLink(*lease, link)) return std::nullopt;
    return Candidate{std::move(*lease), file->modified};
}

std::optional<Candidate> DhcpcdLease(const std::string& dir, const KernelLink& link) {
    const auto file = ReadFileSnapshot(dir + "/" + link.name + ".lease", kMaxLeaseBytes);
    if (!file) return std::nullopt;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(file->text.data());
    auto lease = ParseDhcpcdLease(std::span<const std::uint8_t>(bytes, file->text.size()), file->modified);
    if (!lease || !DescribesLink(*lease, link)) return std::nullopt;
    return Candidate{std::move(*lease), file->modified};
}

// dhclient*.leases: ifupdown's dhclient.IFNAME.leases and the default
// dhclient.leases. Each lease block names its interface. Of a file beyond
// the bound, its last part, from its first whole block on; the byte before
// that part is read too, since only it tells whether a block starts right
// where the part does.
std::vector<FileSnapshot> ReadDhclientFiles(const std::string& dir) {
    std::vector<FileSnapshot> files;
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir(dir.c_str()), closedir);
    if (!listing) return files;
    std::size_t seen = 0;
    while (const dirent* entry = readdir(listing.get())) {
        const std::string_view name = entry->d_name;
        if (!name.starts_with("dhclient") || !name.ends_with(".leases")) continue;
        if (++seen > kMaxDhclientFiles) break;
        auto file = ReadFileSnapshot(dir + "/" + std::string(name), kMaxDhclientBytes + 1, BoundedPart::Last);
        if (!file) continue;
        if (file->cut) file->text = std::string(WholeLeaseBlocks(file->text));
        files.push_back(std::move(*file));
    }
    return files;
}

// The newest lease for the link that describes it: of the most recently
// written file that has one, the last such block.
std::optional<Candidate> DhclientLease(const std::vector<FileSnapshot>& files, const KernelLink& link) {
    std::optional<Candidate> newest;
    for (const FileSnapshot& file : files) {
        if (newest && file.modified < newest->written) continue;
        const auto describes = [&](const DhcpLease& lease) { return DescribesLink(lease, link); };
        if (auto lease = ParseDhclientLeases(file.text, link.name, describes)) {
            newest = Candidate{std::move(*lease), file.modified};
        }
    }
    return newest;
}

}  // namespace

const std::vector<FileSnapshot>& LeaseFiles::DhclientFiles() {
    if (!dhclientFiles_) dhclientFiles_ = ReadDhclientFiles(directories_.dhclient);
    return *dhclientFiles_;
}

std::optional<DhcpLease> LeaseFiles::Of(const KernelLink& link) {
    if (!IsPlainFileName(link.name)) return std::nullopt;
    if (auto networkd = NetworkdLease(directories_.networkd, link)) return std::move(networkd->lease);
    auto dhcpcd = DhcpcdLease(directories_.dhcpcd, link);
    auto dhclient = DhclientLease(DhclientFiles(), link);
    if (dhcpcd && (!dhclient || dhcpcd->written >= dhclient->written)) return std::move(dhcpcd->lease);
    if (dhclient) return std::move(dhclient->lease);
    return std::nullopt;
}

}  // namespace quorvane::linux_inventory
