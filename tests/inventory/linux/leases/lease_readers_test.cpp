// The lease files of dhclient, dhcpcd and systemd-networkd, and which one
// serves an interface.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <tuple>

#include "inventory/linux/leases/dhclient_leases.h"
#include "inventory/linux/leases/dhcpcd_lease.h"
#include "inventory/linux/leases/lease_files.h"
#include "inventory/linux/leases/networkd_lease.h"
#include "support/linux/fake_link.h"
#include "support/linux/temp_folder.h"

namespace quorvane::linux_inventory {
namespace {

// Two leases for eth0, the second renewed, one for wlan0 and a DHCPv6 block,
// as dhclient writes them.
constexpr const char* kDhclientFile = R"(default-duid "\000\001\000\001";
lease {
  interface "eth0";
  fixed-address 192.168.1.20;
  option dhcp-lease-time 86400;
  option dhcp-server-identifier 192.168.1.1;
  expire 1 2007/01/22 13:43:59;
}
lease {
  interface "wlan0";
  option dhcp-server-identifier 10.0.0.1;
  option dhcp-lease-time 3600;
  expire never;
}
lease {
  interface "eth0";
  fixed-address 192.168.1.20;
  option subnet-mask 255.255.255.0;
  option dhcp-lease-time 259200;
  option routers 192.168.1.1;
  option domain-name-servers 192.168.1.53, 9.9.9.9;
  option dhcp-server-identifier 192.168.1.2;
  option domain-name "corp.example other.example";  # two names
  renew 3 2007/01/24 01:00:00;
  rebind 4 2007/01/25 10:00:00;
  expire 4 2007/01/25 13:43:59;
}
lease6 {
  interface "eth0";
  ia-na 1a:2b:3c:4d {
    starts 1169473439;
    iaaddr 2001:db8::20 { max-life 7200; }
  }
  option dhcp6.server-id 0:1:0:1;
}
)";

// The last lease in the text that names the interface.
std::optional<DhcpLease> LastLeaseOf(std::string_view text, std::string_view interfaceName) {
    std::optional<DhcpLease> last;
    ForEachDhclientLease(text, [&](std::string_view name, DhcpLease&& lease) {
        if (name == interfaceName) last = std::move(lease);
    });
    return last;
}

TEST(LinuxSourceDhclientLeases, NewestLeaseOfTheInterfaceWithItsDates) {
    const auto eth = LastLeaseOf(kDhclientFile, "eth0");
    ASSERT_TRUE(eth);
    EXPECT_EQ(eth->address, "192.168.1.20");
    EXPECT_EQ(eth->server, "192.168.1.2");
    EXPECT_EQ(eth->expires, 1169473439 + 3 * 86400);  // 2007-01-25 13:43:59 UTC
    EXPECT_EQ(eth->obtained, 1169473439);
    EXPECT_EQ(eth->dnsServers, (std::vector<std::string>{"192.168.1.53", "9.9.9.9"}));
    EXPECT_EQ(eth->domain, "corp.example");

    // A lease that never ends has no dates.
    const auto wlan = LastLeaseOf(kDhclientFile, "wlan0");
    ASSERT_TRUE(wlan);
    EXPECT_EQ(wlan->server, "10.0.0.1");
    EXPECT_EQ(wlan->expires, std::nullopt);
    EXPECT_EQ(wlan->obtained, std::nullopt);

    EXPECT_EQ(LastLeaseOf(kDhclientFile, "eth1"), std::nullopt);
    EXPECT_EQ(LastLeaseOf(kDhclientFile, "eth"), std::nullopt);
    EXPECT_EQ(LastLeaseOf("", "eth0"), std::nullopt);
}

TEST(LinuxSourceDhclientLeases, EpochDatesAndMalformedValues) {
    const auto epoch = LastLeaseOf(R"(lease { interface "eth0"; option dhcp-lease-time 600;
        expire epoch 1169474039; # Mon Jan 22 13:53:59 2007
        })",
                                           "eth0");
    ASSERT_TRUE(epoch);
    EXPECT_EQ(epoch->expires, 1169474039);
    EXPECT_EQ(epoch->obtained, 1169473439);

    for (const char* expire : {"expire 4 2007/02/30 13:43:59;", "expire 4 2007/13/01 13:43:59;",
                               "expire 4 2007/01/-255 13:43:59;", "expire 4 2007/01/25 25:00:00;",
                               "expire 4 2007/01/25;", "expire epoch -5;", "expire soon;"}) {
        const std::string text = std::string("lease { interface \"eth0\"; option dhcp-server-identifier 1.2.3;"
                                             " option dhcp-lease-time 1x; ") + expire + " }";
        const auto lease = LastLeaseOf(text, "eth0");
        ASSERT_TRUE(lease) << expire;
        EXPECT_EQ(lease->expires, std::nullopt) << expire;
        EXPECT_EQ(lease->obtained, std::nullopt) << expire;
        EXPECT_EQ(lease->server, std::nullopt);
    }
    // A lease longer than the time before its end gives no obtained date.
    const auto tooLong = LastLeaseOf(
        R"(lease { interface "eth0"; option dhcp-lease-time 999999999999; expire epoch 5; })", "eth0");
    ASSERT_TRUE(tooLong);
    EXPECT_EQ(tooLong->obtained, std::nullopt);
}

