#pragma once

// Owners for GDI resources: unique_hfont, unique_hdc_window and
// select_object.

#include <windows.h>

#include "win32/unique_any.h"

namespace quorvane::win32 {

namespace detail {
inline void DeleteFont(HFONT f) noexcept { ::DeleteObject(f); }
}  // namespace detail

using unique_hfont = unique_any<HFONT, decltype(&detail::DeleteFont), &detail::DeleteFont>;

// A window's device context from GetDC, released to that window.
class unique_hdc_window {
public:
    explicit unique_hdc_window(HWND hwnd) noexcept : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    unique_hdc_window(const unique_hdc_window&) = delete;
    unique_hdc_window& operator=(const unique_hdc_window&) = delete;
    ~unique_hdc_window() {
        if (dc_) ::ReleaseDC(hwnd_, dc_);
    }
    [[nodiscard]] HDC get() const noexcept { return dc_; }
    explicit operator bool() const noexcept { return dc_ != nullptr; }

private:
    HWND hwnd_;
    HDC dc_;
};

// An object selected into a device context for a scope; the previous one is
// selected back when it ends.
class select_object {
public:
    select_object(HDC dc, HGDIOBJ object) noexcept : dc_(dc), previous_(::SelectObject(dc, object)) {}
    select_object(const select_object&) = delete;
    select_object& operator=(const select_object&) = delete;
    ~select_object() {
        if (previous_) ::SelectObject(dc_, previous_);
    }

private:
    HDC dc_;
    HGDIOBJ previous_;
};

}  // namespace quorvane::win32
