// Speed of the Linux adapter source: one snapshot of this machine (kernel,
// D-Bus services, resolver, host name) with every property read, the kernel
// dump alone, the assembly of records for many interfaces, and the lease
// files' work for many interfaces against one parse of dhclient's files.
#include <arpa/inet.h>
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "inventory/linux/adapter_records.h"
#include "inventory/linux/kernel/kernel_links.h"
#include "inventory/linux/leases/dhclient_leases.h"
#include "inventory/linux/leases/lease_files.h"
#include "inventory/linux/linux_adapter_source.h"
#include "support/linux/fake_link.h"
#include "support/linux/temp_folder.h"

namespace quorvane::linux_inventory {
namespace {

// QUORVANE_BENCH_BUS names another bus to ask instead of the system bus,
// e.g. one with the NetworkManager mock of the tests.
LinuxSourceOptions BenchOptions() {
    LinuxSourceOptions options;
    if (const char* bus = std::getenv("QUORVANE_BENCH_BUS")) options.busAddress = bus;
    return options;
}

void BM_SnapshotOfThisMachine(benchmark::State& state) {
    LinuxAdapterSource source(BenchOptions());
    std::int64_t adapters = 0;
    for (auto _ : state) {
        auto enumeration = source.InstancesOf(kAdapterConfigurationClass);
        while (auto adapter = enumeration->Next()) {
            for (const auto name : kAdapterProperties) benchmark::DoNotOptimize(adapter->Read(name));
            ++adapters;
        }
    }
    state.counters["adapters"] = benchmark::Counter(static_cast<double>(adapters), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_SnapshotOfThisMachine)->Unit(benchmark::kMicrosecond);

void BM_KernelLinks(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(ReadKernelLinks());
}
BENCHMARK(BM_KernelLinks)->Unit(benchmark::kMicrosecond);

// N interfaces, each with two addresses and a NetworkManager device with a
// lease and two name servers.
SystemFacts ManyInterfaces(std::int64_t count) {
    SystemFacts facts;
    facts.networkManager.emplace();
    facts.hostName = "bench";
    for (std::int64_t i = 0; i < count; ++i) {
        KernelLink link;
        link.index = static_cast<std::uint32_t>(i + 2);
        link.name = "eth" + std::to_string(i);
        link.up = true;
        link.hardwareAddress = {0x02, 0, 0, 0, static_cast<std::uint8_t>(i >> 8), static_cast<std::uint8_t>(i)};
        KernelAddress v4, v6;
        v4.family = AF_INET;
        inet_pton(AF_INET, "10.0.0.1", v4.bytes.data());
        v6.family = AF_INET6;
        inet_pton(AF_INET6, "fe80::1", v6.bytes.data());
        link.addresses = {v6, v4};
        facts.links.push_back(link);

        NmDevice device;
        device.interfaceName = link.name;
        device.dhcpEnabled = true;
        device.dhcpServer = "10.0.0.254";
        device.leaseExpiry = 1'700'000'000 + i;
        device.leaseTime = 86400;
        device.dnsServers = std::vector<std::string>{"10.0.0.53", "10.0.1.53"};
        device.driver = "e1000e";
        facts.networkManager->push_back(device);
    }
    return facts;
}

void BM_BuildRecords(benchmark::State& state) {
    const SystemFacts facts = ManyInterfaces(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(BuildRecords(facts));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BuildRecords)->Arg(4)->Arg(64)->Arg(1024)->Unit(benchmark::kMicrosecond);

// One lease block as dhclient writes it, about 420 bytes.
std::string DhclientBlock(const std::string& interfaceName, const std::string& address, const std::string& date) {
    return "lease {\n  interface \"" + interfaceName + "\";\n  fixed-address " + address +
           ";\n  option subnet-mask 255.255.255.0;\n  option routers 192.168.1.1;\n  option dhcp-lease-time 86400;\n"
           "  option dhcp-message-type 5;\n  option domain-name-servers 192.168.1.53, 9.9.9.9;\n"
           "  option dhcp-server-identifier 192.168.1.1;\n  option domain-name \"corp.example\";\n"
           "  renew 3 " + date + " 01:00:00;\n  rebind 4 " + date + " 10:00:00;\n  expire 4 " + date +
           " 13:43:59;\n}\n";
}

// A dhclient lease file of N leases; the reader takes at most 1 MiB of it,
// some 2,500 leases.
void BM_DhclientLeaseFile(benchmark::State& state) {
    std::string text;
    for (std::int64_t i = 0; i < state.range(0); ++i) {
        text += DhclientBlock("eth" + std::to_string(i % 4), "192.168.1.20", "2007/01/25");
    }
    for (auto _ : state) {
        ForEachDhclientLease(text, [](std::string_view, DhcpLease&& lease) { benchmark::DoNotOptimize(lease); });
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_DhclientLeaseFile)->Arg(4)->Arg(2500)->Unit(benchmark::kMicrosecond);

// A machine of 1,000 links, each holding its own address, beside a dhclient
// folder at its bound: 16 files of just under 1 MiB, their live leases (they
// end in 2099) taking turns among the links. No dhcpcd or networkd lease.
constexpr int kManyLinks = 1000;

struct CrowdedLeaseFolder {
    CrowdedLeaseFolder() : root("lease-bench") {
        directories = {root.path() + "/dhcp", root.path() + "/dhcpcd", root.path() + "/netif"};
        std::filesystem::create_directories(directories.dhclient);
        int next = 0;
        for (int file = 0; file < 16; ++file) {
            std::string text;
            for (;;) {
                const std::string name = "eth" + std::to_string(next % kManyLinks);
                const std::string block = DhclientBlock(name, Ipv4Of(next % kManyLinks), "2099/01/25");
                if (text.size() + block.size() > (1 << 20)) break;
                text += block;
                ++next;
            }
            std::ofstream(directories.dhclient + "/dhclient.eth" + std::to_string(file) + ".leases") << text;
            texts.push_back(std::move(text));
        }
        for (int i = 0; i < kManyLinks; ++i) {
            const std::string address = Ipv4Of(i);
            links.push_back(testing::FakeLink(static_cast<std::uint32_t>(i + 2), ("eth" + std::to_string(i)).c_str(),
                                              {address.c_str(), "fe80::1"}));
        }
    }
    static std::string Ipv4Of(int link) {
        return "10." + std::to_string(link / 256) + "." + std::to_string(link % 256) + ".1";
    }
    std::int64_t Bytes() const {
        std::int64_t bytes = 0;
        for (const std::string& text : texts) bytes += static_cast<std::int64_t>(text.size());
        return bytes;
    }

    testing::TempFolder root;
    LeaseDirectories directories;
    std::vector<std::string> texts;  // the files' contents
    std::vector<KernelLink> links;
};

const CrowdedLeaseFolder& Crowded() {
    static const CrowdedLeaseFolder folder;
    return folder;
}

// One parse of the folder's text, already in memory: the least a list can do.
void BM_DhclientFolderParse(benchmark::State& state) {
    const CrowdedLeaseFolder& folder = Crowded();
    for (auto _ : state) {
        for (const std::string& text : folder.texts) {
            ForEachDhclientLease(text, [](std::string_view, DhcpLease&& lease) { benchmark::DoNotOptimize(lease); });
        }
    }
    state.SetBytesProcessed(state.iterations() * folder.Bytes());
}
BENCHMARK(BM_DhclientFolderParse)->Unit(benchmark::kMillisecond);

// The lease work of one list: every link asks the lease files of a new
// snapshot, which read and parse the folder and look for dhcpcd's and
// networkd's files.
void BM_LeasesOfManyLinks(benchmark::State& state) {
    const CrowdedLeaseFolder& folder = Crowded();
    std::int64_t found = 0;
    for (auto _ : state) {
        LeaseFiles files(folder.directories);
        for (const KernelLink& link : folder.links) found += files.Of(link).has_value() ? 1 : 0;
    }
    state.SetBytesProcessed(state.iterations() * folder.Bytes());
    state.counters["leases"] = benchmark::Counter(static_cast<double>(found), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_LeasesOfManyLinks)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace quorvane::linux_inventory

int main(int argc, char** argv) {
    // The system bus connection wants an application object.
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
