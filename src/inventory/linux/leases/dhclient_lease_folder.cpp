#include "inventory/linux/leases/dhclient_lease_folder.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <memory>
#include <tuple>
#include <vector>

#include "inventory/linux/common/bounded_file.h"
#include "inventory/linux/leases/dhclient_leases.h"

namespace quorvane::linux_inventory {

namespace {

// dhclient compacts its file when it starts, so a mebibyte holds thousands
// of leases; the folder's bound leaves room for sixteen such files, should
// interfaces come and go.
constexpr std::size_t kMaxFileBytes = 1 << 20;
constexpr std::size_t kMaxFolderBytes = 16 << 20;

bool IsDhclientIpv4File(std::string_view name) {
    return name.starts_with("dhclient") && !name.starts_with("dhclient6") && name.ends_with(".leases");
}

struct FolderEntry {
    std::string path;
    std::int64_t modified = 0;
};

// The folder's dhclient files, most recently written first; of equals, by
// name, so that the folder's own order never matters.
std::vector<FolderEntry> NewestFirst(const std::string& dir) {
    std::vector<FolderEntry> entries;
    const std::unique_ptr<DIR, int (*)(DIR*)> listing(opendir(dir.c_str()), closedir);
    if (!listing) return entries;
    while (const dirent* entry = readdir(listing.get())) {
        if (!IsDhclientIpv4File(entry->d_name)) continue;
        std::string path = dir + "/" + entry->d_name;
        struct stat status {};
        if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) continue;
        entries.push_back({std::move(path), static_cast<std::int64_t>(status.st_mtim.tv_sec)});
    }
    std::ranges::sort(entries, [](const FolderEntry& a, const FolderEntry& b) {
        return std::tie(b.modified, a.path) < std::tie(a.modified, b.path);
    });
    return entries;
}

}  // namespace

DhclientLeaseFolder::DhclientLeaseFolder(const std::string& dir) {
    std::size_t budget = kMaxFolderBytes;
    for (const FolderEntry& entry : NewestFirst(dir)) {
        if (budget == 0) break;
        // The byte before the part read is read too: only it tells whether a
        // block starts right where the part does.
        auto file = ReadFileSnapshot(entry.path, std::min(kMaxFileBytes + 1, budget), BoundedPart::Last);
        if (!file) continue;
        budget -= file->text.size();
        const std::string_view text = file->cut ? WholeLeaseBlocks(file->text) : std::string_view(file->text);
        ForEachDhclientLease(text, [&](std::string_view interfaceName, DhcpLease&& lease) {
            Keep(interfaceName, FiledLease{std::move(lease), file->modified});
        });
    }
}

void DhclientLeaseFolder::Keep(std::string_view interfaceName, FiledLease&& filed) {
    if (!filed.lease.address) return;  // it can describe no link
    auto byName = newest_.find(interfaceName);
    if (byName == newest_.end()) byName = newest_.emplace(std::string(interfaceName), ByAddress{}).first;
    ByAddress& byAddress = byName->second;
    const auto held = byAddress.find(*filed.lease.address);
    if (held == byAddress.end()) {
        byAddress.emplace(*filed.lease.address, std::move(filed));
    } else if (std::tuple(Newness(filed), filed.written) >= std::tuple(Newness(held->second), held->second.written)) {
        // Of equals, the later block of a file: dhclient appends.
        held->second = std::move(filed);
    }
}

const FiledLease* DhclientLeaseFolder::Newest(std::string_view interfaceName, std::string_view address) const {
    const auto byName = newest_.find(interfaceName);
    if (byName == newest_.end()) return nullptr;
    const auto held = byName->second.find(address);
    return held == byName->second.end() ? nullptr : &held->second;
}

}  // namespace quorvane::linux_inventory
