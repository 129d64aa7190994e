#pragma once

#include <array>
#include <memory>
#include <string_view>

#include "inventory/value.h"

namespace quorvane {

// The management class whose instances make the rows of the table.
inline constexpr std::u16string_view kAdapterConfigurationClass = u"Win32_NetworkAdapterConfiguration";

// The properties of that class that make a row of the table.
inline constexpr std::array<std::u16string_view, 13> kAdapterProperties = {
    u"Index",       u"MACAddress",        u"IPEnabled",        u"IPAddress",
    u"DHCPEnabled", u"DHCPServer",        u"DHCPLeaseObtained", u"DHCPLeaseExpires",
    u"DNSEnabledForWINSResolution",       u"DNSHostName",      u"DNSDomain",
    u"Description", u"DNSServerSearchOrder",
};

// One adapter configuration record. Every read may fail with `Error`.
class AdapterObject {
public:
    virtual ~AdapterObject() = default;
    // The property's current value, Null when the record has none.
    virtual Value Read(std::u16string_view property) = 0;
};

// The records of one query, in the service's order.
class AdapterEnumeration {
public:
    virtual ~AdapterEnumeration() = default;
    // The next record, or nullptr at the end. Throws `Error` when fetching fails.
    virtual std::unique_ptr<AdapterObject> Next() = 0;
};

// The management service: the WMI service on Windows, the kernel and
// NetworkManager on Linux, a fake in tests.
class AdapterSource {
public:
    virtual ~AdapterSource() = default;
    // Obtains the service and asks for every instance of `className`.
    // Throws `Error` when the service cannot be reached or refuses the query.
    virtual std::unique_ptr<AdapterEnumeration> InstancesOf(std::u16string_view className) = 0;
};

}  // namespace quorvane
