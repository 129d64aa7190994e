// The whole source against NetworkManager, systemd-resolved and networkd mocks on a
// private bus: present, absent, answering with errors and not answering.
#include <unistd.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <map>

#include "app/memory_table.h"
#include "base/error.h"
#include "inventory/linux/linux_adapter_source.h"
#include "inventory/list_adapters.h"
#include "support/day_month_year_format.h"
#include "support/linux/child_process.h"
#include "support/linux/fake_link.h"
#include "support/linux/isolated_options.h"
#include "support/linux/private_bus.h"
#include "support/linux/time_zone.h"
#include "support/value_printer.h"

namespace quorvane::linux_inventory {
namespace {

using testing::ChildProcess;
using testing::PrivateBus;
using testing::RunCommand;

constexpr const char* kPython = "/usr/bin/python3";
const std::string kMocks = QUORVANE_LINUX_MOCKS_DIR;

bool HaveDbusMock() {
    return access(kPython, X_OK) == 0 && access("/usr/bin/dbus-daemon", X_OK) == 0 &&
           RunCommand({kPython, "-c", "import dbusmock"}) == 0;
}

// Kernel links the records are built on: loopback, three interfaces that the
// NetworkManager mock knows, and one it does not.
std::vector<KernelLink> FakeLinks() {
    KernelLink lo = testing::FakeLink(1, "lo", {"127.0.0.1"});
    lo.loopback = true;
    return {lo, testing::FakeLink(2, "qv0", {"192.168.0.10"}), testing::FakeLink(3, "qv1", {"10.1.0.10"}),
            testing::FakeLink(4, "qv2", {"10.2.0.10"}), testing::FakeLink(5, "qv3", {"172.16.0.10"})};
}

using Record = std::map<std::u16string, Value>;

const std::u16string_view kProperties[] = {u"Index", u"MACAddress", u"IPEnabled", u"IPAddress", u"DHCPEnabled",
                                           u"DHCPServer", u"DHCPLeaseObtained", u"DHCPLeaseExpires",
                                           u"DNSEnabledForWINSResolution", u"DNSHostName", u"DNSDomain",
                                           u"Description", u"DNSServerSearchOrder"};

class LinuxSourceBus : public ::testing::Test {
protected:
    void SetUp() override {
        if (!HaveDbusMock()) GTEST_SKIP() << "needs /usr/bin/python3 with python3-dbusmock and dbus-daemon";
        bus_.emplace();
        ASSERT_TRUE(bus_->skipReason().empty()) << bus_->skipReason();
        std::ofstream(resolvConf_) << "nameserver 198.51.100.1\ndomain fallback.example\n";
    }
    void TearDown() override { std::remove(resolvConf_.c_str()); }

    std::vector<std::string> BusEnvironment() const { return {"DBUS_SESSION_BUS_ADDRESS=" + bus_->address()}; }

    // Starts the networkmanager template and extends it for one scenario.
    void StartNetworkManager(const std::string& scenario) {
        mocks_.emplace_back(std::make_unique<ChildProcess>(
            std::vector<std::string>{kPython, "-m", "dbusmock", "--session", "--template", "networkmanager"},
            BusEnvironment()));
        ASSERT_TRUE(bus_->WaitForName(QStringLiteral("org.freedesktop.NetworkManager")));
        ASSERT_EQ(RunCommand({kPython, kMocks + "/network_manager_setup.py", scenario}, BusEnvironment()), 0);
    }

    void StartResolved() {
        mocks_.emplace_back(std::make_unique<ChildProcess>(
            std::vector<std::string>{kPython, "-m", "dbusmock", "--session", "org.freedesktop.resolve1",
                                     "/org/freedesktop/resolve1", "org.freedesktop.resolve1.Manager"},
            BusEnvironment()));
        ASSERT_TRUE(bus_->WaitForName(QStringLiteral("org.freedesktop.resolve1")));
        ASSERT_EQ(RunCommand({kPython, kMocks + "/resolved_setup.py"}, BusEnvironment()), 0);
    }

