#pragma once

#include <arpa/inet.h>

#include <cstdint>
#include <initializer_list>
#include <string_view>

#include "inventory/linux/common/kernel_link.h"

namespace quorvane::linux_inventory::testing {

// An IPv4 or IPv6 address as the kernel reports it, from its text.
inline KernelAddress FakeAddress(const char* text) {
    KernelAddress address;
    address.family = std::string_view(text).find(':') == std::string_view::npos ? AF_INET : AF_INET6;
    inet_pton(address.family, text, address.bytes.data());
    return address;
}

// An interface with these addresses, up unless told otherwise, and a MAC
// address ending in its index, as the kernel would report it.
inline KernelLink FakeLink(std::uint32_t index, const char* name, std::initializer_list<const char*> addresses = {},
                           bool up = true) {
    KernelLink link;
    link.index = index;
    link.name = name;
    link.up = up;
    link.hardwareAddress = {0x52, 0x54, 0, 0, 0, static_cast<std::uint8_t>(index)};
    for (const char* address : addresses) link.addresses.push_back(FakeAddress(address));
    return link;
}

}  // namespace quorvane::linux_inventory::testing
