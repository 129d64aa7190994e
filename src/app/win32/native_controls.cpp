#include "app/win32/native_controls.h"

#include "app/layout.h"
#include "base/error.h"
#include "win32/platform_error.h"

namespace quorvane::win32 {

void Win32Button::SetEnabled(bool enabled) {
    // EnableWindow reports the previous state, not success; a vanished
    // control is the one failure worth telling.
    if (!::IsWindow(hwnd())) ThrowPlatform("Button: window gone", ERROR_INVALID_WINDOW_HANDLE);
    ::EnableWindow(hwnd(), enabled ? TRUE : FALSE);
}

std::int16_t Win32CheckBox::Value() const {
    if (!::IsWindow(hwnd())) ThrowPlatform("CheckBox: window gone", ERROR_INVALID_WINDOW_HANDLE);
    const LRESULT state = ::SendMessageW(hwnd(), BM_GETCHECK, 0, 0);
    switch (state) {
        case BST_CHECKED: return kChecked;
        case BST_INDETERMINATE: return kGrayed;
        default: return kUnchecked;
    }
}

RECT Win32FormSurface::Client() const {
    RECT r{};
    if (!::GetClientRect(hwnd_, &r)) ThrowLastError("GetClientRect");
    return r;
}

float Win32FormSurface::ScaleWidth() const {
    const RECT r = Client();
    return PixelsToTwips(static_cast<float>(r.right - r.left), static_cast<float>(dpi_.value));
}

float Win32FormSurface::ScaleHeight() const {
    const RECT r = Client();
    return PixelsToTwips(static_cast<float>(r.bottom - r.top), static_cast<float>(dpi_.value));
}

}  // namespace quorvane::win32