TEST(LinuxSourceDhclientLeases, UnknownAndBrokenSyntaxIsSkipped) {
    // Nested blocks, an escaped quote, a statement far too long, a lease cut
    // off at the end of the file.
    std::string text = R"(lease {
      interface "eth0";
      option vendor-encapsulated-options "a\"b;{c}";
      something { nested { deep; } }
      option dhcp-server-identifier 192.0.2.1;
      option domain-name-servers )";
    for (int i = 0; i < 100; ++i) text += "192.0.2.9, ";
    text += R"(192.0.2.10;
      option domain-name "\154ab.example";
    }
    lease { interface "eth0"; option dhcp-server-identifier 192.0.2.99;)";
    const auto lease = LastLeaseOf(text, "eth0");
    ASSERT_TRUE(lease);
    EXPECT_EQ(lease->server, "192.0.2.1");
    EXPECT_TRUE(lease->dnsServers.empty());
    EXPECT_EQ(lease->domain, "lab.example");
    // A stray closing brace does not end parsing.
    EXPECT_TRUE(LastLeaseOf("} } lease { interface \"eth0\"; }", "eth0"));
}

// A DHCP acknowledgement as dhcpcd keeps it: the BOOTP header, the magic
// cookie, then `options`; `file` fills the file field.
std::vector<std::uint8_t> Acknowledgement(const std::vector<std::uint8_t>& options,
                                          const std::vector<std::uint8_t>& file = {}) {
    std::vector<std::uint8_t> message(240, 0);
    message[0] = 2;  // BOOTREPLY
    std::copy(file.begin(), file.end(), message.begin() + 108);
    message[236] = 99, message[237] = 130, message[238] = 83, message[239] = 99;
    message.insert(message.end(), options.begin(), options.end());
    return message;
}

TEST(LinuxSourceDhcpcdLease, OptionsOfTheAcknowledgementDatedByTheFile) {
    const auto message = Acknowledgement({53, 1, 5,                                // DHCPACK
                                          54, 4, 10, 77, 0, 1,                     // server identifier
                                          51, 4, 0, 3, 0xF4, 0x80,                 // 259200 s
                                          0,                                       // pad
                                          6, 8, 10, 77, 0, 53, 9, 9, 9, 9,         // name servers
                                          15, 12, 'l', 'a', 'b', '.', 'e', 'x', 'a', 'm', 'p', 'l', 'e', 0,
                                          255});
    const auto lease = ParseDhcpcdLease(message, 1169473439);
    ASSERT_TRUE(lease);
    EXPECT_EQ(lease->server, "10.77.0.1");
    EXPECT_EQ(lease->obtained, 1169473439);
    EXPECT_EQ(lease->expires, 1169473439 + 259200);
    EXPECT_EQ(lease->dnsServers, (std::vector<std::string>{"10.77.0.53", "9.9.9.9"}));
    EXPECT_EQ(lease->domain, "lab.example");
}

