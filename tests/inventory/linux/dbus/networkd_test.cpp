// systemd-networkd's Describe text and how its facts become records.
#include <gtest/gtest.h>

#include "inventory/linux/adapter_records.h"
#include "inventory/linux/dbus/networkd.h"
#include "support/linux/fake_link.h"
#include "support/linux/time_zone.h"
#include "support/value_printer.h"

namespace quorvane::linux_inventory {
namespace {

// 300 s after boot it is 2007-01-22 13:43:59 UTC.
constexpr BootClock kClock{300'000'000, 1'169'473'439'000'000};
constexpr std::int64_t kNow = 1'169'473'439;

// The shape systemd 252 gives, cut down: no lease object, the DHCP address
// names its provider and ends on the boot clock one day from now.
constexpr const char* kSystemd252 = R"({"Interfaces":[
  {"Index":1,"Name":"lo","AdministrativeState":"unmanaged",
   "Addresses":[{"Family":2,"Address":[127,0,0,1],"ConfigSource":"foreign"}]},
  {"Index":2,"Name":"qvb0","AdministrativeState":"configured",
   "DNS":[{"Family":2,"Address":[10,77,0,53],"ConfigSource":"DHCPv4","ConfigProvider":[10,77,0,1]},
          {"Family":10,"Address":[253,0,0,0,0,0,0,0,0,0,0,0,0,0,0,83],"ConfigSource":"static"}],
   "SearchDomains":[{"Domain":"lab.example","ConfigSource":"DHCPv4"}],
   "Addresses":[{"Family":10,"Address":[254,128,0,0,0,0,0,0,0,0,0,0,0,0,0,1],"ConfigSource":"foreign"},
                {"Family":2,"Address":[10,77,0,58],"ValidLifetimeUsec":86700000000,
                 "ConfigSource":"DHCPv4","ConfigProvider":[10,77,0,1]}]},
  {"Index":3,"Name":"static0","AdministrativeState":"configured",
   "Addresses":[{"Family":2,"Address":[192,0,2,5],"ConfigSource":"static"}]}]})";

TEST(NetworkdDescription, Systemd252GivesServerExpiryDnsAndDomains) {
    const auto links = ParseNetworkdDescription(kSystemd252, kClock);
    ASSERT_EQ(links.size(), 2U);  // lo is unmanaged
    const NetworkdLink& dhcp = links[0];
    EXPECT_EQ(dhcp.index, 2U);
    EXPECT_TRUE(dhcp.dhcp);
    EXPECT_EQ(dhcp.dhcpServer, "10.77.0.1");
    EXPECT_EQ(dhcp.leaseExpires, kNow + 86400);
    EXPECT_EQ(dhcp.leaseObtained, std::nullopt);
    EXPECT_EQ(dhcp.dnsServers, (std::vector<std::string>{"10.77.0.53", "fd00::53"}));
    EXPECT_EQ(dhcp.domains, std::vector<std::string>{"lab.example"});
    const NetworkdLink& fixed = links[1];
    EXPECT_EQ(fixed.index, 3U);
    EXPECT_FALSE(fixed.dhcp);
    EXPECT_EQ(fixed.dhcpServer, std::nullopt);
    EXPECT_TRUE(fixed.dnsServers.empty());
}

TEST(NetworkdDescription, NewerSystemdPublishesWhenTheLeaseWasTaken) {
    const auto links = ParseNetworkdDescription(
        R"({"Interfaces":[{"Index":4,"AdministrativeState":"configured",
            "DHCPv4Client":{"Lease":{"LeaseTimestampUSec":240000000,"Timeout1USec":43440000000}}}]})",
        kClock);
    ASSERT_EQ(links.size(), 1U);
    EXPECT_TRUE(links[0].dhcp);
    EXPECT_EQ(links[0].leaseObtained, kNow - 60);
    EXPECT_EQ(links[0].leaseExpires, std::nullopt);
}

