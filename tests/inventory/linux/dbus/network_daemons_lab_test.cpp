// The whole source against the real NetworkManager and systemd-networkd,
// each holding a real lease from dnsmasq in a lab of network namespaces and
// answering on a private system bus.
#include <unistd.h>
#include <gtest/gtest.h>

#include "inventory/linux/linux_adapter_source.h"
#include "support/linux/dhcp_lab.h"
#include "support/linux/isolated_options.h"
#include "support/linux/lab_rows.h"
#include "support/linux/private_bus.h"
#include "support/linux/time_zone.h"
#include "support/value_printer.h"

namespace quorvane::linux_inventory {
namespace {

using testing::DhcpLab;
using testing::DateWindow;
using testing::PrivateBus;
using testing::ShowsDateNear;

// Both daemons wait for udev to announce links unless /sys is read-only.
constexpr const char* kReadOnlySys = "mount -o remount,ro /sys\n";

constexpr const char* kNetworkManagerSetup =
    "mkdir -p /run/qv/connections\n"
    "printf '[main]\\nplugins=keyfile\\ndns=none\\nrc-manager=unmanaged\\nhostname-mode=none\\n"
    "auth-polkit=false\\nno-auto-default=*\\n[keyfile]\\npath=/run/qv/connections\\n' > /run/qv/NetworkManager.conf\n"
    "printf '[connection]\\nid=qvlab0\\ntype=ethernet\\ninterface-name=qvlab0\\n[ipv4]\\nmethod=auto\\n"
    "[ipv6]\\nmethod=disabled\\n' > /run/qv/connections/qvlab0.nmconnection\n"
    "chmod 600 /run/qv/connections/qvlab0.nmconnection\n";

// networkd drops to systemd-network, which must be able to write its state;
// UseDomains is left at its default, no.
constexpr const char* kNetworkdSetup =
    "mkdir -p /run/systemd/network /run/systemd/netif\n"
    "chown systemd-network:systemd-network /run/systemd/netif\n"
    "printf '[Match]\\nName=qvlab0\\n[Network]\\nDHCP=ipv4\\nLinkLocalAddressing=no\\nIPv6AcceptRA=no\\n"
    "[DHCPv4]\\nUseHostname=no\\n' > /run/systemd/network/10-qvlab0.network\n";

// Starts a daemon in the lab's client namespace after `setup`, with the
// private bus as its system bus.
std::unique_ptr<testing::ChildProcess> StartDaemon(DhcpLab& lab, const PrivateBus& bus, const std::string& setup,
                                                   std::vector<std::string> argv,
                                                   const std::vector<std::string>& privateDirs) {
    argv.insert(argv.begin(), {"/bin/sh", "-ec", std::string(kReadOnlySys) + setup + "exec \"$@\"", "sh",
                               "/usr/bin/env", "DBUS_SYSTEM_BUS_ADDRESS=" + bus.address(), "SYSTEMD_LOG_LEVEL=err"});
    return lab.StartClient(argv, privateDirs);
}

// Options that see the private bus alone: no resolv.conf, no lease files
// but networkd's where given, no host names.
LinuxSourceOptions BusOnlyOptions(const PrivateBus& bus, const std::string& networkdLeases = "/nonexistent") {
    LinuxSourceOptions options = testing::IsolatedOptions();
    options.busAddress = bus.address();
    options.leaseDirectories.networkd = networkdLeases;
    return options;
}

// Each side reads its own clock.
constexpr DateWindow kWindow{3, 3};

TEST(LinuxSourceNetworkDaemons, NetworkManagerLeaseDomainAndNameServers) {
    testing::ScopedTimeZone zone(testing::kEasternTime);
    const std::string daemon = testing::SystemTool("NetworkManager");
    if (daemon.empty()) GTEST_SKIP() << "NetworkManager (network-manager) is not installed";
    DhcpLab lab("bus-nm");
    if (!lab.skipReason().empty()) GTEST_SKIP() << lab.skipReason();
    PrivateBus bus;
    if (!bus.skipReason().empty()) GTEST_SKIP() << bus.skipReason();
    // An old /run/NetworkManager would make it assume the link and never
    // ask for a lease: /run is the client's own tmpfs.
    auto client = StartDaemon(lab, bus, kNetworkManagerSetup,
                              {daemon, "--no-daemon", "--config=/run/qv/NetworkManager.conf"},
                              {"/var/lib/NetworkManager"});
    ASSERT_TRUE(client->started());
    testing::ExpectLabLeaseShown(lab, BusOnlyOptions(bus), kWindow);
}

TEST(LinuxSourceNetworkDaemons, NetworkdWithoutResolvedOrResolvConf) {
    testing::ScopedTimeZone zone(testing::kCentralEuropeanTime);
    const std::string daemon = "/lib/systemd/systemd-networkd";
    if (access(daemon.c_str(), X_OK) != 0) GTEST_SKIP() << "systemd-networkd (systemd) is not installed";
    DhcpLab lab("bus-networkd");
    if (!lab.skipReason().empty()) GTEST_SKIP() << lab.skipReason();
    PrivateBus bus;
    if (!bus.skipReason().empty()) GTEST_SKIP() << bus.skipReason();
    auto client = StartDaemon(lab, bus, kNetworkdSetup, {daemon}, {});
    ASSERT_TRUE(client->started());
    // networkd publishes no domain by default: its lease file gives the
    // lease's, and with the published expiry, when the lease was obtained.
    ASSERT_TRUE(testing::ExpectLabLeaseShown(
        lab, BusOnlyOptions(bus, DhcpLab::ClientRoot(*client) + "/run/systemd/netif/leases"), kWindow));
    const std::int64_t expectedObtained = *lab.ServerLeaseExpiry() - DhcpLab::kLeaseSeconds;
    // Without the file no domain; systemd 252 does not publish when the lease was taken, newer versions do.
    const auto busOnly = testing::ReadLabRow(lab, BusOnlyOptions(bus));
    ASSERT_TRUE(busOnly);
    EXPECT_TRUE(busOnly->at(u"DNSDomain").IsNull()) << ::testing::PrintToString(busOnly->at(u"DNSDomain"));
    const Value& obtained = busOnly->at(u"DHCPLeaseObtained");
    EXPECT_TRUE(obtained.IsNull() || ShowsDateNear(obtained, expectedObtained, kWindow)) << ::testing::PrintToString(obtained);
}

}  // namespace
}  // namespace quorvane::linux_inventory