TEST(LinuxSourceDhcpcdLease, OverloadedFieldsSplitOptionsAndEndlessLeases) {
    // The options field points to the file field, where the lease time is
    // infinite and the server identifier arrives in two parts.
    const auto message = Acknowledgement({52, 1, 1, 54, 2, 192, 0, 255},
                                         {54, 2, 2, 7, 51, 4, 0xFF, 0xFF, 0xFF, 0xFF, 255});
    const auto lease = ParseDhcpcdLease(message, 1000);
    ASSERT_TRUE(lease);
    EXPECT_EQ(lease->server, "192.0.2.7");
    EXPECT_EQ(lease->obtained, 1000);
    EXPECT_EQ(lease->expires, std::nullopt);
}

TEST(LinuxSourceDhcpcdLease, WhatIsNoAcknowledgementIsRejectedOrCutShort) {
    auto message = Acknowledgement({54, 4, 10, 77, 0, 1});
    EXPECT_EQ(ParseDhcpcdLease(std::span(message).first(239), 0), std::nullopt);
    message[0] = 1;  // a request, not a reply
    EXPECT_EQ(ParseDhcpcdLease(message, 0), std::nullopt);
    message[0] = 2;
    message[239] = 0;  // no magic cookie
    EXPECT_EQ(ParseDhcpcdLease(message, 0), std::nullopt);

    // An option running past the end is dropped; a server identifier of the
    // wrong length is none.
    const auto cut = ParseDhcpcdLease(Acknowledgement({54, 3, 10, 77, 0, 51, 4, 0, 0}), 0);
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->server, std::nullopt);
    EXPECT_EQ(cut->expires, std::nullopt);
}

TEST(LinuxSourceNetworkdLease, OnlyAddressServerLeaseTimeAndDomainOfALeaseFile) {
    const auto lease = ParseNetworkdLease(
        "# This is private data. Do not parse.\nADDRESS=10.77.0.150\nSERVER_ADDRESS=10.77.0.1\nLIFETIME=259200\n"
        "DNS=10.77.0.53\nDOMAINNAME=lab.example\n");
    ASSERT_TRUE(lease);
    DhcpLease expected;
    expected.address = "10.77.0.150";
    expected.server = "10.77.0.1";
    expected.leaseTime = 259200;
    expected.domain = "lab.example";
    EXPECT_EQ(*lease, expected);
    EXPECT_EQ(ParseNetworkdLease("ADDRESS=10.77.0.1500\nSERVER_ADDRESS=not-an-address\n"), DhcpLease{});
    EXPECT_EQ(ParseNetworkdLease("# no lease\nDNS=10.77.0.53\n"), std::nullopt);
}

// Lease folders of the three clients in a temporary folder, and eth0 (index
// 2), which holds 10.0.0.20, asking at kNow.
class LeaseFolders : public ::testing::Test {
protected:
    static constexpr std::int64_t kNow = 100'000;
    using File = std::tuple<std::string, std::string, std::int64_t>;  // under the root, text, written
    using Files = std::vector<File>;

    void SetUp() override { Empty(); }
    void Empty() {
        folder_.emplace("lease-folders");
        ASSERT_TRUE(folder_->made());
        root_ = folder_->path();
        dirs_ = {root_ + "/dhcp", root_ + "/dhcpcd", root_ + "/netif"};
        for (const std::string& dir : {dirs_.dhclient, dirs_.dhcpcd, dirs_.networkd}) {
            std::filesystem::create_directories(dir);
        }
    }

