#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace quorvane::linux_inventory {

// Declared only, so the facts can be used without the D-Bus headers.
class BusCaller;

// What NetworkManager knows about one of its devices; nullopt marks a fact
// it did not give.
struct NmDevice {
    std::string interfaceName;    // "Interface"
    std::string ipInterfaceName;  // "IpInterface", may differ (ppp0 over a modem)
    std::optional<bool> dhcpEnabled;
    std::optional<std::string> dhcpServer;
    std::optional<std::int64_t> leaseExpiry;  // seconds since the epoch
    std::optional<std::int64_t> leaseTime;    // seconds
    std::optional<std::string> domain;
    // nullopt when the device has no IPv4 configuration; empty when it has
    // one without name servers.
    std::optional<std::vector<std::string>> dnsServers;
    // Vendor and Product are read where a device carries them; NetworkManager's
    // own D-Bus interface names only the driver (its library asks udev for the
    // hardware names, which BuildRecords then does too).
    std::optional<std::string> vendor, product, driver;
};

// Every device NetworkManager lists, read with one GetAll per object.
// nullopt when NetworkManager does not run or does not answer its device
// list; a device whose own properties cannot be read is left out.
std::optional<std::vector<NmDevice>> ReadNetworkManager(BusCaller& bus);

}  // namespace quorvane::linux_inventory
