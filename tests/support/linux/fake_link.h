#pragma once

#include <arpa/inet.h>

#include <cstdint>

#include "inventory/linux/kernel/kernel_links.h"

namespace quorvane::linux_inventory::testing {

// An interface that is up with one IPv4 address and a MAC address ending
// in its index, as the kernel would report it.
inline KernelLink FakeUpLink(std::uint32_t index, const char* name, const char* ipv4) {
    KernelLink link;
    link.index = index;
    link.name = name;
    link.up = true;
    link.hardwareAddress = {0x52, 0x54, 0, 0, 0, static_cast<std::uint8_t>(index)};
    KernelAddress address;
    address.family = AF_INET;
    inet_pton(AF_INET, ipv4, address.bytes.data());
    link.addresses.push_back(address);
    return link;
}

}  // namespace quorvane::linux_inventory::testing