    static void Write(const std::string& path, const std::string& text, std::int64_t modified) {
        std::ofstream(path, std::ios::binary) << text;
        const timespec times[2] = {{0, UTIME_OMIT}, {static_cast<time_t>(modified), 0}};
        ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    }
    static std::string DhcpcdFile(std::uint8_t lastServerByte, std::uint8_t lastAddressByte = 20,
                                  std::vector<std::uint8_t> options = {}) {
        options.insert(options.begin(), {54, 4, 10, 0, 0, lastServerByte});
        options.push_back(255);
        auto message = Acknowledgement(options);
        message[16] = 10, message[17] = 0, message[18] = 0, message[19] = lastAddressByte;
        return std::string(message.begin(), message.end());
    }
    static std::string DhclientFile(const std::string& server, const std::string& address = "10.0.0.20",
                                    const std::string& dates = "expire never;") {
        return "lease { interface \"eth0\"; fixed-address " + address + "; option dhcp-server-identifier " + server +
               "; " + dates + " }\n";
    }
    // dhclient's live file for eth0, written at 10, amid 34 others made by
    // `other(i)`: 17 made before it and 17 after.
    template <typename Other>
    static Files Amid(Other other) {
        Files files;
        for (int i = 0; i < 34; ++i) {
            if (i == 17) files.emplace_back("dhcp/dhclient.eth0.leases", DhclientFile("10.0.0.1"), 10);
            files.push_back(other(std::to_string(i)));
        }
        return files;
    }
    std::optional<std::string> ServerOf(const char* name = "eth0", std::uint32_t index = 2,
                                        const char* address = "10.0.0.20") const {
        const auto lease = LeaseFiles(dirs_, kNow).Of(testing::FakeLink(index, name, {address}));
        if (!lease) return std::nullopt;
        return lease->server.value_or("(none)");
    }

    std::optional<testing::TempFolder> folder_;
    std::string root_;
    LeaseDirectories dirs_;
};

// A lease counts only while the link holds its address and it has not
// expired; networkd's file, by the link's index, comes first; dhclient's
// leases rank by their own dates; and no name leads out of the folder.
TEST_F(LeaseFolders, WhichLeaseFileServesTheLink) {
    const std::string dhclient = "dhcp/dhclient.leases", dhcpcd = "dhcpcd/eth0.lease";
    const Files networkdFirst = {
        {dhcpcd, DhcpcdFile(3), 3000}, {"netif/2", "ADDRESS=10.0.0.20\nSERVER_ADDRESS=10.0.0.5\n", 1000}};
    const struct {
        const char* what;
        const char* linkAddress;
        Files files;
        std::optional<std::string> server;
        const char* name = "eth0";
        std::uint32_t index = 2;
    } cases[] = {
        {"on the link", "10.0.0.20", {{dhclient, DhclientFile("10.0.0.1"), 1}}, "10.0.0.1"},
        {"unexpired, its address gone", "10.0.0.99", {{dhclient, DhclientFile("10.0.0.1"), 1}}, {}},
        {"a static address beside its own expired dhclient lease", "10.0.0.20",
         {{dhclient, DhclientFile("10.0.0.1", "10.0.0.20", "expire epoch 1;"), 1}}, {}},
        {"a renewal of the same address, expired, after a lease without end", "10.0.0.20",
         {{dhclient, DhclientFile("10.0.0.1") + DhclientFile("10.0.0.2", "10.0.0.20", "expire epoch 1;"), 1}}, {}},
        {"a dhclient lease ending this second", "10.0.0.20",
         {{dhclient, DhclientFile("10.0.0.1", "10.0.0.20", "expire epoch " + std::to_string(kNow) + ";"), 1}}, {}},
        {"a dhclient lease ending a second from now", "10.0.0.20",
         {{dhclient, DhclientFile("10.0.0.1", "10.0.0.20", "expire epoch " + std::to_string(kNow + 1) + ";"), 1}},
         "10.0.0.1"},
        {"a networkd lease time beyond any date", "10.0.0.20",
         {{"netif/2", "ADDRESS=10.0.0.20\nSERVER_ADDRESS=10.0.0.5\nLIFETIME=9223372036854775807\n", 1000}}, "10.0.0.5"},
        {"a static address beside its own expired dhcpcd lease", "10.0.0.20",
         {{dhcpcd, DhcpcdFile(3, 20, {51, 4, 0, 0, 0x0E, 0x10}), 1000}}, {}},  // an hour
        {"a static address beside its own expired networkd lease", "10.0.0.20",
         {{"netif/2", "ADDRESS=10.0.0.20\nSERVER_ADDRESS=10.0.0.5\nLIFETIME=3600\n", 1000}}, {}},
        {"only an older dhclient lease on the link", "10.0.0.20",
         {{dhclient, DhclientFile("10.0.0.1") + DhclientFile("10.0.0.2", "10.0.0.21"), 1}}, "10.0.0.1"},
        {"an IPv6-only link", "2001:db8::20", {{dhclient, DhclientFile("10.0.0.1"), 1}}, {}},
        {"a stale dhcpcd file newer than dhclient's live lease", "10.0.0.20",
         {{dhclient, DhclientFile("10.0.0.1"), 1}, {dhcpcd, DhcpcdFile(3, 21), 2}}, "10.0.0.1"},
        {"a stale networkd file beside dhcpcd's live lease", "10.0.0.20",
         {{"netif/2", "ADDRESS=10.0.0.21\nSERVER_ADDRESS=10.0.0.5\n", 1}, {dhcpcd, DhcpcdFile(3), 1}}, "10.0.0.3"},
        {"a shared dhclient file, rewritten since, with a lease older than dhcpcd's", "10.0.0.20",
         {{dhclient, DhclientFile("10.0.0.1", "10.0.0.20", "expire epoch 201000; option dhcp-lease-time 200000;"),
           5000},
          {dhcpcd, DhcpcdFile(3), 2000}},
         "10.0.0.3"},
        {"a live dhclient lease amid 34 dhclient6 files, which are not read", "10.0.0.20",
         Amid([](const std::string& i) {
             return File{"dhcp/dhclient6.eth" + i + ".leases", "lease6 { }\n" + DhclientFile("10.0.0.6"), 20};
         }),
         "10.0.0.1"},
        {"a live dhclient lease amid 34 MiB of older dhclient files", "10.0.0.20",
         Amid([](const std::string& i) {
             return File{"dhcp/dhclient.gone" + i + ".leases", std::string(1 << 20, '#'), 5};
         }),
         "10.0.0.1"},
        {"networkd's file of the link's index before a newer dhcpcd one", "10.0.0.20", networkdFirst, "10.0.0.5"},
        {"networkd's file of another index", "10.0.0.20", networkdFirst, "10.0.0.3", "eth0", 3},
        {"a name that leaves the folder", "10.0.0.20", {{"x.lease", DhcpcdFile(7), 1000}}, {}, "../x"},
    };
    for (const auto& c : cases) {
        Empty();
        for (const auto& [path, text, written] : c.files) Write(root_ + "/" + path, text, written);
        EXPECT_EQ(ServerOf(c.name, c.index, c.linkAddress), c.server) << c.what;
    }
}

