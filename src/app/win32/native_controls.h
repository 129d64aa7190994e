#pragma once

// The window's small controls as the core sees them: the push buttons, the
// check box, the client area and the failure beep.

#include <windows.h>

#include "app/controls.h"
#include "app/win32/placed_control.h"

namespace quorvane::win32 {

class Win32Button final : public Placed<Button> {
public:
    using Placed<Button>::Placed;
    void SetEnabled(bool enabled) override;
};

class Win32CheckBox final : public Placed<CheckBox> {
public:
    using Placed<CheckBox>::Placed;
    // BST_UNCHECKED, BST_CHECKED and BST_INDETERMINATE are 0, 1 and 2, the
    // values the core expects.
    [[nodiscard]] std::int16_t Value() const override;
};

// The client area of the main window in twips at the window's DPI.
class Win32FormSurface final : public FormSurface {
public:
    Win32FormSurface(HWND hwnd, const WindowDpi& dpi) : hwnd_(hwnd), dpi_(dpi) {}
    [[nodiscard]] float ScaleWidth() const override;
    [[nodiscard]] float ScaleHeight() const override;

private:
    [[nodiscard]] RECT Client() const;
    HWND hwnd_;
    const WindowDpi& dpi_;
};

class MessageBeepSignal final : public FailureSignal {
public:
    void Beep() noexcept override { ::MessageBeep(MB_ICONERROR); }
};

}  // namespace quorvane::win32
