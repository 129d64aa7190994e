#include "inventory/wmi/wmi_adapter_source.h"

#include <wbemidl.h>

#include <string>
#include <utility>

#include "base/error.h"
#include "inventory/wmi/com_apartment.h"
#include "inventory/wmi/variant_value.h"
#include "inventory/wmi/wmi_connection.h"
#include "win32/com_owners.h"
#include "win32/platform_error.h"
#include "win32/platform_text.h"

namespace quorvane::wmi {

using win32::ThrowHresult;
using win32::ThrowIfFailed;

namespace {

// How long one fetch may wait for the service to produce the next instance.
// Generous, as a slow provider is still an answer; past it the listing fails
// instead of leaving the window unresponsive for good.
constexpr long kNextTimeoutMs = 30'000;

// Members are declared apartment first so that the COM pointer goes before it.
class WmiObject final : public AdapterObject {
public:
    WmiObject(std::shared_ptr<ComApartment> apartment, win32::com_ptr<IWbemClassObject> object) noexcept
        : apartment_(std::move(apartment)), object_(std::move(object)) {}

    Value Read(std::u16string_view property) override {
        if (property.find(u'\0') != std::u16string_view::npos) {
            ThrowInvalidArgument("property name holds a NUL character");
        }
        const std::wstring name = win32::ToWide(property);
        win32::unique_variant value;
        ThrowIfFailed(object_->Get(name.c_str(), 0, value.put(), nullptr, nullptr),
                      "IWbemClassObject::Get(" + DiagnosticName(property) + ")");
        return ValueFromVariant(value);
    }

private:
    std::shared_ptr<ComApartment> apartment_;
    win32::com_ptr<IWbemClassObject> object_;
};

class WmiEnumeration final : public AdapterEnumeration {
public:
    WmiEnumeration(std::shared_ptr<ComApartment> apartment, win32::com_ptr<IWbemServices> services,
                   std::u16string className)
        : apartment_(std::move(apartment)),
          services_(std::move(services)),
          className_(std::move(className)),
          instances_(EnumerateInstances(*services_.get(), className_)) {}

    std::unique_ptr<AdapterObject> Next() override {
        if (!instances_) return nullptr;  // already at the end
        win32::com_ptr<IWbemClassObject> object;
        ULONG returned = 0;
        const HRESULT hr = instances_->Next(kNextTimeoutMs, 1, object.put(), &returned);
        ThrowIfFailed(hr, "IEnumWbemClassObject::Next");
        if (returned == 0) {
            if (hr == WBEM_S_TIMEDOUT) ThrowHresult(hr, "IEnumWbemClassObject::Next (timed out)");
            // WBEM_S_FALSE: no more instances. None at all may mean the
            // class does not exist, which is a failure, not an empty list.
            // Asked only then, as it costs about one more enumeration.
            if (!anyReturned_) RequireClass(*services_.get(), className_);
            instances_.reset();
            services_.reset();
            return nullptr;
        }
        if (!object) ThrowHresult(E_POINTER, "IEnumWbemClassObject::Next (no object)");
        anyReturned_ = true;
        return std::make_unique<WmiObject>(apartment_, std::move(object));
    }

private:
    std::shared_ptr<ComApartment> apartment_;
    win32::com_ptr<IWbemServices> services_;
    std::u16string className_;
    win32::com_ptr<IEnumWbemClassObject> instances_;
    bool anyReturned_ = false;
};

}  // namespace

WmiAdapterSource::WmiAdapterSource() noexcept = default;
WmiAdapterSource::~WmiAdapterSource() = default;

std::unique_ptr<AdapterEnumeration> WmiAdapterSource::InstancesOf(std::u16string_view className) {
    if (!apartment_) {
        auto apartment = std::make_shared<ComApartment>();
        InitializeComSecurity();
        apartment_ = std::move(apartment);
    }
    return std::make_unique<WmiEnumeration>(apartment_, ConnectLocalCimv2(), std::u16string(className));
}

}  // namespace quorvane::wmi
