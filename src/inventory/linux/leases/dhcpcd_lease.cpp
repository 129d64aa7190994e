#include "inventory/linux/leases/dhcpcd_lease.h"

#include <arpa/inet.h>

#include <array>
#include <map>
#include <vector>

#include "inventory/linux/common/address_text.h"

namespace quorvane::linux_inventory {

namespace {

// The fixed part of a BOOTP message, then the options' magic cookie.
constexpr std::size_t kYourAddressOffset = 16;
constexpr std::size_t kSnameOffset = 44, kSnameSize = 64;
constexpr std::size_t kFileOffset = 108, kFileSize = 128;
constexpr std::size_t kCookieOffset = 236;
constexpr std::size_t kOptionsOffset = 240;
constexpr std::array<std::uint8_t, 4> kMagicCookie{99, 130, 83, 99};
constexpr std::uint8_t kBootReply = 2;

enum Option : std::uint8_t {
    kPad = 0,
    kNameServers = 6,
    kDomainName = 15,
    kLeaseTime = 51,
    kOverload = 52,
    kServerIdentifier = 54,
    kEnd = 255,
};

using Options = std::map<std::uint8_t, std::vector<std::uint8_t>>;

// Adds the options of one field; an option that appears more than once is
// the concatenation of its parts (long options are split that way). Stops
// at the end option or at an option that runs past the field.
void ReadOptions(std::span<const std::uint8_t> field, Options& options) {
    std::size_t i = 0;
    while (i < field.size()) {
        const std::uint8_t code = field[i];
        if (code == kEnd) return;
        if (code == kPad) {
            ++i;
            continue;
        }
        if (i + 1 >= field.size()) return;
        const std::size_t length = field[i + 1];
        if (length > field.size() - i - 2) return;
        auto& value = options[code];
        value.insert(value.end(), field.begin() + static_cast<std::ptrdiff_t>(i + 2),
                     field.begin() + static_cast<std::ptrdiff_t>(i + 2 + length));
        i += 2 + length;
    }
}

std::optional<std::string> Ipv4At(const std::vector<std::uint8_t>& bytes, std::size_t offset) {
    return AddressText(AF_INET, std::span<const std::uint8_t>(bytes).subspan(offset, 4));
}

std::optional<std::uint32_t> BigEndian32(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() != 4) return std::nullopt;
    return (std::uint32_t{bytes[0]} << 24) | (std::uint32_t{bytes[1]} << 16) | (std::uint32_t{bytes[2]} << 8) |
           std::uint32_t{bytes[3]};
}

// The first of the names in option 15, up to a NUL some servers append.
std::optional<std::string> FirstDomain(const std::vector<std::uint8_t>& bytes) {
    const std::string names(bytes.begin(), bytes.end());
    return FirstDomainName(std::string_view(names).substr(0, names.find('\0')));
}

}  // namespace

std::optional<DhcpLease> ParseDhcpcdLease(std::span<const std::uint8_t> message, std::int64_t written) {
    if (message.size() < kOptionsOffset || message[0] != kBootReply) return std::nullopt;
    if (!std::equal(kMagicCookie.begin(), kMagicCookie.end(), message.begin() + kCookieOffset)) return std::nullopt;

    Options options;
    ReadOptions(message.subspan(kOptionsOffset), options);
    if (const auto overload = options.find(kOverload); overload != options.end() && overload->second.size() == 1) {
        const std::uint8_t fields = overload->second[0];
        if ((fields & 1U) != 0) ReadOptions(message.subspan(kFileOffset, kFileSize), options);
        if ((fields & 2U) != 0) ReadOptions(message.subspan(kSnameOffset, kSnameSize), options);
    }

    DhcpLease lease;
    lease.address = AddressText(AF_INET, message.subspan(kYourAddressOffset, 4));
    if (const auto server = options.find(kServerIdentifier); server != options.end() && server->second.size() == 4) {
        lease.server = Ipv4At(server->second, 0);
    }
    lease.obtained = written;
    if (const auto time = options.find(kLeaseTime); time != options.end()) {
        // All ones is a lease without end.
        const auto seconds = BigEndian32(time->second);
        if (seconds && *seconds != 0xFFFFFFFFU) lease.expires = written + std::int64_t{*seconds};
    }
    if (const auto servers = options.find(kNameServers); servers != options.end()) {
        for (std::size_t i = 0; i + 4 <= servers->second.size(); i += 4) {
            if (auto text = Ipv4At(servers->second, i)) lease.dnsServers.push_back(std::move(*text));
        }
    }
    if (const auto domain = options.find(kDomainName); domain != options.end()) lease.domain = FirstDomain(domain->second);
    return lease;
}

}  // namespace quorvane::linux_inventory