    // A bare networkd manager whose Describe runs `body` (dbusmock's Python);
    // the real networkd is tested in network_daemons_lab_test.cpp.
    void StartNetworkd(const std::string& body) {
        mocks_.emplace_back(std::make_unique<ChildProcess>(
            std::vector<std::string>{kPython, "-m", "dbusmock", "--session", "org.freedesktop.network1",
                                     "/org/freedesktop/network1", "org.freedesktop.network1.Manager"},
            BusEnvironment()));
        ASSERT_TRUE(bus_->WaitForName(QStringLiteral("org.freedesktop.network1")));
        const std::string script =
            "import dbus, sys\n"
            "mock = dbus.Interface(dbus.SessionBus().get_object('org.freedesktop.network1', "
            "'/org/freedesktop/network1'), 'org.freedesktop.DBus.Mock')\n"
            "mock.AddMethod('org.freedesktop.network1.Manager', 'Describe', '', 's', sys.argv[1])\n";
        ASSERT_EQ(RunCommand({kPython, "-c", script, body}, BusEnvironment()), 0);
    }

    LinuxSourceOptions Options(int timeoutMs = 2000) const {
        LinuxSourceOptions options = testing::IsolatedOptions();
        options.busAddress = bus_->address();
        options.timeoutMs = timeoutMs;
        options.resolvConfPath = resolvConf_;
        options.readLinks = FakeLinks;
        return options;
    }

    static std::map<std::u16string, Record> ReadAll(const LinuxSourceOptions& options) {
        LinuxAdapterSource source(options);
        auto adapters = source.InstancesOf(kAdapterConfigurationClass);
        std::map<std::u16string, Record> byIndex;
        while (auto adapter = adapters->Next()) {
            Record record;
            for (const auto name : kProperties) record[std::u16string(name)] = adapter->Read(name);
            std::u16string key = u"#" + ToText(record[u"Index"]);
            byIndex[key] = std::move(record);
        }
        return byIndex;
    }

    // With NetworkManager playing `scenario`, in Eastern time, each interface
    // shows the values expected of it.
    void ExpectRecords(const std::string& scenario, const std::map<std::u16string, Record>& expected) {
        StartNetworkManager(scenario);
        testing::ScopedTimeZone zone(testing::kEasternTime);
        const auto records = ReadAll(Options());
        ASSERT_EQ(records.size(), 4U);
        for (const auto& [key, properties] : expected) {
            for (const auto& [name, value] : properties) {
                EXPECT_EQ(records.at(key).at(name), value) << std::string(key.begin(), key.end()) << " "
                                                           << std::string(name.begin(), name.end());
            }
        }
    }

    // What every interface shows when NetworkManager tells nothing.
    static void ExpectResolvConfFallback(const std::map<std::u16string, Record>& records) {
        ASSERT_EQ(records.size(), 4U);
        for (const auto& [key, record] : records) {
            SCOPED_TRACE(std::string(key.begin(), key.end()));
            EXPECT_TRUE(record.at(u"DHCPEnabled").IsNull());
            EXPECT_TRUE(record.at(u"DHCPServer").IsNull());
            EXPECT_TRUE(record.at(u"DHCPLeaseObtained").IsNull());
            EXPECT_EQ(record.at(u"DNSServerSearchOrder"), Value::Array({u"198.51.100.1"}));
            EXPECT_EQ(record.at(u"DNSDomain"), Value(u"fallback.example"));
        }
        EXPECT_EQ(records.at(u"#2").at(u"Description"), Value(u"qv0"));
    }

