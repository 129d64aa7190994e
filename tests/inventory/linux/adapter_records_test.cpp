// How kernel, NetworkManager and resolver facts become adapter records.
#include <gtest/gtest.h>

#include "base/error.h"
#include "inventory/linux/adapter_records.h"
#include "support/linux/fake_link.h"
#include "support/linux/time_zone.h"
#include "support/value_printer.h"

namespace quorvane::linux_inventory {
namespace {

using testing::FakeLink;

Value Texts(std::vector<Value> texts) { return Value::Array(std::move(texts)); }

const AdapterRecord* Find(const std::vector<AdapterRecord>& records, std::uint32_t index) {
    for (const AdapterRecord& record : records) {
        if (record.index == Value(index)) return &record;
    }
    return nullptr;
}

SystemFacts MachineWithoutServices() {
    KernelLink lo = FakeLink(1, "lo", {"127.0.0.1", "::1"});
    lo.loopback = true;
    lo.hardwareAddress.assign(6, 0);
    SystemFacts facts;
    facts.links = {FakeLink(7, "wlan0", {"fe80::2", "192.168.1.20"}), lo, FakeLink(3, "eth0", {"10.0.0.9"}, false),
                   FakeLink(4, "br0")};
    facts.resolvConf = ResolverConfig{{"192.168.1.1", "9.9.9.9"}, "home.example"};
    facts.hostName = "workstation";
    facts.driverOf = [](const std::string& name) -> std::optional<std::string> {
        if (name == "eth0") return "virtio_net";
        return std::nullopt;
    };
    return facts;
}

TEST(LinuxSourceRecords, EveryInterfaceButLoopbackInIndexOrder) {
    const auto records = BuildRecords(MachineWithoutServices());
    ASSERT_EQ(records.size(), 3U);
    EXPECT_EQ(records[0].index, Value(std::uint32_t{3}));
    EXPECT_EQ(records[1].index, Value(std::uint32_t{4}));
    EXPECT_EQ(records[2].index, Value(std::uint32_t{7}));
    EXPECT_EQ(records[2].macAddress, Value(u"52:54:00:00:00:07"));
    EXPECT_EQ(records[2].ipAddress, Texts({u"192.168.1.20", u"fe80::2"}));
}

TEST(LinuxSourceRecords, IpEnabledNeedsAnUpInterfaceWithAnAddress) {
    const auto records = BuildRecords(MachineWithoutServices());
    EXPECT_EQ(Find(records, 7)->ipEnabled, Value(true));
    // Down, though it holds an address: the address stays visible.
    EXPECT_EQ(Find(records, 3)->ipEnabled, Value(false));
    EXPECT_EQ(Find(records, 3)->ipAddress, Texts({u"10.0.0.9"}));
    // Up without an address.
    EXPECT_EQ(Find(records, 4)->ipEnabled, Value(false));
    EXPECT_TRUE(Find(records, 4)->ipAddress.IsNull());
}

TEST(LinuxSourceRecords, WithoutNetworkManagerDhcpIsUnknownAndResolvConfServesUsableInterfaces) {
    const auto records = BuildRecords(MachineWithoutServices());
    const AdapterRecord& wlan = *Find(records, 7);
    EXPECT_EQ(wlan.dnsServerSearchOrder, Texts({u"192.168.1.1", u"9.9.9.9"}));
    EXPECT_EQ(wlan.dnsDomain, Value(u"home.example"));
    EXPECT_EQ(wlan.dnsHostName, Value(u"workstation"));
    for (const AdapterRecord& record : records) {
        EXPECT_TRUE(record.dhcpEnabled.IsNull());
        EXPECT_TRUE(record.dhcpServer.IsNull());
        EXPECT_TRUE(record.dhcpLeaseObtained.IsNull());
        EXPECT_TRUE(record.dhcpLeaseExpires.IsNull());
        EXPECT_TRUE(record.dnsEnabledForWinsResolution.IsNull());
    }
    // A down interface resolves nothing through the system-wide servers.
    EXPECT_TRUE(Find(records, 3)->dnsServerSearchOrder.IsNull());
    EXPECT_TRUE(Find(records, 3)->dnsDomain.IsNull());
}

TEST(LinuxSourceRecords, DescriptionIsTheKernelDriverElseTheInterfaceName) {
    const auto records = BuildRecords(MachineWithoutServices());
    EXPECT_EQ(Find(records, 3)->description, Value(u"virtio_net"));
    EXPECT_EQ(Find(records, 4)->description, Value(u"br0"));
}

TEST(LinuxSourceRecords, NoHardwareAddressAndNoHostNameAreNull) {
    SystemFacts facts = MachineWithoutServices();
    facts.links[0].hardwareAddress.clear();
    facts.hostName.reset();
    facts.resolvConf.reset();
    const auto records = BuildRecords(facts);
    const AdapterRecord& wlan = *Find(records, 7);
    EXPECT_TRUE(wlan.macAddress.IsNull());
    EXPECT_TRUE(wlan.dnsHostName.IsNull());
    EXPECT_TRUE(wlan.dnsServerSearchOrder.IsNull());
}

TEST(LinuxSourceRecords, SystemdResolvedPrefersTheInterfacesOwnEntries) {
    SystemFacts facts = MachineWithoutServices();
    facts.resolved = ResolvedConfig{{{0, {"1.1.1.1"}}, {7, {"192.168.1.53"}}}, {{0, {"global.example"}}}};
    const auto records = BuildRecords(facts);
    EXPECT_EQ(Find(records, 7)->dnsServerSearchOrder, Texts({u"192.168.1.53"}));
    EXPECT_EQ(Find(records, 7)->dnsDomain, Value(u"global.example"));
    // The global entries serve only interfaces that can use them.
    EXPECT_TRUE(Find(records, 3)->dnsServerSearchOrder.IsNull());
}

NmDevice LeasedDevice() {
    NmDevice device;
    device.interfaceName = "wlan0";
    device.dhcpEnabled = true;
    device.dhcpServer = "192.168.1.1";
    device.leaseExpiry = 1169559839;  // 2007-01-23 13:43:59 UTC
    device.leaseTime = 86400;
    device.domain = "corp.example";
    device.dnsServers = std::vector<std::string>{"192.168.1.2", "192.168.1.3"};
    device.vendor = "Orvane Devices";
    device.product = "OD-300 Wireless Adapter";
    device.driver = "mac80211_hwsim";
    return device;
}

TEST(LinuxSourceRecords, DescriptionPrefersHardwareNamesOverDrivers) {
    SystemFacts facts = MachineWithoutServices();
    facts.hardwareNameOf = [](std::uint32_t index) -> std::optional<std::string> {
        if (index == 3 || index == 7) return "Orvane Devices OD-2 Ethernet Controller";
        return std::nullopt;
    };
    NmDevice named = LeasedDevice();  // NetworkManager names vendor and product itself
    NmDevice driverOnly;
    driverOnly.interfaceName = "eth0";
    driverOnly.driver = "virtio_net";
    facts.networkManager = std::vector<NmDevice>{named, driverOnly};
    const auto records = BuildRecords(facts);
    EXPECT_EQ(Find(records, 7)->description, Value(u"Orvane Devices OD-300 Wireless Adapter"));
    EXPECT_EQ(Find(records, 3)->description, Value(u"Orvane Devices OD-2 Ethernet Controller"));
    EXPECT_EQ(Find(records, 4)->description, Value(u"br0"));
}

TEST(LinuxSourceRecords, NetworkManagerLeaseInLocalCimTime) {
    testing::ScopedTimeZone zone(testing::kEasternTime);
    SystemFacts facts = MachineWithoutServices();
    facts.networkManager = std::vector<NmDevice>{LeasedDevice()};
    const auto records = BuildRecords(facts);
    const AdapterRecord& wlan = *Find(records, 7);
    EXPECT_EQ(wlan.dhcpEnabled, Value(true));
    EXPECT_EQ(wlan.dhcpServer, Value(u"192.168.1.1"));
    EXPECT_EQ(wlan.dhcpLeaseObtained, Value(u"20070122084359.000000-300"));
    EXPECT_EQ(wlan.dhcpLeaseExpires, Value(u"20070123084359.000000-300"));
    EXPECT_EQ(wlan.dnsServerSearchOrder, Texts({u"192.168.1.2", u"192.168.1.3"}));
    EXPECT_EQ(wlan.dnsDomain, Value(u"corp.example"));
    EXPECT_EQ(wlan.description, Value(u"Orvane Devices OD-300 Wireless Adapter"));
}

TEST(LinuxSourceRecords, IncompleteLeasesLeaveOnlyWhatIsKnown) {
    testing::ScopedTimeZone zone("UTC0");
    SystemFacts facts = MachineWithoutServices();
    NmDevice noLeaseTime = LeasedDevice();
    noLeaseTime.leaseTime.reset();
    NmDevice leaseLongerThanEpoch = LeasedDevice();
    leaseLongerThanEpoch.interfaceName = "eth0";
    leaseLongerThanEpoch.leaseTime = 2'000'000'000;
    facts.networkManager = std::vector<NmDevice>{noLeaseTime, leaseLongerThanEpoch};
    const auto records = BuildRecords(facts);
    EXPECT_TRUE(Find(records, 7)->dhcpLeaseObtained.IsNull());
    EXPECT_EQ(Find(records, 7)->dhcpLeaseExpires, Value(u"20070123134359.000000+000"));
    EXPECT_TRUE(Find(records, 3)->dhcpLeaseObtained.IsNull());
}

TEST(LinuxSourceRecords, NetworkManagerWithoutIpv4ConfigFallsBackToTheResolver) {
    SystemFacts facts = MachineWithoutServices();
    NmDevice unconfigured;
    unconfigured.interfaceName = "wlan0";
    unconfigured.driver = "mac80211_hwsim";
    NmDevice noServers;
    noServers.interfaceName = "br0";
    noServers.dnsServers = std::vector<std::string>{};
    facts.networkManager = std::vector<NmDevice>{unconfigured, noServers};
    const auto records = BuildRecords(facts);
    EXPECT_EQ(Find(records, 7)->dnsServerSearchOrder, Texts({u"192.168.1.1", u"9.9.9.9"}));
    EXPECT_EQ(Find(records, 7)->description, Value(u"mac80211_hwsim"));
    EXPECT_TRUE(Find(records, 7)->dhcpEnabled.IsNull());
    // An IPv4 configuration without name servers means none, not unknown.
    EXPECT_TRUE(Find(records, 4)->dnsServerSearchOrder.IsNull());
    EXPECT_EQ(Find(records, 4)->description, Value(u"br0"));
}

TEST(LinuxSourceRecords, DevicesMatchByIpInterfaceToo) {
    SystemFacts facts = MachineWithoutServices();
    NmDevice modem = LeasedDevice();
    modem.interfaceName = "cdc-wdm0";
    modem.ipInterfaceName = "wlan0";
    facts.networkManager = std::vector<NmDevice>{modem};
    const auto records = BuildRecords(facts);
    EXPECT_EQ(Find(records, 7)->dhcpServer, Value(u"192.168.1.1"));
}

// wlan0 and eth0 hold leases of another DHCP client; br0 holds none.
SystemFacts MachineWithLeases() {
    SystemFacts facts = MachineWithoutServices();
    facts.resolvConf.reset();
    facts.leaseOf = [](const KernelLink& link) -> std::optional<DhcpLease> {
        if (link.name == "br0") return std::nullopt;
        DhcpLease lease;
        lease.server = "192.168.1.1";
        lease.obtained = 1169473439;  // 2007-01-22 13:43:59 UTC
        lease.expires = 1169473439 + 3 * 86400;
        lease.dnsServers = {"192.168.1.53"};
        lease.domain = "lease.example";
        return lease;
    };
    return facts;
}

TEST(LinuxSourceRecords, AnotherClientsLeaseInLocalCimTime) {
    testing::ScopedTimeZone zone(testing::kCentralEuropeanTime);
    const auto records = BuildRecords(MachineWithLeases());
    const AdapterRecord& wlan = *Find(records, 7);
    EXPECT_EQ(wlan.dhcpEnabled, Value(true));
    EXPECT_EQ(wlan.dhcpServer, Value(u"192.168.1.1"));
    EXPECT_EQ(wlan.dhcpLeaseObtained, Value(u"20070122144359.000000+060"));
    EXPECT_EQ(wlan.dhcpLeaseExpires, Value(u"20070125144359.000000+060"));
    EXPECT_EQ(wlan.dnsServerSearchOrder, Texts({u"192.168.1.53"}));
    EXPECT_EQ(wlan.dnsDomain, Value(u"lease.example"));
    // A down interface keeps its lease's server and dates, not its name servers.
    const AdapterRecord& eth = *Find(records, 3);
    EXPECT_EQ(eth.dhcpServer, Value(u"192.168.1.1"));
    EXPECT_TRUE(eth.dnsServerSearchOrder.IsNull());
    EXPECT_TRUE(Find(records, 4)->dhcpEnabled.IsNull());
}

TEST(LinuxSourceRecords, LeaseYieldsToTheResolverAndToNetworkManager) {
    SystemFacts facts = MachineWithLeases();
    facts.resolvConf = ResolverConfig{{"9.9.9.9"}, "resolver.example"};
    NmDevice unmanaged;  // listed, but NetworkManager says nothing of DHCP
    unmanaged.interfaceName = "wlan0";
    NmDevice managed;  // configured by hand through NetworkManager
    managed.interfaceName = "eth0";
    managed.dhcpEnabled = false;
    facts.networkManager = std::vector<NmDevice>{unmanaged, managed};
    const auto records = BuildRecords(facts);
    const AdapterRecord& wlan = *Find(records, 7);
    EXPECT_EQ(wlan.dhcpServer, Value(u"192.168.1.1"));
    EXPECT_EQ(wlan.dnsServerSearchOrder, Texts({u"9.9.9.9"}));
    EXPECT_EQ(wlan.dnsDomain, Value(u"resolver.example"));
    const AdapterRecord& eth = *Find(records, 3);
    EXPECT_EQ(eth.dhcpEnabled, Value(false));
    EXPECT_TRUE(eth.dhcpServer.IsNull());
    EXPECT_TRUE(eth.dhcpLeaseObtained.IsNull());
}

TEST(LinuxSourceRecordProperties, ReadByNameWithoutRegardToCase) {
    const AdapterRecord record = BuildRecords(MachineWithoutServices()).front();
    EXPECT_EQ(PropertyOf(record, u"Index"), Value(std::uint32_t{3}));
    EXPECT_EQ(PropertyOf(record, u"macaddress"), record.macAddress);
    EXPECT_EQ(PropertyOf(record, u"DNSServerSearchOrder"), record.dnsServerSearchOrder);
    EXPECT_EQ(PropertyOf(record, u"Description"), Value(u"virtio_net"));
    EXPECT_TRUE(PropertyOf(record, u"DNSEnabledForWINSResolution").IsNull());
}

TEST(LinuxSourceRecordProperties, UnknownNamesAreErrors) {
    const AdapterRecord record = BuildRecords(MachineWithoutServices()).front();
    for (const std::u16string_view name : {u"", u"Index ", u"SettingID", u"DNSServer"}) {
        EXPECT_THROW(PropertyOf(record, name), Error);
    }
}

}  // namespace
}  // namespace quorvane::linux_inventory
