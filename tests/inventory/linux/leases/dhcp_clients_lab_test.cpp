// The whole source against real DHCP clients holding a real lease from
// dnsmasq in a lab of network namespaces: dhclient as ifupdown runs it, and
// dhcpcd.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>
#include <fstream>

#include "inventory/linux/linux_adapter_source.h"
#include "support/linux/dhcp_lab.h"
#include "support/linux/isolated_options.h"
#include "support/linux/lab_rows.h"
#include "support/linux/temp_folder.h"
#include "support/linux/time_zone.h"
#include "support/value_printer.h"

namespace quorvane::linux_inventory {
namespace {

using testing::DateWindow;
using testing::DhcpLab;

// Options that see only what the client in the lab wrote.
LinuxSourceOptions ClientOptions(const std::string& root) {
    LinuxSourceOptions options = testing::IsolatedOptions();
    options.resolvConfPath = root + "/etc/resolv.conf";
    options.leaseDirectories = {root + "/var/lib/dhcp", root + "/var/lib/dhcpcd", root + "/run/systemd/netif/leases"};
    return options;
}

TEST(LinuxSourceDhcpClients, EachClientsLeaseFromItsLeaseFile) {
    const struct {
        std::vector<std::string> command;  // the tool's name first
        const char* package;
        const char* zone;
        const char* leaseFolder;
    } cases[] = {
        {{"dhclient", "-d", "-q", "-4", "-pf", "/run/dhclient.qvlab0.pid", "-lf",  // as ifupdown, in the foreground
          "/var/lib/dhcp/dhclient.qvlab0.leases", "qvlab0"},
         "isc-dhcp-client", testing::kCentralEuropeanTime, "/var/lib/dhcp"},
        {{"dhcpcd", "-B", "-q", "-4", "qvlab0"}, "dhcpcd-base", testing::kEasternTime, "/var/lib/dhcpcd"},
    };
    std::string missing;
    for (auto [command, package, zone, leaseFolder] : cases) {
        SCOPED_TRACE(command[0]);
        const testing::ScopedTimeZone inZone(zone);
        DhcpLab lab("leases-" + command[0]);
        if (!lab.skipReason().empty()) GTEST_SKIP() << lab.skipReason();
        command[0] = testing::SystemTool(command[0]);
        if (command[0].empty()) {
            missing = missing + " " + package;
            continue;
        }
        const auto client = lab.StartClient(command, {leaseFolder});
        ASSERT_TRUE(client->started());
        // dnsmasq counts from its acknowledgement. dhclient counts from its
        // request, a moment before; dhcpcd records the lease once it has probed
        // the address with ARP, some seconds after.
        testing::ExpectLabLeaseShown(lab, ClientOptions(DhcpLab::ClientRoot(*client)), DateWindow{3, 15});
    }
    if (!missing.empty()) GTEST_SKIP() << "not installed:" << missing;
}

TEST(LinuxSourceDhcpClients, StaticAddressBesideAStaleDhclientFileShowsNoDhcpFacts) {
    DhcpLab lab("leases-static");
    if (!lab.skipReason().empty()) GTEST_SKIP() << lab.skipReason();
    ASSERT_TRUE(lab.AddClientAddress("10.77.0.250/24"));
    // As ifupdown leaves it once the interface is configured by hand: a lease of this network, not yet expired.
    const testing::TempFolder root("stale-dhclient");
    ASSERT_TRUE(root.made());
    std::filesystem::create_directories(root.path() + "/var/lib/dhcp");
    std::ofstream(root.path() + "/var/lib/dhcp/dhclient.qvlab0.leases")
        << "lease {\n  interface \"qvlab0\";\n  fixed-address 10.77.0.150;\n  option dhcp-lease-time 259200;\n"
           "  option dhcp-server-identifier 10.77.0.1;\n  option domain-name-servers 10.77.0.53;\n"
           "  option domain-name \"lab.example\";\n  expire epoch " << std::time(nullptr) + 86400 << ";\n}\n";
    const auto row = testing::ReadLabRow(lab, ClientOptions(root.path()));
    ASSERT_TRUE(row);
    for (const auto name : {u"DHCPEnabled", u"DHCPServer", u"DHCPLeaseObtained", u"DHCPLeaseExpires", u"DNSDomain",
                            u"DNSServerSearchOrder"}) {
        EXPECT_TRUE(row->at(name).IsNull()) << ::testing::PrintToString(row->at(name));
    }
    // The same file describes the link again once the link holds its address.
    ASSERT_TRUE(lab.AddClientAddress("10.77.0.150/24"));
    const auto leased = testing::ReadLabRow(lab, ClientOptions(root.path()));
    ASSERT_TRUE(leased);
    EXPECT_EQ(leased->at(u"DHCPServer"), Value(u"10.77.0.1"));
}

}  // namespace
}  // namespace quorvane::linux_inventory
