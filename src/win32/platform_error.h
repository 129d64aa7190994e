#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace quorvane::wmi {

// Raises the Platform error for a failed call: the message names the call
// and the HRESULT in hex, platformCode() carries the HRESULT itself.
[[noreturn]] void ThrowHresult(HRESULT hr, std::string_view call);

inline void ThrowIfFailed(HRESULT hr, std::string_view call) {
    if (FAILED(hr)) ThrowHresult(hr, call);
}

// A property or class name for a diagnostic message; non-ASCII becomes '?'.
std::string DiagnosticName(std::u16string_view name);

}  // namespace quorvane::wmi
