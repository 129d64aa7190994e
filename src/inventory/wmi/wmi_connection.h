#pragma once

#include <wbemidl.h>

#include <string>
#include <string_view>

#include "win32/com_owners.h"

namespace quorvane::wmi {

// ROOT\CIMV2 of the local computer, with the impersonation level set on the
// proxy. COM must be initialised on the calling thread.
win32::com_ptr<IWbemServices> ConnectLocalCimv2();

// Asks for every instance of `className`, forward-only and returning at once
// (the instances are produced while they are fetched).
win32::com_ptr<IEnumWbemClassObject> EnumerateInstances(IWbemServices& services, std::u16string_view className);

// Fails with the Platform error unless the service knows `className`.
// Some services (Wine's) enumerate nothing for an unknown class instead of
// failing, so an empty enumeration is checked with this.
void RequireClass(IWbemServices& services, std::u16string_view className);

// Lets calls through `proxy` impersonate the caller.
void SetImpersonateBlanket(IUnknown* proxy, std::string_view what);

// A text as a BSTR that it owns; throws std::bad_alloc when out of memory.
win32::unique_bstr MakeBstr(std::u16string_view text);

// A property or class name for a diagnostic message; non-ASCII becomes '?'.
std::string DiagnosticName(std::u16string_view name);

}  // namespace quorvane::wmi