    std::optional<PrivateBus> bus_;
    std::vector<std::unique_ptr<ChildProcess>> mocks_;  // destroyed before the bus
    std::string resolvConf_ = ::testing::TempDir() + "qv-dbus-resolv.conf." + std::to_string(getpid());
};

TEST_F(LinuxSourceBus, NetworkManagerDevicesGiveDhcpLeaseDnsAndDescription) {
    ExpectRecords(
        "leases",
        {{u"#2",
          {{u"DHCPEnabled", true}, {u"DHCPServer", u"192.168.0.254"},
           {u"DHCPLeaseObtained", u"20070122084359.000000-300"}, {u"DHCPLeaseExpires", u"20070123084359.000000-300"},
           {u"DNSServerSearchOrder", Value::Array({u"192.168.0.1", u"fd00::53"})}, {u"DNSDomain", u"example.test"},
           {u"Description", u"Orvane Devices OD-1000 Gigabit Network Connection"},
           {u"MACAddress", u"52:54:00:00:00:02"}, {u"IPAddress", Value::Array({u"192.168.0.10"})},
           {u"DNSEnabledForWINSResolution", Null{}}}},
         // Manual IPv4 method, no IPv4 configuration: DHCP off, DNS from resolv.conf.
         {u"#3",
          {{u"DHCPEnabled", false}, {u"DHCPServer", Null{}}, {u"DHCPLeaseExpires", Null{}},
           {u"DNSServerSearchOrder", Value::Array({u"198.51.100.1"})}, {u"Description", u"dbusmock"}}},
         // Older NetworkManager: Nameservers only; the domain from the DHCP option.
         {u"#4",
          {{u"DHCPEnabled", true}, {u"DHCPLeaseObtained", Null{}},
           {u"DNSServerSearchOrder", Value::Array({u"10.0.0.1"})}, {u"DNSDomain", u"a.example"}}},
         // Not a NetworkManager device.
         {u"#5",
          {{u"DHCPEnabled", Null{}}, {u"Description", u"qv3"},
           {u"DNSServerSearchOrder", Value::Array({u"198.51.100.1"})}}}});
}

TEST_F(LinuxSourceBus, TheAdapterQueryFillsRowsFromThisSource) {
    StartNetworkManager("leases");
    testing::ScopedTimeZone zone(testing::kEasternTime);
    LinuxAdapterSource source(Options());
    InMemoryTable table;
    ListAdapters(source, table, quorvane::testing::DayMonthYearFormat());
    ASSERT_EQ(table.rows().size(), 4U);
    const auto& qv0 = table.rows()[0];
    EXPECT_EQ(qv0.text, u"2");
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const std::vector<std::u16string> expected = {
        u"52:54:00:00:00:02", u"192.168.0.10", u"192.168.0.254", u"22/01/2007", u"23/01/2007", u"", FromAscii(host),
        u"example.test", u"Orvane Devices OD-1000 Gigabit Network Connection", u"192.168.0.1,fd00::53"};
    EXPECT_EQ(qv0.subItems, expected);
    // DHCP off: no server or lease cells; DNS from resolv.conf.
    EXPECT_EQ(table.rows()[1].subItems[2], u"");
    EXPECT_EQ(table.rows()[1].subItems[9], u"198.51.100.1");
}

TEST_F(LinuxSourceBus, MissingObjectsCostOnlyTheirOwnFacts) {
    // With the IPv4 configuration unreadable, the DHCP option names the domain.
    ExpectRecords("broken_objects",
                  {{u"#2",
                    {{u"DHCPServer", u"192.168.0.254"}, {u"DHCPLeaseExpires", u"20070123084359.000000-300"},
                     {u"DNSServerSearchOrder", Value::Array({u"198.51.100.1"})}, {u"DNSDomain", u"lan.example"}}},
                   {u"#4", {{u"DNSServerSearchOrder", Value::Array({u"10.0.0.1"})}}}});
}

TEST_F(LinuxSourceBus, NoNetworkManagerFallsBackToResolvConf) {
    ExpectResolvConfFallback(ReadAll(Options()));
}

TEST_F(LinuxSourceBus, NetworkManagerAnsweringWithErrorsFallsBackToResolvConf) {
    StartNetworkManager("failing");
    ExpectResolvConfFallback(ReadAll(Options()));
}

TEST_F(LinuxSourceBus, SilentNetworkManagerCostsOneTimeoutAndFallsBack) {
    StartNetworkManager("hanging");
    constexpr int kTimeoutMs = 300;
    const auto start = std::chrono::steady_clock::now();
    const auto records = ReadAll(Options(kTimeoutMs));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ExpectResolvConfFallback(records);
    // The mock sleeps 10 s; coming back long before that shows the call was
    // abandoned at its timeout and not retried per device or per service.
    EXPECT_LT(elapsed, std::chrono::milliseconds(kTimeoutMs * 8));
}

TEST_F(LinuxSourceBus, SilentServicesTogetherCostNoMoreThanTheBusBudget) {
    StartNetworkManager("hanging");
    StartNetworkd("time.sleep(10); ret = \"\"");
    LinuxSourceOptions options = Options(1000);
    options.busBudgetMs = 1200;
    const auto start = std::chrono::steady_clock::now();
    const auto records = ReadAll(options);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ExpectResolvConfFallback(records);
    // Each service alone may take its 1 s timeout; both together stop at the budget.
    EXPECT_LT(elapsed, std::chrono::milliseconds(1900));
}

TEST_F(LinuxSourceBus, NoBusBudgetLeavesTheBusAlone) {
    StartNetworkManager("leases");
    LinuxSourceOptions options = Options();
    options.busBudgetMs = 0;
    ExpectResolvConfFallback(ReadAll(options));
}

TEST_F(LinuxSourceBus, SystemdResolvedServesInterfacesWithoutNetworkManager) {
    StartResolved();
    const auto records = ReadAll(Options());
    ASSERT_EQ(records.size(), 4U);
    EXPECT_EQ(records.at(u"#2").at(u"DNSServerSearchOrder"), Value::Array({u"192.168.7.1", u"2001:db8::53"}));
    EXPECT_EQ(records.at(u"#2").at(u"DNSDomain"), Value(u"link.example"));
    EXPECT_EQ(records.at(u"#3").at(u"DNSServerSearchOrder"), Value::Array({u"9.9.9.9"}));
    EXPECT_EQ(records.at(u"#3").at(u"DNSDomain"), Value(u"global.example"));
}

TEST_F(LinuxSourceBus, EachSnapshotIsTakenAtInstancesOf) {
    LinuxAdapterSource source(Options());
    auto before = source.InstancesOf(kAdapterConfigurationClass);
    StartNetworkManager("leases");
    auto after = source.InstancesOf(kAdapterConfigurationClass);
    auto first = before->Next();
    auto second = after->Next();
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(first->Read(u"DHCPEnabled").IsNull());
    EXPECT_EQ(second->Read(u"DHCPEnabled"), Value(true));
}

TEST(LinuxSourceErrors, OnlyTheAdapterConfigurationClass) {
    LinuxSourceOptions options = testing::IsolatedOptions();
    options.readLinks = FakeLinks;
    LinuxAdapterSource source(options);
    EXPECT_THROW(source.InstancesOf(u"Win32_NetworkAdapter"), Error);
    EXPECT_THROW(source.InstancesOf(u""), Error);
    auto adapters = source.InstancesOf(kAdapterConfigurationClass);
    auto adapter = adapters->Next();
    ASSERT_NE(adapter, nullptr);
    EXPECT_THROW(adapter->Read(u"NoSuchProperty"), Error);
}

TEST(LinuxSourceErrors, KernelFailureIsAPlatformErrorNotAnEmptyList) {
    LinuxSourceOptions options;
    options.readLinks = []() -> std::vector<KernelLink> { ThrowPlatform("netlink socket", EACCES); };
    LinuxAdapterSource source(options);
    try {
        source.InstancesOf(kAdapterConfigurationClass);
        FAIL() << "a kernel failure must reach the caller";
    } catch (const Error& error) {
        EXPECT_EQ(error.kind(), ErrorKind::Platform);
        EXPECT_EQ(error.platformCode(), EACCES);
    }
}

}  // namespace
}  // namespace quorvane::linux_inventory
