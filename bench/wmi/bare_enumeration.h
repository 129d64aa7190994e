#pragma once

// The yardstick of the Windows benchmarks: the WMI calls a listing is made
// of and nothing else. Connect to ROOT\CIMV2, enumerate the adapter
// configuration class, and Get each of the row properties once per adapter,
// values discarded (some fail under Wine; they are timed all the same).

#include <windows.h>
#include <wbemidl.h>

#include "inventory/adapter_source.h"
#include "inventory/wmi/wmi_connection.h"
#include "win32/com_owners.h"
#include "win32/platform_error.h"

namespace quorvane::bench {

// Returns the number of adapters; throws `Error` when the service fails.
inline int BareWmiEnumeration() {
    using win32::com_ptr;
    const com_ptr<IWbemServices> services = wmi::ConnectLocalCimv2();
    const win32::unique_bstr className = wmi::MakeBstr(kAdapterConfigurationClass);
    com_ptr<IEnumWbemClassObject> instances;
    win32::ThrowIfFailed(services->CreateInstanceEnum(className.get(), WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                                    nullptr, instances.put()),
                       "CreateInstanceEnum");
    int adapters = 0;
    for (;;) {
        com_ptr<IWbemClassObject> object;
        ULONG returned = 0;
        win32::ThrowIfFailed(instances->Next(30'000, 1, object.put(), &returned), "Next");
        if (returned == 0) break;
        ++adapters;
        for (const std::u16string_view property : kAdapterProperties) {
            // The names are string literals, so they end in a NUL; wchar_t is
            // 16 bits on Windows.
            const auto* name = reinterpret_cast<const wchar_t*>(property.data());
            win32::unique_variant value;
            static_cast<void>(object->Get(name, 0, value.put(), nullptr, nullptr));
        }
    }
    return adapters;
}

}  // namespace quorvane::bench