TEST(NetworkdDescription, MalformedTextLeavesFactsUnset) {
    for (const char* json : {"", "not json", "[]", R"({"Interfaces":{}})", R"({"Interfaces":[1,"x",null]})",
                             R"({"Interfaces":[{"Index":"2"},{"Index":-1},{"Index":2.5},{"Index":0}]})"}) {
        EXPECT_TRUE(ParseNetworkdDescription(json, kClock).empty()) << json;
    }
    const auto links = ParseNetworkdDescription(
        R"({"Interfaces":[{"Index":5,
            "DNS":[{"Family":2,"Address":[10,0,0,256]},{"Family":2,"Address":[10,0,0]},
                   {"Family":7,"Address":[10,0,0,1]},{"Family":2,"Address":"10.0.0.1"},{"Family":2,"Address":[1,2,3,4.5]}],
            "SearchDomains":[{"Domain":5},{"Domain":""},"x"],
            "Addresses":[{"Family":2,"Address":[10,0,0,9],"ConfigSource":"DHCPv4","ConfigProvider":[1],
                          "ValidLifetimeUsec":-5}],
            "DHCPv4Client":{"Lease":{"LeaseTimestampUSec":1e300}}}]})",
        kClock);
    ASSERT_EQ(links.size(), 1U);
    EXPECT_TRUE(links[0].dhcp);
    EXPECT_TRUE(links[0].dnsServers.empty());
    EXPECT_TRUE(links[0].domains.empty());
    EXPECT_EQ(links[0].dhcpServer, std::nullopt);
    EXPECT_EQ(links[0].leaseExpires, std::nullopt);
    EXPECT_EQ(links[0].leaseObtained, std::nullopt);
}

SystemFacts NetworkdMachine() {
    SystemFacts facts;
    facts.links = {testing::FakeLink(2, "qvb0", {"10.77.0.58"}), testing::FakeLink(3, "static0", {"192.0.2.5"}),
                   testing::FakeLink(4, "eth1", {"10.9.0.2"})};
    facts.networkd = ParseNetworkdDescription(kSystemd252, kClock);
    facts.resolvConf = ResolverConfig{{"127.0.0.53"}, "stub.example"};
    return facts;
}

TEST(NetworkdRecords, PublishedFactsFillDhcpAndDnsWithoutResolved) {
    testing::ScopedTimeZone zone(testing::kEasternTime);
    const auto records = BuildRecords(NetworkdMachine());
    ASSERT_EQ(records.size(), 3U);
    const AdapterRecord& dhcp = records[0];
    EXPECT_EQ(dhcp.dhcpEnabled, Value(true));
    EXPECT_EQ(dhcp.dhcpServer, Value(u"10.77.0.1"));
    EXPECT_EQ(dhcp.dhcpLeaseExpires, Value(u"20070123084359.000000-300"));
    EXPECT_TRUE(dhcp.dhcpLeaseObtained.IsNull());
    EXPECT_EQ(dhcp.dnsServerSearchOrder, Value::Array({u"10.77.0.53", u"fd00::53"}));
    EXPECT_EQ(dhcp.dnsDomain, Value(u"lab.example"));
    // Managed without DHCP and without name servers of its own: DHCP is not
    // known, the resolver's configuration serves it.
    const AdapterRecord& fixed = records[1];
    EXPECT_TRUE(fixed.dhcpEnabled.IsNull());
    EXPECT_TRUE(fixed.dhcpServer.IsNull());
    EXPECT_EQ(fixed.dnsServerSearchOrder, Value::Array({u"127.0.0.53"}));
    EXPECT_EQ(fixed.dnsDomain, Value(u"stub.example"));
}

TEST(NetworkdRecords, LeaseFileFillsWhatNetworkdDoesNotPublishAndNetworkManagerWins) {
    testing::ScopedTimeZone zone(testing::kEasternTime);
    SystemFacts facts = NetworkdMachine();
    facts.leaseOf = [](const KernelLink& link) -> std::optional<DhcpLease> {
        if (link.index != 2) return std::nullopt;
        DhcpLease lease;
        lease.server = "10.77.0.99";
        lease.obtained = kNow - 3600;
        lease.expires = kNow + 7200;
        return lease;
    };
    NmDevice device;
    device.interfaceName = "eth1";
    device.dhcpEnabled = false;
    facts.networkManager = std::vector<NmDevice>{device};
    facts.networkd->push_back(NetworkdLink{4, true, "10.9.0.1", std::nullopt, kNow, {"10.9.0.53"}, {}});
    const auto records = BuildRecords(facts);
    ASSERT_EQ(records.size(), 3U);
    EXPECT_EQ(records[0].dhcpServer, Value(u"10.77.0.1"));
    EXPECT_EQ(records[0].dhcpLeaseObtained, Value(u"20070122074359.000000-300"));
    EXPECT_EQ(records[0].dhcpLeaseExpires, Value(u"20070123084359.000000-300"));
    EXPECT_EQ(records[2].dhcpEnabled, Value(false));
    EXPECT_TRUE(records[2].dhcpServer.IsNull());
    EXPECT_EQ(records[2].dnsServerSearchOrder, Value::Array({u"127.0.0.53"}));
}

}  // namespace
}  // namespace quorvane::linux_inventory
