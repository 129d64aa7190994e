#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quorvane::linux_inventory {

// What the kernel reports of an interface, as plain facts: kernel/ reads
// them, and the other rooms (a lease describes a link by its addresses) and
// the merge into rows use them.

// One address the kernel holds on an interface, in network byte order.
struct KernelAddress {
    int family = 0;  // AF_INET or AF_INET6
    std::array<std::uint8_t, 16> bytes{};

    bool operator==(const KernelAddress&) const = default;
};

// One network interface as the kernel reports it.
struct KernelLink {
    std::uint32_t index = 0;
    std::string name;
    std::vector<std::uint8_t> hardwareAddress;  // empty when the link has none
    bool up = false;                            // administratively up (IFF_UP)
    bool loopback = false;
    std::vector<KernelAddress> addresses;       // in the kernel's order

    bool operator==(const KernelLink&) const = default;
};

}  // namespace quorvane::linux_inventory
