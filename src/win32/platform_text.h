#pragma once

// The edge between the core's UTF-16 texts and the wide-character Windows API,
// and the one way a failed Windows call becomes the core's platform error.

#include <windows.h>

#include <string>
#include <string_view>

namespace quorvane::win32 {

// wchar_t is 16 bits on Windows, so both conversions copy code units one to one.
inline std::wstring ToWide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
inline std::u16string FromWide(std::wstring_view s) { return std::u16string(s.begin(), s.end()); }

// Raises `Error` of kind Platform with GetLastError() and the failed operation's name.
[[noreturn]] void ThrowLastError(const char* operation);

}  // namespace quorvane::win32
