#pragma once

// The one way a failed Windows call becomes the core's Platform error.

#include <windows.h>

#include <string>
#include <string_view>

namespace quorvane::win32 {

// Raises the Platform error for a failed COM call: the message names the
// call and the HRESULT in hex, platformCode() carries the HRESULT itself.
[[noreturn]] void ThrowHresult(HRESULT hr, std::string_view call);

inline void ThrowIfFailed(HRESULT hr, std::string_view call) {
    if (FAILED(hr)) ThrowHresult(hr, call);
}

// Raises the Platform error with GetLastError() and the failed call's name.
[[noreturn]] void ThrowLastError(std::string_view call);

}  // namespace quorvane::win32
