// The kernel reader and the whole source in a network namespace made for the
// test, with veth, macvlan and bridge links of known addresses.
#include <unistd.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "base/error.h"
#include "inventory/linux/common/address_text.h"
#include "inventory/linux/kernel/kernel_links.h"
#include "inventory/linux/linux_adapter_source.h"
#include "support/linux/child_process.h"
#include "support/linux/isolated_options.h"
#include "support/linux/net_namespace.h"
#include "support/linux/temp_folder.h"
#include "support/value_printer.h"

namespace quorvane::linux_inventory {
namespace {

using testing::RunCommand;

// A network namespace that exists for one test and is deleted on every path.
class TestNamespace {
public:
    TestNamespace() : ip_(testing::SystemTool("ip")), name_("qv-linux-source-" + std::to_string(getpid())) {
        if (geteuid() != 0 || ip_.empty()) return;
        RunCommand({ip_, "netns", "del", name_});  // left over from a killed run
        created_ = RunCommand({ip_, "netns", "add", name_}) == 0;
    }
    ~TestNamespace() {
        if (created_) RunCommand({ip_, "netns", "del", name_});
    }
    TestNamespace(const TestNamespace&) = delete;
    TestNamespace& operator=(const TestNamespace&) = delete;

    [[nodiscard]] bool created() const { return created_; }

    // Runs `ip -n NAME ARGS...`; true when it succeeded.
    bool Ip(std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {ip_, "-n", name_});
        return RunCommand(arguments) == 0;
    }

    // Runs `work` on a thread that has entered the namespace.
    template <class Work>
    auto Inside(Work work) const -> decltype(work()) {
        return testing::InNetworkNamespace(name_, std::move(work));
    }

private:
    std::string ip_;
    std::string name_;
    bool created_ = false;
};

class LinuxSourceNamespace : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "needs root to create a network namespace";
        if (!ns_.created()) GTEST_SKIP() << "network namespaces are not available here (ip netns add failed)";
        // Link-local addresses are given by hand (addrgenmode none) and
        // without duplicate detection, so the test sees them at once.
        const bool built =
            ns_.Ip({"link", "add", "qv0", "type", "veth", "peer", "name", "qv1"}) &&
            ns_.Ip({"link", "set", "qv0", "address", "02:11:22:33:44:55", "addrgenmode", "none"}) &&
            ns_.Ip({"link", "set", "qv1", "address", "02:11:22:33:44:66", "addrgenmode", "none"}) &&
            ns_.Ip({"addr", "add", "fe80::1/64", "dev", "qv0", "nodad"}) &&
            ns_.Ip({"addr", "add", "2001:db8::1/64", "dev", "qv0", "nodad"}) &&
            ns_.Ip({"addr", "add", "10.9.0.1/24", "dev", "qv0"}) &&
            ns_.Ip({"addr", "add", "10.9.0.5/24", "dev", "qv0"}) &&
            ns_.Ip({"link", "set", "qv0", "up"}) && ns_.Ip({"link", "set", "qv1", "up"}) &&
            ns_.Ip({"link", "add", "link", "qv1", "name", "qvmac", "address", "02:11:22:33:44:77", "type", "macvlan"}) &&
            ns_.Ip({"link", "add", "qvbr", "address", "02:11:22:33:44:88", "type", "bridge"}) &&
            ns_.Ip({"link", "set", "qvbr", "addrgenmode", "none"}) && ns_.Ip({"link", "set", "qvbr", "up"});
        ASSERT_TRUE(built) << "setting up the links in the namespace failed";
    }

    TestNamespace ns_;
};

const KernelLink* Named(const std::vector<KernelLink>& links, const std::string& name) {
    const auto found = std::find_if(links.begin(), links.end(), [&](const KernelLink& l) { return l.name == name; });
    return found == links.end() ? nullptr : &*found;
}

