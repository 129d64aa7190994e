#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::linux_inventory {

// Declared only, so the facts can be used without the D-Bus headers.
class BusCaller;

// What systemd-networkd publishes about one link it manages; nullopt marks
// a fact it did not publish.
struct NetworkdLink {
    std::uint32_t index = 0;
    // True when networkd runs a DHCPv4 client on the link: it holds a
    // DHCPv4 address or publishes a lease.
    bool dhcp = false;
    // The server the DHCPv4 address came from.
    std::optional<std::string> dhcpServer;
    // Seconds since the epoch.
    std::optional<std::int64_t> leaseObtained;
    std::optional<std::int64_t> leaseExpires;
    std::vector<std::string> dnsServers;
    std::vector<std::string> domains;
};

// networkd keeps lease times on the boot clock (CLOCK_BOOTTIME, in
// microseconds); this turns them into wall-clock seconds.
struct BootClock {
    std::int64_t nowBootUsec = 0;
    std::int64_t nowRealUsec = 0;

    static BootClock Now();
    [[nodiscard]] std::int64_t ToEpochSeconds(std::int64_t bootUsec) const;
};

// The links of a Manager.Describe reply (JSON text: {"Interfaces": [...]}).
// Links networkd leaves unmanaged are left out; what cannot be read leaves
// its fact unset. Exposed for tests.
std::vector<NetworkdLink> ParseNetworkdDescription(std::string_view json, const BootClock& clock);

// One Describe call on networkd's manager object; nullopt when networkd
// does not run or does not answer.
std::optional<std::vector<NetworkdLink>> ReadNetworkd(BusCaller& bus);

}  // namespace quorvane::linux_inventory
