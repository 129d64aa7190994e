#pragma once

#include <memory>
#include <string_view>

#include "inventory/adapter_source.h"

namespace quorvane::wmi {

class ComApartment;

// The adapter configurations as Windows Management Instrumentation reports
// them. Each InstancesOf connects to ROOT\CIMV2 afresh; each Read asks the
// object again, nothing is cached. COM is initialised (single-threaded
// apartment) on first use and stays so while the source or anything it
// returned lives, so use one source and its results on one thread.
class WmiAdapterSource final : public quorvane::AdapterSource {
public:
    WmiAdapterSource() noexcept;
    ~WmiAdapterSource() override;
    WmiAdapterSource(const WmiAdapterSource&) = delete;
    WmiAdapterSource& operator=(const WmiAdapterSource&) = delete;

    std::unique_ptr<AdapterEnumeration> InstancesOf(std::u16string_view className) override;

private:
    std::shared_ptr<ComApartment> apartment_;
};

}  // namespace quorvane::wmi
