#pragma once

// The owner for the open clipboard: unique_close_clipboard_call.

#include <windows.h>

#include "win32/unique_any.h"

namespace quorvane::win32 {

namespace detail {
inline void CloseClipboard() noexcept { ::CloseClipboard(); }
}  // namespace detail

using unique_close_clipboard_call = unique_call<decltype(&detail::CloseClipboard), &detail::CloseClipboard>;

}  // namespace quorvane::win32
