#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "inventory/linux/common/kernel_link.h"

namespace quorvane::linux_inventory {

// Six upper-case hex pairs joined by ":"; nullopt for any other length
// (tunnels, InfiniBand and links without a hardware address).
std::optional<std::string> FormatMac(std::span<const std::uint8_t> hardwareAddress);

// The textual form of one address ("192.0.2.1", "2001:db8::1"); nullopt for
// a family other than IPv4 and IPv6.
std::optional<std::string> AddressText(const KernelAddress& address);

// The same for an address given as family and bytes in network order, as
// D-Bus services send them; nullopt also when the byte count does not match
// the family (4 for IPv4, 16 for IPv6).
std::optional<std::string> AddressText(int family, std::span<const std::uint8_t> bytes);

// True for an IPv4 address in dotted-quad form, as DHCP clients record them.
bool IsIpv4Text(std::string_view text);

// An interface's addresses as texts: IPv4 first, then IPv6 other than
// link-local, then IPv6 link-local; the kernel's order within each group.
std::vector<std::string> OrderedAddressTexts(const std::vector<KernelAddress>& addresses);

}  // namespace quorvane::linux_inventory
