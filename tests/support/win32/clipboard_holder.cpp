#include "support/win32/clipboard_holder.h"

#include <cstring>

#include "win32/clipboard_owners.h"
#include "win32/memory_owners.h"

namespace quorvane::win32::testing {

bool PutClipboardText(const std::wstring& text) {
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    unique_hglobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) return false;
    {
        const unique_hglobal_locked locked(memory.get());
        if (!locked.get()) return false;
        std::memcpy(locked.get(), text.c_str(), bytes);
    }
    const unique_close_clipboard_call open(::OpenClipboard(nullptr) != FALSE);
    if (!open || !::EmptyClipboard() || !::SetClipboardData(CF_UNICODETEXT, memory.get())) return false;
    static_cast<void>(memory.release());
    return true;
}

std::wstring ReadClipboardText() {
    const unique_close_clipboard_call open(::OpenClipboard(nullptr) != FALSE);
    if (!open) return L"<clipboard not open>";
    HANDLE data = ::GetClipboardData(CF_UNICODETEXT);
    if (!data) return {};
    const unique_hglobal_locked locked(data);
    if (!locked.get()) return L"<clipboard not readable>";
    const auto* text = static_cast<const wchar_t*>(locked.get());
    // Stop at the terminator or at the end of the block, whichever comes first.
    const SIZE_T capacity = ::GlobalSize(data) / sizeof(wchar_t);
    return std::wstring(text, wcsnlen(text, capacity));
}

}  // namespace quorvane::win32::testing
