#pragma once

// The system clipboard as plain Unicode text.

#include <windows.h>

#include <chrono>
#include <string>

#include "app/controls.h"

namespace quorvane::win32 {

class Win32Clipboard final : public Clipboard {
public:
    // Another program may hold the clipboard open for a moment; opening is
    // retried for `patience` before the copy is given up.
    explicit Win32Clipboard(HWND owner, std::chrono::milliseconds patience = std::chrono::milliseconds(500))
        : owner_(owner), patience_(patience) {}

    // Replaces the content with `text` as CF_UNICODETEXT. Raises the platform
    // error when the clipboard cannot be opened or refuses the text; the
    // previous content then stays, unless the system refuses the text after
    // having emptied the clipboard.
    void ReplaceText(const std::u16string& text) override;

private:
    HWND owner_;
    std::chrono::milliseconds patience_;
};

}  // namespace quorvane::win32
