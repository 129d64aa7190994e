// The whole source against real DHCP clients holding a real lease from
// dnsmasq in a lab of network namespaces: dhclient as ifupdown runs it, and
// dhcpcd.
#include <gtest/gtest.h>

#include "inventory/linux/dhcp_lab.h"
#include "inventory/linux/linux_adapter_source.h"
#include "inventory/linux/time_zone.h"
#include "inventory/linux/value_printer.h"
#include "inventory/linux/cim_datetime.h"

namespace quorvane::linux_inventory {
namespace {

using testing::DhcpLab;

struct LeaseRow {
    Value dhcpEnabled, server, obtained, expires, domain, dns, ip;
};

// The lab's client interface as the source shows it, read inside the client
// namespace with the client's own files.
std::optional<LeaseRow> ClientRow(const DhcpLab& lab, const LinuxSourceOptions& options) {
    return lab.InClientNamespace([&]() -> std::optional<LeaseRow> {
        LinuxAdapterSource source(options);
        auto adapters = source.InstancesOf(kAdapterConfigurationClass);
        while (auto adapter = adapters->Next()) {
            if (adapter->Read(u"Description") != Value(u"qvlab0")) continue;
            return LeaseRow{adapter->Read(u"DHCPEnabled"), adapter->Read(u"DHCPServer"),
                            adapter->Read(u"DHCPLeaseObtained"), adapter->Read(u"DHCPLeaseExpires"),
                            adapter->Read(u"DNSDomain"), adapter->Read(u"DNSServerSearchOrder"),
                            adapter->Read(u"IPAddress")};
        }
        return std::nullopt;
    });
}

// Options that see only what the client in the lab wrote.
LinuxSourceOptions ClientOptions(const std::string& root) {
    LinuxSourceOptions options;
    options.busAddress = "unix:path=/nonexistent/quorvane-test-bus";
    options.resolvConfPath = root + "/etc/resolv.conf";
    options.sysfsNetRoot = "/nonexistent";
    options.udevDataDir = "/nonexistent";
    options.leaseDirectories = {root + "/var/lib/dhcp", root + "/var/lib/dhcpcd", root + "/run/systemd/netif/leases"};
    return options;
}

std::u16string Cim(std::int64_t seconds) {
    const auto text = LocalCimDateTime(seconds);
    return text ? std::u16string(text->begin(), text->end()) : u"";
}

// Waits for the client's lease and checks the row against dnsmasq's record.
void ExpectLeaseShown(const DhcpLab& lab, const testing::ChildProcess& client) {
    ASSERT_TRUE(client.started());
    const LinuxSourceOptions options = ClientOptions(DhcpLab::ClientRoot(client));
    std::optional<LeaseRow> row;
    const bool leased = testing::Eventually(
        [&] {
            row = ClientRow(lab, options);
            return row && !row->server.IsNull() && !row->dns.IsNull() && lab.ServerLeaseExpiry();
        },
        std::chrono::seconds(30));
    ASSERT_TRUE(leased) << "no lease within 30 s";
    EXPECT_EQ(row->dhcpEnabled, Value(true));
    EXPECT_EQ(row->server, Value(u"10.77.0.1"));
    EXPECT_EQ(row->domain, Value(u"lab.example"));
    EXPECT_EQ(row->dns, Value::Array({u"10.77.0.53"}));

    // dnsmasq counts from its acknowledgement. dhclient counts from its
    // request, a moment before; dhcpcd records the lease once it has probed
    // the address with ARP, some seconds after.
    const std::int64_t serverExpiry = *lab.ServerLeaseExpiry();
    const auto near = [](const Value& shown, std::int64_t expected) {
        for (std::int64_t delta = -3; delta <= 15; ++delta) {
            if (shown == Value(Cim(expected + delta))) return true;
        }
        return false;
    };
    EXPECT_TRUE(near(row->expires, serverExpiry)) << ::testing::PrintToString(row->expires) << " for dnsmasq's " << serverExpiry;
    EXPECT_TRUE(near(row->obtained, serverExpiry - DhcpLab::kLeaseSeconds))
        << ::testing::PrintToString(row->obtained) << " for dnsmasq's " << serverExpiry;
}

TEST(LinuxSourceDhcpClients, IscDhclientLeaseFromItsLeaseFile) {
    testing::ScopedTimeZone zone(testing::kCentralEuropeanTime);
    DhcpLab lab("leases-dhclient");
    if (!lab.skipReason().empty()) GTEST_SKIP() << lab.skipReason();
    const std::string dhclient = testing::SystemTool("dhclient");
    if (dhclient.empty()) GTEST_SKIP() << "dhclient (isc-dhcp-client) is not installed";
    // As ifupdown starts it, kept in the foreground.
    auto client = lab.StartClient({dhclient, "-d", "-q", "-4", "-pf", "/run/dhclient.qvlab0.pid", "-lf",
                                   "/var/lib/dhcp/dhclient.qvlab0.leases", "qvlab0"},
                                  {"/var/lib/dhcp"});
    ExpectLeaseShown(lab, *client);
}

TEST(LinuxSourceDhcpClients, DhcpcdLeaseFromItsLeaseFile) {
    testing::ScopedTimeZone zone(testing::kEasternTime);
    DhcpLab lab("leases-dhcpcd");
    if (!lab.skipReason().empty()) GTEST_SKIP() << lab.skipReason();
    const std::string dhcpcd = testing::SystemTool("dhcpcd");
    if (dhcpcd.empty()) GTEST_SKIP() << "dhcpcd (dhcpcd-base) is not installed";
    auto client = lab.StartClient({dhcpcd, "-B", "-q", "-4", "qvlab0"}, {"/var/lib/dhcpcd"});
    ExpectLeaseShown(lab, *client);
}

}  // namespace
}  // namespace quorvane::linux_inventory
