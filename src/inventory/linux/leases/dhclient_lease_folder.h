#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "inventory/linux/leases/dhcp_lease.h"

namespace quorvane::linux_inventory {

// ISC dhclient's lease files in one folder, read and parsed once: ifupdown's
// dhclient.IFNAME.leases and the default dhclient.leases, where each lease
// block names its interface. dhclient6's files hold DHCPv6 leases only and
// are not read. The files are read most recently written first (a running
// client's file is the one it rewrote last), each up to 1 MiB and all
// together up to 16 MiB, so the folder's order never decides which leases are
// seen. Of a file beyond the bound, its last part from its first whole block
// on (dhclient appends, so the newest leases are at its end).
class DhclientLeaseFolder {
public:
    explicit DhclientLeaseFolder(const std::string& dir);

    // The newest lease (by Newness; of equals, the one written later) that
    // names the interface and assigns the address; nullptr when there is
    // none. An older lease of the same address is not kept: the newer one
    // replaced it, even where it ends sooner.
    const FiledLease* Newest(std::string_view interfaceName, std::string_view address) const;

private:
    void Keep(std::string_view interfaceName, FiledLease&& filed);

    // Looks texts up without copying them: every lease block is kept or
    // dropped by two lookups, tens of thousands of times a list.
    struct TextHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    template <typename Value>
    using ByText = std::unordered_map<std::string, Value, TextHash, std::equal_to<>>;
    using ByAddress = ByText<FiledLease>;
    ByText<ByAddress> newest_;  // by interface name
};

}  // namespace quorvane::linux_inventory
