#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "inventory/adapter_source.h"

namespace quorvane {

// Adapter records held in memory, handed out in order: for benchmarks and
// for exercising a frontend without a management service.
class InMemoryAdapterSource : public AdapterSource {
public:
    using Record = std::vector<std::pair<std::u16string, Value>>;

    explicit InMemoryAdapterSource(std::vector<Record> records) : records_(std::move(records)) {}

    std::unique_ptr<AdapterEnumeration> InstancesOf(std::u16string_view className) override;

    // A plausible DHCP-configured Ethernet adapter with the given index.
    static Record SampleRecord(std::int64_t index);

private:
    std::vector<Record> records_;
};

}  // namespace quorvane
