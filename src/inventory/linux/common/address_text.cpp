#include "inventory/linux/common/address_text.h"

#include <arpa/inet.h>
#include <sys/socket.h>

#include <algorithm>

namespace quorvane::linux_inventory {

std::optional<std::string> FormatMac(std::span<const std::uint8_t> hardwareAddress) {
    if (hardwareAddress.size() != 6) return std::nullopt;
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string text;
    for (const std::uint8_t byte : hardwareAddress) {
        if (!text.empty()) text.push_back(':');
        text.push_back(kHex[byte >> 4]);
        text.push_back(kHex[byte & 0x0F]);
    }
    return text;
}

std::optional<std::string> AddressText(int family, std::span<const std::uint8_t> bytes) {
    const std::size_t width = family == AF_INET ? 4 : family == AF_INET6 ? 16 : 0;
    if (width == 0 || bytes.size() != width) return std::nullopt;
    char buffer[INET6_ADDRSTRLEN] = {};
    if (inet_ntop(family, bytes.data(), buffer, sizeof buffer) == nullptr) return std::nullopt;
    return std::string(buffer);
}

std::optional<std::string> AddressText(const KernelAddress& address) {
    const std::size_t width = address.family == AF_INET ? 4 : 16;
    return AddressText(address.family, std::span<const std::uint8_t>(address.bytes.data(), width));
}

bool IsIpv4Text(std::string_view text) {
    if (text.size() > 15) return false;
    const std::string terminated(text);
    unsigned char bytes[4];
    return inet_pton(AF_INET, terminated.c_str(), bytes) == 1;
}

namespace {

bool IsIpv6LinkLocal(const KernelAddress& a) {
    // fe80::/10
    return a.family == AF_INET6 && a.bytes[0] == 0xFE && (a.bytes[1] & 0xC0) == 0x80;
}

int Rank(const KernelAddress& a) {
    if (a.family == AF_INET) return 0;
    return IsIpv6LinkLocal(a) ? 2 : 1;
}

}  // namespace

std::vector<std::string> OrderedAddressTexts(const std::vector<KernelAddress>& addresses) {
    std::vector<KernelAddress> ordered = addresses;
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const KernelAddress& a, const KernelAddress& b) { return Rank(a) < Rank(b); });
    std::vector<std::string> texts;
    for (const KernelAddress& a : ordered) {
        if (auto text = AddressText(a)) texts.push_back(std::move(*text));
    }
    return texts;
}

}  // namespace quorvane::linux_inventory