TEST_F(LeaseFolders, PastTheBoundDhclientsLastMebibyteFromItsFirstWholeBlock) {
    const std::string last = DhclientFile("10.0.0.1");
    const std::pair<const char*, std::string> cases[] = {
        // Read from there, the rest would be misread.
        {"starts inside a string",
         "lease { interface \"eth0\"; option domain-name \"" + std::string(1 << 20, 'a') + "\"; }\n" + last},
        {"starts with a block", DhclientFile("10.0.0.2") + last + std::string((1 << 20) - last.size(), '\n')},
    };
    for (const auto& [lastMebibyte, text] : cases) {
        Write(dirs_.dhclient + "/dhclient.leases", text, 1);
        EXPECT_EQ(ServerOf(), "10.0.0.1") << "the last MiB " << lastMebibyte;
    }
}

TEST_F(LeaseFolders, TheMoreRecentlyWrittenOfDhcpcdAndDhclient) {
    EXPECT_EQ(ServerOf("eth0"), std::nullopt);
    Write(dirs_.dhclient + "/dhclient.eth0.leases", DhclientFile("10.0.0.1"), 1000);
    Write(dirs_.dhclient + "/dhclient.leases", DhclientFile("10.0.0.2"), 2000);
    Write(dirs_.dhclient + "/other.leases", DhclientFile("10.0.0.9"), 9000);  // not dhclient's
    EXPECT_EQ(ServerOf("eth0"), "10.0.0.2");
    Write(dirs_.dhcpcd + "/eth0.lease", DhcpcdFile(3), 3000);
    EXPECT_EQ(ServerOf("eth0"), "10.0.0.3");
    Write(dirs_.dhclient + "/dhclient.eth0.leases", DhclientFile("10.0.0.4"), 4000);
    EXPECT_EQ(ServerOf("eth0"), "10.0.0.4");
    EXPECT_EQ(ServerOf("eth1"), std::nullopt);
}

}  // namespace
}  // namespace quorvane::linux_inventory
