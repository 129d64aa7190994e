#include "app/win32/clipboard.h"

#include <cstring>
#include <limits>

#include "base/error.h"
#include "win32/clipboard_owners.h"
#include "win32/memory_owners.h"
#include "win32/platform_error.h"

namespace quorvane::win32 {

namespace {

// The text with its terminator, in memory the clipboard can take over.
unique_hglobal CopyToGlobal(const std::u16string& text) {
    if (text.size() >= std::numeric_limits<SIZE_T>::max() / sizeof(wchar_t) - 1) {
        ThrowInvalidArgument("clipboard text too long");
    }
    const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
    unique_hglobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes));
    if (!memory) ThrowLastError("GlobalAlloc");
    const unique_hglobal_locked locked(memory.get());
    if (!locked.get()) ThrowLastError("GlobalLock");
    std::memcpy(locked.get(), text.c_str(), bytes);
    return memory;
}

unique_close_clipboard_call OpenWithRetry(HWND owner, const std::function<void()>& onTaken,
                                          std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    for (;;) {
        if (::OpenClipboard(owner)) return unique_close_clipboard_call(true);
        if (std::chrono::steady_clock::now() >= deadline) ThrowLastError("OpenClipboard");
        if (onTaken) onTaken();
        ::Sleep(10);
    }
}

}  // namespace

void Win32Clipboard::ReplaceText(const std::u16string& text) {
    unique_hglobal memory = CopyToGlobal(text);
    const unique_close_clipboard_call open = OpenWithRetry(owner_, onTaken_, patience_);
    if (!::EmptyClipboard()) ThrowLastError("EmptyClipboard");
    if (!::SetClipboardData(CF_UNICODETEXT, memory.get())) ThrowLastError("SetClipboardData");
    // The system owns the memory from here on.
    static_cast<void>(memory.release());
}

}  // namespace quorvane::win32
