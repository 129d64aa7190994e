#include "inventory/linux/adapter_records.h"

#include <algorithm>
#include <unordered_map>

#include "base/error.h"
#include "inventory/linux/cim_datetime.h"
#include "inventory/linux/common/address_text.h"
#include "inventory/linux/utf16_text.h"

namespace quorvane::linux_inventory {

namespace {

Value TextOrNull(const std::optional<std::string>& text) {
    if (!text || text->empty()) return Null{};
    return Value(Utf16FromUtf8(*text));
}

// An array of texts; Null when empty, as the management service has it.
Value TextArrayOrNull(const std::vector<std::string>& texts) {
    if (texts.empty()) return Null{};
    std::vector<Value> elements;
    elements.reserve(texts.size());
    for (const std::string& text : texts) elements.emplace_back(Utf16FromUtf8(text));
    return Value::Array(std::move(elements));
}

// NetworkManager's devices by interface name, and by IP interface name
// where that differs (ppp0 over a modem); the device's own name wins.
std::unordered_map<std::string, const NmDevice*> DevicesByName(const SystemFacts& facts) {
    std::unordered_map<std::string, const NmDevice*> byName;
    if (!facts.networkManager) return byName;
    for (const NmDevice& device : *facts.networkManager) byName.emplace(device.interfaceName, &device);
    for (const NmDevice& device : *facts.networkManager) {
        if (!device.ipInterfaceName.empty()) byName.emplace(device.ipInterfaceName, &device);
    }
    return byName;
}

// A per-interface entry of systemd-resolved when it has one; the global
// entry only for an interface that can use it.
std::vector<std::string> ResolvedEntries(const std::map<std::int32_t, std::vector<std::string>>& entries,
                                         std::uint32_t index, bool ipEnabled) {
    const auto own = entries.find(static_cast<std::int32_t>(index));
    if (own != entries.end() && !own->second.empty()) return own->second;
    const auto global = entries.find(0);
    if (ipEnabled && global != entries.end()) return global->second;
    return {};
}

// Name servers and domain from the resolver's own configuration, used where
// NetworkManager gives no IPv4 configuration. resolv.conf is system-wide, so
// it is given only to interfaces that are up with an address.
void ResolverFallback(const SystemFacts& facts, const KernelLink& link, bool ipEnabled, AdapterRecord& record) {
    if (facts.resolved) {
        record.dnsServerSearchOrder = TextArrayOrNull(ResolvedEntries(facts.resolved->servers, link.index, ipEnabled));
        const auto domains = ResolvedEntries(facts.resolved->domains, link.index, ipEnabled);
        record.dnsDomain = domains.empty() ? Value(Null{}) : TextOrNull(domains.front());
    } else if (facts.resolvConf && ipEnabled) {
        record.dnsServerSearchOrder = TextArrayOrNull(facts.resolvConf->nameservers);
        record.dnsDomain = TextOrNull(facts.resolvConf->domain);
    }
}

std::optional<std::string> KernelDriver(const SystemFacts& facts, const std::string& name) {
    return facts.driverOf ? facts.driverOf(name) : std::nullopt;
}

std::optional<std::string> HardwareName(const SystemFacts& facts, std::uint32_t index) {
    return facts.hardwareNameOf ? facts.hardwareNameOf(index) : std::nullopt;
}

// The most telling name there is: the hardware's vendor and product (from
// NetworkManager, else from udev), else the driver, else the interface's name.
std::string Description(const SystemFacts& facts, const NmDevice* device, const KernelLink& link) {
    if (device && device->vendor && device->product) return *device->vendor + " " + *device->product;
    if (device && device->product) return *device->product;
    if (auto hardware = HardwareName(facts, link.index)) return *hardware;
    if (device && device->driver) return *device->driver;
    return KernelDriver(facts, link.name).value_or(link.name);
}

std::optional<DhcpLease> LeaseOf(const SystemFacts& facts, const KernelLink& link) {
    return facts.leaseOf ? facts.leaseOf(link) : std::nullopt;
}

Value LocalTimeOrNull(const std::optional<std::int64_t>& secondsSinceEpoch) {
    return secondsSinceEpoch ? TextOrNull(LocalCimDateTime(*secondsSinceEpoch)) : Value(Null{});
}

// A lease held by a client other than NetworkManager: the interface uses
// DHCP. Its name servers and domain serve only an interface that can use
// them and for which the resolver named none.
void FillFromLease(const DhcpLease& lease, bool ipEnabled, AdapterRecord& record) {
    record.dhcpEnabled = Value(true);
    record.dhcpServer = TextOrNull(lease.server);
    record.dhcpLeaseObtained = LocalTimeOrNull(lease.obtained);
    record.dhcpLeaseExpires = LocalTimeOrNull(lease.expires);
    if (!ipEnabled) return;
    if (record.dnsServerSearchOrder.IsNull()) record.dnsServerSearchOrder = TextArrayOrNull(lease.dnsServers);
    if (record.dnsDomain.IsNull()) record.dnsDomain = TextOrNull(lease.domain);
}

void FillFromNetworkManager(const SystemFacts& facts, const NmDevice& device, const KernelLink& link,
                            bool ipEnabled, AdapterRecord& record) {
    record.dhcpEnabled = device.dhcpEnabled ? Value(*device.dhcpEnabled) : Value(Null{});
    record.dhcpServer = TextOrNull(device.dhcpServer);
    if (device.leaseExpiry) {
        record.dhcpLeaseExpires = TextOrNull(LocalCimDateTime(*device.leaseExpiry));
        record.dhcpLeaseObtained = LocalTimeOrNull(ObtainedAt(device.leaseExpiry, device.leaseTime));
    }
    if (device.dnsServers) {
        record.dnsServerSearchOrder = TextArrayOrNull(*device.dnsServers);
        record.dnsDomain = TextOrNull(device.domain);
    } else {
        ResolverFallback(facts, link, ipEnabled, record);
        if (device.domain) record.dnsDomain = TextOrNull(device.domain);
    }
}

const NetworkdLink* NetworkdLinkOf(const SystemFacts& facts, std::uint32_t index) {
    if (!facts.networkd) return nullptr;
    for (const NetworkdLink& link : *facts.networkd) {
        if (link.index == index) return &link;
    }
    return nullptr;
}

// A link networkd manages: its per-link name servers where it has them,
// else the resolver's; its search domain where it has one.
void FillDnsFromNetworkd(const SystemFacts& facts, const NetworkdLink& networkd, const KernelLink& link,
                         bool ipEnabled, AdapterRecord& record) {
    if (networkd.dnsServers.empty()) {
        ResolverFallback(facts, link, ipEnabled, record);
    } else {
        record.dnsServerSearchOrder = TextArrayOrNull(networkd.dnsServers);
    }
    if (!networkd.domains.empty()) record.dnsDomain = TextOrNull(networkd.domains.front());
}

// The DHCP facts networkd publishes take precedence over those read from
// its private lease file; what it does not publish is left as the file had it.
// Where it publishes the expiry but not when the lease was taken (older
// systemd), the file's lease time gives that date: the address's lifetime
// started with the lease.
void FillDhcpFromNetworkd(const NetworkdLink& networkd, const std::optional<DhcpLease>& fileLease,
                          AdapterRecord& record) {
    if (!networkd.dhcp) return;
    record.dhcpEnabled = Value(true);
    if (networkd.dhcpServer) record.dhcpServer = TextOrNull(networkd.dhcpServer);
    std::optional<std::int64_t> obtained = networkd.leaseObtained;
    if (!obtained && fileLease) obtained = ObtainedAt(networkd.leaseExpires, fileLease->leaseTime);
    if (obtained) record.dhcpLeaseObtained = LocalTimeOrNull(obtained);
    if (networkd.leaseExpires) record.dhcpLeaseExpires = LocalTimeOrNull(networkd.leaseExpires);
}

}  // namespace

std::vector<AdapterRecord> BuildRecords(const SystemFacts& facts) {
    std::vector<KernelLink> links = facts.links;
    std::stable_sort(links.begin(), links.end(),
                     [](const KernelLink& a, const KernelLink& b) { return a.index < b.index; });
    const auto devices = DevicesByName(facts);
    std::vector<AdapterRecord> records;
    for (const KernelLink& link : links) {
        if (link.loopback) continue;
        AdapterRecord record;
        record.index = Value(link.index);
        record.macAddress = TextOrNull(FormatMac(link.hardwareAddress));
        const auto addresses = OrderedAddressTexts(link.addresses);
        const bool ipEnabled = link.up && !addresses.empty();
        record.ipEnabled = Value(ipEnabled);
        record.ipAddress = TextArrayOrNull(addresses);
        record.dnsHostName = TextOrNull(facts.hostName);
        const auto found = devices.find(link.name);
        const NmDevice* device = found == devices.end() ? nullptr : found->second;
        const NetworkdLink* networkd = device ? nullptr : NetworkdLinkOf(facts, link.index);
        if (device) {
            FillFromNetworkManager(facts, *device, link, ipEnabled, record);
        } else if (networkd) {
            FillDnsFromNetworkd(facts, *networkd, link, ipEnabled, record);
        } else {
            ResolverFallback(facts, link, ipEnabled, record);
        }
        std::optional<DhcpLease> lease;
        if (!device || !device->dhcpEnabled) {
            lease = LeaseOf(facts, link);
            if (lease) FillFromLease(*lease, ipEnabled, record);
        }
        if (networkd) FillDhcpFromNetworkd(*networkd, lease, record);
        record.description = Value(Utf16FromUtf8(Description(facts, device, link)));
        records.push_back(std::move(record));
    }
    return records;
}

namespace {

struct NamedProperty {
    std::u16string_view name;
    Value AdapterRecord::*member;
};

constexpr NamedProperty kProperties[] = {
    {u"Index", &AdapterRecord::index},
    {u"MACAddress", &AdapterRecord::macAddress},
    {u"IPEnabled", &AdapterRecord::ipEnabled},
    {u"IPAddress", &AdapterRecord::ipAddress},
    {u"DHCPEnabled", &AdapterRecord::dhcpEnabled},
    {u"DHCPServer", &AdapterRecord::dhcpServer},
    {u"DHCPLeaseObtained", &AdapterRecord::dhcpLeaseObtained},
    {u"DHCPLeaseExpires", &AdapterRecord::dhcpLeaseExpires},
    {u"DNSEnabledForWINSResolution", &AdapterRecord::dnsEnabledForWinsResolution},
    {u"DNSHostName", &AdapterRecord::dnsHostName},
    {u"DNSDomain", &AdapterRecord::dnsDomain},
    {u"Description", &AdapterRecord::description},
    {u"DNSServerSearchOrder", &AdapterRecord::dnsServerSearchOrder},
};

char16_t FoldAscii(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }

bool SameName(std::u16string_view a, std::u16string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return FoldAscii(x) == FoldAscii(y); });
}

}  // namespace

const Value& PropertyOf(const AdapterRecord& record, std::u16string_view name) {
    for (const NamedProperty& property : kProperties) {
        if (SameName(property.name, name)) return record.*property.member;
    }
    ThrowInvalidArgument("no such property of Win32_NetworkAdapterConfiguration");
}

}  // namespace quorvane::linux_inventory
