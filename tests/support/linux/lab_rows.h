#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>

#include "inventory/linux/linux_adapter_source.h"
#include "inventory/value.h"
#include "support/linux/dhcp_lab.h"

namespace quorvane::linux_inventory::testing {

// The lab client's one adapter as the source shows it: its DHCP and DNS
// properties and its addresses, by property name.
using LabRow = std::map<std::u16string, Value>;

// How many seconds a lease date the source shows may lie before or after
// dnsmasq's: each side reads its own clock, and a client may date its lease
// from its request or only once it has probed the address.
struct DateWindow {
    std::int64_t before = 3;
    std::int64_t after = 3;
};

// The client namespace's one adapter but loopback, read there with
// `options`; nullopt unless there is exactly one.
std::optional<LabRow> ReadLabRow(const DhcpLab& lab, const LinuxSourceOptions& options);

// True when `shown` is the CIM datetime, in local time, of a second within
// the window around `expected` (seconds since the epoch).
bool ShowsDateNear(const Value& shown, std::int64_t expected, DateWindow window);

// Waits up to 30 s for the row to show the lease dnsmasq handed out, then
// checks DHCP, dnsmasq's server, name server and domain, and the lease's
// dates within the window. The row read last; nullopt (a failure recorded)
// when no lease was shown.
std::optional<LabRow> ExpectLabLeaseShown(const DhcpLab& lab, const LinuxSourceOptions& options, DateWindow window);

}  // namespace quorvane::linux_inventory::testing
