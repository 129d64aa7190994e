#pragma once

#include <arpa/inet.h>

#include <cstdint>
#include <string_view>

#include "inventory/linux/kernel/kernel_links.h"

namespace quorvane::linux_inventory::testing {

// An IPv4 or IPv6 address as the kernel reports it, from its text.
inline KernelAddress FakeAddress(const char* text) {
    KernelAddress address;
    address.family = std::string_view(text).find(':') == std::string_view::npos ? AF_INET : AF_INET6;
    inet_pton(address.family, text, address.bytes.data());
    return address;
}

// An interface that is up with one address and a MAC address ending in its
// index, as the kernel would report it.
inline KernelLink FakeUpLink(std::uint32_t index, const char* name, const char* address) {
    KernelLink link;
    link.index = index;
    link.name = name;
    link.up = true;
    link.hardwareAddress = {0x52, 0x54, 0, 0, 0, static_cast<std::uint8_t>(index)};
    link.addresses.push_back(FakeAddress(address));
    return link;
}

}  // namespace quorvane::linux_inventory::testing
