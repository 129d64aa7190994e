#pragma once

// The edge between the core's UTF-16 texts and the wide-character Windows API.

#include <string>
#include <string_view>

namespace quorvane::win32 {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the Windows API's wchar_t is a UTF-16 code unit");

// Both conversions copy code units one to one.
inline std::wstring ToWide(std::u16string_view s) { return std::wstring(s.begin(), s.end()); }
inline std::u16string FromWide(std::wstring_view s) { return std::u16string(s.begin(), s.end()); }

}  // namespace quorvane::win32
