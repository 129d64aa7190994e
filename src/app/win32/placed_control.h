#pragma once

// Geometry of a native child control in twips, converted to pixels at the
// window's DPI. The twips last set are kept, so a read returns exactly what
// was set while the native control sits at the rounded pixel position.

#include <windows.h>

#include "app/controls.h"
#include "app/layout.h"

namespace quorvane::win32 {

// The DPI of the window the controls belong to; changes with WM_DPICHANGED.
struct WindowDpi {
    UINT value = USER_DEFAULT_SCREEN_DPI;
};

struct PixelRect {
    int x, y, cx, cy;
};

// Left and right edges are rounded separately so that neighbouring controls
// keep their gaps. Raises the invalid-argument error for a rectangle that has
// no pixel position (not finite, negative size or beyond the int range).
PixelRect ToPixels(const DesignRect& twips, UINT dpi);

// Moves `hwnd` to `twips` at `dpi`; raises the platform error when refused.
void PlaceWindow(HWND hwnd, const DesignRect& twips, UINT dpi);

// Implements PlacedControl for a native control; `Base` is one of the core's
// control interfaces.
template <typename Base>
class Placed : public Base {
public:
    Placed(HWND hwnd, const WindowDpi& dpi, const DesignRect& design) : hwnd_(hwnd), dpi_(dpi), rect_(design) {}

    [[nodiscard]] HWND hwnd() const noexcept { return hwnd_; }
    [[nodiscard]] DesignRect Rect() const noexcept { return rect_; }

    // Puts the native control where its twips say at the current DPI.
    void Place() const { PlaceWindow(hwnd_, rect_, dpi_.value); }

    [[nodiscard]] float Top() const override { return rect_.top; }
    [[nodiscard]] float Width() const override { return rect_.width; }
    [[nodiscard]] float Height() const override { return rect_.height; }
    void SetTop(float twips) override { Apply({rect_.left, twips, rect_.width, rect_.height}); }
    void SetWidth(float twips) override { Apply({rect_.left, rect_.top, twips, rect_.height}); }
    void SetHeight(float twips) override { Apply({rect_.left, rect_.top, rect_.width, twips}); }

protected:
    [[nodiscard]] UINT Dpi() const noexcept { return dpi_.value; }

private:
    // The new twips are kept only once the native control took them.
    void Apply(const DesignRect& r) {
        PlaceWindow(hwnd_, r, dpi_.value);
        rect_ = r;
    }

    HWND hwnd_;
    const WindowDpi& dpi_;
    DesignRect rect_;
};

}  // namespace quorvane::win32