TEST_F(LinuxSourceNamespace, ReadsEveryLinkWithFlagsHardwareAddressAndAddresses) {
    const auto links = ns_.Inside([] { return ReadKernelLinks(); });
    ASSERT_EQ(links.size(), 5U);
    EXPECT_TRUE(std::is_sorted(links.begin(), links.end(),
                               [](const KernelLink& a, const KernelLink& b) { return a.index < b.index; }));
    ASSERT_NE(Named(links, "lo"), nullptr);
    EXPECT_TRUE(Named(links, "lo")->loopback);

    const KernelLink* qv0 = Named(links, "qv0");
    ASSERT_NE(qv0, nullptr);
    EXPECT_TRUE(qv0->up);
    EXPECT_FALSE(qv0->loopback);
    EXPECT_EQ(qv0->hardwareAddress, (std::vector<std::uint8_t>{0x02, 0x11, 0x22, 0x33, 0x44, 0x55}));
    EXPECT_EQ(OrderedAddressTexts(qv0->addresses),
              (std::vector<std::string>{"10.9.0.1", "10.9.0.5", "2001:db8::1", "fe80::1"}));

    const KernelLink* macvlan = Named(links, "qvmac");
    ASSERT_NE(macvlan, nullptr);
    EXPECT_FALSE(macvlan->up);
    EXPECT_TRUE(macvlan->addresses.empty());
    EXPECT_TRUE(Named(links, "qv1")->addresses.empty());
}

TEST_F(LinuxSourceNamespace, SourceGivesOneRecordPerLinkButLoopback) {
    const testing::TempFolder folder("netns");
    ASSERT_TRUE(folder.made());
    const std::string resolvConf = folder.path() + "/resolv.conf";
    std::ofstream(resolvConf) << "nameserver 192.0.2.53\nsearch netns.example\n";
    // The host's sysfs, udev records and lease files do not describe this namespace.
    LinuxSourceOptions options = testing::IsolatedOptions();
    options.resolvConfPath = resolvConf;

    struct Row {
        Value index, mac, ipEnabled, ip, dns, domain, description, dhcp, wins;
    };
    const auto rows = ns_.Inside([&] {
        LinuxAdapterSource source(options);
        auto adapters = source.InstancesOf(kAdapterConfigurationClass);
        std::vector<Row> read;
        while (auto adapter = adapters->Next()) {
            read.push_back({adapter->Read(u"Index"), adapter->Read(u"MACAddress"), adapter->Read(u"IPEnabled"),
                            adapter->Read(u"IPAddress"), adapter->Read(u"DNSServerSearchOrder"),
                            adapter->Read(u"DNSDomain"), adapter->Read(u"Description"), adapter->Read(u"DHCPEnabled"),
                            adapter->Read(u"DNSEnabledForWINSResolution")});
        }
        return read;
    });
    ASSERT_EQ(rows.size(), 4U);
    for (std::size_t i = 1; i < rows.size(); ++i) {
        EXPECT_LT(std::get<std::int64_t>(rows[i - 1].index.storage()), std::get<std::int64_t>(rows[i].index.storage()));
    }
    const auto qv0 = std::find_if(rows.begin(), rows.end(), [](const Row& r) { return r.description == Value(u"qv0"); });
    ASSERT_NE(qv0, rows.end());
    EXPECT_EQ(qv0->mac, Value(u"02:11:22:33:44:55"));
    EXPECT_EQ(qv0->ipEnabled, Value(true));
    EXPECT_EQ(qv0->ip, Value::Array({u"10.9.0.1", u"10.9.0.5", u"2001:db8::1", u"fe80::1"}));
    EXPECT_EQ(qv0->dns, Value::Array({u"192.0.2.53"}));
    EXPECT_EQ(qv0->domain, Value(u"netns.example"));
    EXPECT_TRUE(qv0->dhcp.IsNull());
    EXPECT_TRUE(qv0->wins.IsNull());

    for (const char16_t* downOrBare : {u"qvmac", u"qvbr", u"qv1"}) {
        const auto row = std::find_if(rows.begin(), rows.end(),
                                      [&](const Row& r) { return r.description == Value(downOrBare); });
        ASSERT_NE(row, rows.end());
        EXPECT_EQ(row->ipEnabled, Value(false));
        EXPECT_TRUE(row->ip.IsNull());
        EXPECT_TRUE(row->dns.IsNull());
    }
}

}  // namespace
}  // namespace quorvane::linux_inventory
