// The whole source against the real NetworkManager and systemd-networkd,
// each holding a real lease from dnsmasq in a lab of network namespaces and
// answering on a private system bus.
#include <unistd.h>
#include <gtest/gtest.h>

#include <map>

#include "inventory/linux/cim_datetime.h"
#include "inventory/linux/dhcp_lab.h"
#include "inventory/linux/linux_adapter_source.h"
#include "inventory/linux/private_system_bus.h"
#include "inventory/linux/time_zone.h"
#include "inventory/linux/value_printer.h"

namespace quorvane::linux_inventory {
namespace {

using testing::DhcpLab;
using testing::PrivateSystemBus;
using Row = std::map<std::u16string, Value>;

// Both daemons wait for udev to announce links unless /sys is read-only.
constexpr const char* kReadOnlySys = "mount -o remount,ro /sys\n";

constexpr const char* kNetworkManagerSetup =
    "mkdir -p /run/qv/connections\n"
    "printf '[main]\\nplugins=keyfile\\ndns=none\\nrc-manager=unmanaged\\nhostname-mode=none\\n"
    "auth-polkit=false\\nno-auto-default=*\\n[keyfile]\\npath=/run/qv/connections\\n' > /run/qv/NetworkManager.conf\n"
    "printf '[connection]\\nid=qvlab0\\ntype=ethernet\\ninterface-name=qvlab0\\n[ipv4]\\nmethod=auto\\n"
    "[ipv6]\\nmethod=disabled\\n' > /run/qv/connections/qvlab0.nmconnection\n"
    "chmod 600 /run/qv/connections/qvlab0.nmconnection\n";

// networkd drops to systemd-network, which must be able to write its state.
constexpr const char* kNetworkdSetup =
    "mkdir -p /run/systemd/network /run/systemd/netif\n"
    "chown systemd-network:systemd-network /run/systemd/netif\n"
    "printf '[Match]\\nName=qvlab0\\n[Network]\\nDHCP=ipv4\\nLinkLocalAddressing=no\\nIPv6AcceptRA=no\\n"
    "[DHCPv4]\\nUseDomains=yes\\nUseHostname=no\\n' > /run/systemd/network/10-qvlab0.network\n";

// Starts a daemon in the lab's client namespace after `setup`, with the
// private bus as its system bus.
std::unique_ptr<testing::ChildProcess> StartDaemon(DhcpLab& lab, const PrivateSystemBus& bus, const std::string& setup,
                                                   std::vector<std::string> argv,
                                                   const std::vector<std::string>& privateDirs) {
    argv.insert(argv.begin(), {"/bin/sh", "-ec", std::string(kReadOnlySys) + setup + "exec \"$@\"", "sh",
                               "/usr/bin/env", "DBUS_SYSTEM_BUS_ADDRESS=" + bus.address(), "SYSTEMD_LOG_LEVEL=err"});
    return lab.StartClient(argv, privateDirs);
}

// The lab client's one interface as the source shows it from the private
// bus alone: no resolv.conf, no lease files, no host names.
std::optional<Row> ClientRow(const DhcpLab& lab, const PrivateSystemBus& bus,
                             const std::string& networkdLeases = "/nonexistent") {
    LinuxSourceOptions options;
    options.busAddress = bus.address();
    options.resolvConfPath = "/nonexistent";
    options.sysfsNetRoot = "/nonexistent";
    options.udevDataDir = "/nonexistent";
    options.leaseDirectories = {"/nonexistent", "/nonexistent", networkdLeases};
    return lab.InClientNamespace([&]() -> std::optional<Row> {
        LinuxAdapterSource source(options);
        auto adapters = source.InstancesOf(kAdapterConfigurationClass);
        auto adapter = adapters->Next();
        if (!adapter || adapters->Next()) return std::nullopt;
        Row row;
        for (const auto name : {u"DHCPEnabled", u"DHCPServer", u"DHCPLeaseObtained", u"DHCPLeaseExpires", u"DNSDomain",
                                u"DNSServerSearchOrder", u"IPAddress"}) {
            row[name] = adapter->Read(name);
        }
        return row;
    });
}

// A lease date as the source shows it, within a few seconds of dnsmasq's:
// each side reads its own clock.
bool Near(const Value& shown, std::int64_t expected) {
    for (std::int64_t delta = -3; delta <= 3; ++delta) {
        const auto text = LocalCimDateTime(expected + delta);
        if (text && shown == Value(std::u16string(text->begin(), text->end()))) return true;
    }
    return false;
}

// Waits for the daemon's lease and checks the row against dnsmasq's record.
Row ExpectLeaseShown(const DhcpLab& lab, const PrivateSystemBus& bus,
                     const std::string& networkdLeases = "/nonexistent") {
    std::optional<Row> row;
    const bool leased = testing::Eventually(
        [&] {
            row = ClientRow(lab, bus, networkdLeases);
            return row && !row->at(u"DHCPServer").IsNull() && !row->at(u"DNSServerSearchOrder").IsNull() &&
                   lab.ServerLeaseExpiry();
        },
        std::chrono::seconds(30));
    EXPECT_TRUE(leased) << "no lease shown within 30 s";
    if (!leased) return row.value_or(Row{});
    EXPECT_EQ(row->at(u"DHCPEnabled"), Value(true));
    EXPECT_EQ(row->at(u"DHCPServer"), Value(u"10.77.0.1"));
    EXPECT_EQ(row->at(u"DNSServerSearchOrder"), Value::Array({u"10.77.0.53"}));
    EXPECT_EQ(row->at(u"DNSDomain"), Value(u"lab.example"));
    EXPECT_TRUE(Near(row->at(u"DHCPLeaseExpires"), *lab.ServerLeaseExpiry())) << *lab.ServerLeaseExpiry();
    return *row;
}

TEST(LinuxSourceNetworkDaemons, NetworkManagerLeaseDomainAndNameServers) {
    testing::ScopedTimeZone zone(testing::kEasternTime);
    const std::string daemon = testing::SystemTool("NetworkManager");
    if (daemon.empty()) GTEST_SKIP() << "NetworkManager (network-manager) is not installed";
    DhcpLab lab("bus-nm");
    if (!lab.skipReason().empty()) GTEST_SKIP() << lab.skipReason();
    PrivateSystemBus bus;
    if (!bus.skipReason().empty()) GTEST_SKIP() << bus.skipReason();
    // An old /run/NetworkManager would make it assume the link and never
    // ask for a lease: /run is the client's own tmpfs.
    auto client = StartDaemon(lab, bus, kNetworkManagerSetup,
                              {daemon, "--no-daemon", "--config=/run/qv/NetworkManager.conf"},
                              {"/var/lib/NetworkManager"});
    ASSERT_TRUE(client->started());
    const Row row = ExpectLeaseShown(lab, bus);
    EXPECT_TRUE(Near(row.at(u"DHCPLeaseObtained"), lab.ServerLeaseExpiry().value_or(0) - DhcpLab::kLeaseSeconds));
}

TEST(LinuxSourceNetworkDaemons, NetworkdWithoutResolvedOrResolvConf) {
    testing::ScopedTimeZone zone(testing::kCentralEuropeanTime);
    const std::string daemon = "/lib/systemd/systemd-networkd";
    if (access(daemon.c_str(), X_OK) != 0) GTEST_SKIP() << "systemd-networkd (systemd) is not installed";
    DhcpLab lab("bus-networkd");
    if (!lab.skipReason().empty()) GTEST_SKIP() << lab.skipReason();
    PrivateSystemBus bus;
    if (!bus.skipReason().empty()) GTEST_SKIP() << bus.skipReason();
    auto client = StartDaemon(lab, bus, kNetworkdSetup, {daemon}, {});
    ASSERT_TRUE(client->started());
    const Row row = ExpectLeaseShown(lab, bus);
    const std::int64_t expectedObtained = lab.ServerLeaseExpiry().value_or(0) - DhcpLab::kLeaseSeconds;
    // systemd 252 does not publish when the lease was taken; newer versions do.
    const Value& obtained = row.at(u"DHCPLeaseObtained");
    EXPECT_TRUE(obtained.IsNull() || Near(obtained, expectedObtained)) << ::testing::PrintToString(obtained);
    // With networkd's own lease file, its lease time and the published expiry give the date either way.
    const auto withFile = ClientRow(lab, bus, DhcpLab::ClientRoot(*client) + "/run/systemd/netif/leases");
    ASSERT_TRUE(withFile);
    EXPECT_TRUE(Near(withFile->at(u"DHCPLeaseObtained"), expectedObtained))
        << ::testing::PrintToString(withFile->at(u"DHCPLeaseObtained"));
}

}  // namespace
}  // namespace quorvane::linux_inventory
