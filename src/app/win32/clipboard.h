#pragma once

// The system clipboard as plain Unicode text.

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>

#include "app/controls.h"

namespace quorvane::win32 {

class Win32Clipboard final : public Clipboard {
public:
    // Another program may hold the clipboard open for a moment; opening is
    // retried for `patience` before the copy is given up. `onTaken`, when
    // set, is called each time opening finds the clipboard taken, before the
    // next try: a seam where tests let their holder go once a copy has met it.
    explicit Win32Clipboard(HWND owner, std::function<void()> onTaken = {},
                            std::chrono::milliseconds patience = std::chrono::milliseconds(500))
        : owner_(owner), onTaken_(std::move(onTaken)), patience_(patience) {}

    // Replaces the content with `text` as CF_UNICODETEXT. Raises the platform
    // error when the clipboard cannot be opened or refuses the text; the
    // previous content then stays, unless the system refuses the text after
    // having emptied the clipboard.
    void ReplaceText(const std::u16string& text) override;

private:
    HWND owner_;
    std::function<void()> onTaken_;
    std::chrono::milliseconds patience_;
};

}  // namespace quorvane::win32
