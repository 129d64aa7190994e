#include "inventory/linux/linux_adapter_source.h"

#include <limits.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>

#include "base/error.h"
#include "inventory/linux/adapter_records.h"
#include "inventory/linux/dbus/bus_caller.h"
#include "inventory/linux/dbus/bus_connection.h"
#include "inventory/linux/kernel/sysfs_driver.h"
#include "inventory/linux/kernel/udev_names.h"
#include "inventory/linux/leases/lease_files.h"

namespace quorvane::linux_inventory {

namespace {

class SnapshotObject final : public AdapterObject {
public:
    explicit SnapshotObject(std::shared_ptr<const AdapterRecord> record) : record_(std::move(record)) {}
    Value Read(std::u16string_view property) override { return PropertyOf(*record_, property); }

private:
    std::shared_ptr<const AdapterRecord> record_;
};

class SnapshotEnumeration final : public AdapterEnumeration {
public:
    explicit SnapshotEnumeration(std::vector<AdapterRecord> records) {
        records_.reserve(records.size());
        for (auto& record : records) records_.push_back(std::make_shared<const AdapterRecord>(std::move(record)));
    }
    std::unique_ptr<AdapterObject> Next() override {
        if (next_ >= records_.size()) return nullptr;
        return std::make_unique<SnapshotObject>(records_[next_++]);
    }

private:
    std::vector<std::shared_ptr<const AdapterRecord>> records_;
    std::size_t next_ = 0;
};

std::optional<std::string> HostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') return std::nullopt;
    return std::string(name);
}

}  // namespace

LinuxAdapterSource::LinuxAdapterSource() : LinuxAdapterSource(LinuxSourceOptions{}) {}

LinuxAdapterSource::LinuxAdapterSource(LinuxSourceOptions options) : options_(std::move(options)) {}

std::unique_ptr<AdapterEnumeration> LinuxAdapterSource::InstancesOf(std::u16string_view className) {
    if (className != kAdapterConfigurationClass) ThrowInvalidArgument("unknown management class");

    SystemFacts facts;
    facts.links = options_.readLinks ? options_.readLinks() : ReadKernelLinks();
    {
        // One deadline for the whole conversation, the connection included,
        // so a hung bus or service delays a snapshot by a bounded time.
        using std::chrono::milliseconds;
        const auto deadline = BusCaller::Clock::now() + milliseconds(options_.busBudgetMs);
        BusConnection connection(options_.busAddress,
                                 std::min(milliseconds(options_.connectTimeoutMs), milliseconds(options_.busBudgetMs)));
        BusCaller bus(connection.get(), options_.timeoutMs, deadline);
        facts.networkManager = ReadNetworkManager(bus);
        facts.resolved = ReadResolved(bus);
        facts.networkd = ReadNetworkd(bus);
    }
    if (!facts.resolved) facts.resolvConf = ReadResolvConf(options_.resolvConfPath);
    facts.hostName = HostName();
    facts.driverOf = [root = options_.sysfsNetRoot](const std::string& name) { return DriverOfInterface(root, name); };
    facts.hardwareNameOf = [dir = options_.udevDataDir](std::uint32_t index) { return UdevHardwareName(dir, index); };
    facts.leaseOf = [files = std::make_shared<LeaseFiles>(options_.leaseDirectories)](const KernelLink& link) {
        return files->Of(link);
    };
    return std::make_unique<SnapshotEnumeration>(BuildRecords(facts));
}

}  // namespace quorvane::linux_inventory
