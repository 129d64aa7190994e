#include "inventory/wmi/com_apartment.h"

#include <objbase.h>

#include "win32/platform_error.h"

namespace quorvane::wmi {

using win32::ThrowIfFailed;

namespace {

// S_OK and S_FALSE (already initialised on this thread) both take a
// reference that CoUninitialize must give back; RPC_E_CHANGED_MODE takes none.
win32::unique_couninitialize_call EnterApartment() {
    const HRESULT hr = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (hr == RPC_E_CHANGED_MODE) return win32::unique_couninitialize_call(false);
    ThrowIfFailed(hr, "CoInitializeEx");
    return win32::unique_couninitialize_call(true);
}

}  // namespace

ComApartment::ComApartment() : uninitialize_(EnterApartment()) {}

void InitializeComSecurity() {
    const HRESULT hr = ::CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                                              RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);
    if (hr == RPC_E_TOO_LATE) return;
    ThrowIfFailed(hr, "CoInitializeSecurity");
}

}  // namespace quorvane::wmi
