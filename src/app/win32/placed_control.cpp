#include "app/win32/placed_control.h"

#include <cmath>
#include <limits>

#include "base/error.h"
#include "win32/platform_error.h"

namespace quorvane::win32 {

namespace {

int RoundToPixel(float twips, UINT dpi) {
    const double px = std::round(static_cast<double>(TwipsToPixels(twips, static_cast<float>(dpi))));
    if (!std::isfinite(px) || px < std::numeric_limits<int>::min() || px > std::numeric_limits<int>::max()) {
        ThrowInvalidArgument("control position beyond the pixel range");
    }
    return static_cast<int>(px);
}

}  // namespace

PixelRect ToPixels(const DesignRect& twips, UINT dpi) {
    if (!(twips.width >= 0.0f) || !(twips.height >= 0.0f)) ThrowInvalidArgument("negative control size");
    const int x = RoundToPixel(twips.left, dpi);
    const int y = RoundToPixel(twips.top, dpi);
    const int right = RoundToPixel(twips.left + twips.width, dpi);
    const int bottom = RoundToPixel(twips.top + twips.height, dpi);
    const long long cx = static_cast<long long>(right) - x;
    const long long cy = static_cast<long long>(bottom) - y;
    if (cx > std::numeric_limits<int>::max() || cy > std::numeric_limits<int>::max()) {
        ThrowInvalidArgument("control size beyond the pixel range");
    }
    return {x, y, static_cast<int>(cx), static_cast<int>(cy)};
}

void PlaceWindow(HWND hwnd, const DesignRect& twips, UINT dpi) {
    const PixelRect px = ToPixels(twips, dpi);
    if (!::SetWindowPos(hwnd, nullptr, px.x, px.y, px.cx, px.cy, SWP_NOZORDER | SWP_NOACTIVATE)) {
        ThrowLastError("SetWindowPos");
    }
}

}  // namespace quorvane::win32
