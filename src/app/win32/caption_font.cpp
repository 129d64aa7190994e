#include "app/win32/caption_font.h"

#include <string>
#include <utility>

#include "app/form_design.h"
#include "win32/platform_error.h"

namespace quorvane::win32 {

namespace {

// A font's size in whole pixels at `dpi`; LOGFONT takes it negated, as the
// height of the characters without the line's leading.
int PointsToPixels(int points, UINT dpi) { return ::MulDiv(points, static_cast<int>(dpi), 72); }

std::wstring CaptionOf(HWND control) {
    std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(::GetWindowTextW(control, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsCheckBox(HWND control) {
    const auto type = static_cast<UINT>(::GetWindowLongPtrW(control, GWL_STYLE)) & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE || type == BS_AUTO3STATE;
}

// The rectangle of `control`'s client area the caption is drawn in, and the
// DrawText flags it is laid out with there: one centred line for a push
// button, left-aligned lines broken at words for a multi-line check box.
struct CaptionLayout {
    RECT area;
    UINT format;
};

CaptionLayout CaptionLayoutOf(HWND control, UINT dpi) {
    RECT area{};
    if (!::GetClientRect(control, &area)) ThrowLastError("GetClientRect (caption)");
    const int edgeX = ::GetSystemMetricsForDpi(SM_CXEDGE, dpi);
    const int edgeY = ::GetSystemMetricsForDpi(SM_CYEDGE, dpi);
    if (IsCheckBox(control)) {
        // Right of the box and the gap after it; a pixel kept on the right
        // for the focus rectangle.
        area.left += ::GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi) + 3 * edgeX;
        area.right -= 1;
        return {area, DT_LEFT | DT_WORDBREAK};
    }
    // Inside the button's raised edge and its focus rectangle.
    ::InflateRect(&area, -(edgeX + 1), -edgeY);
    return {area, DT_CENTER | DT_VCENTER | DT_SINGLELINE};
}

// Whether `control`'s caption, in `font`, fits inside its text area with
// `sparePixels` to spare on the right and below.
bool CaptionFits(HWND control, HFONT font, UINT dpi, int sparePixels) {
    CaptionLayout layout = CaptionLayoutOf(control, dpi);
    layout.area.right -= sparePixels;
    layout.area.bottom -= sparePixels;
    const unique_hdc_window dc(control);
    if (!dc) ThrowLastError("GetDC (caption)");
    const select_object selected(dc.get(), font);
    const std::wstring caption = CaptionOf(control);
    RECT extent{0, 0, layout.area.right - layout.area.left, 0};
    ::DrawTextW(dc.get(), caption.c_str(), static_cast<int>(caption.size()), &extent, layout.format | DT_CALCRECT);
    // A single centred line is measured around the rectangle's middle.
    return extent.right - extent.left <= layout.area.right - layout.area.left &&
           extent.bottom - extent.top <= layout.area.bottom - layout.area.top;
}

}  // namespace

LOGFONTW FormFontAt(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!::SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) {
        ThrowLastError("SystemParametersInfoForDpi");
    }
    LOGFONTW font = metrics.lfMessageFont;
    font.lfHeight = -PointsToPixels(kFormFontPoints, dpi);
    font.lfWidth = 0;
    return font;
}

unique_hfont FittedCaptionFont(HWND control, const LOGFONTW& form, UINT dpi) {
    LOGFONTW font = form;
    const auto atPixels = [&font](int pixels) {
        font.lfHeight = -pixels;
        unique_hfont created(::CreateFontIndirectW(&font));
        if (!created) ThrowLastError("CreateFontIndirectW");
        return created;
    };
    // The font that fitted is kept; the smallest size, never tried, is made
    // when no larger one fits. A control's edges are rounded to pixels one
    // by one, so wherever the layout moves it, it may come out a pixel
    // narrower or lower: a pixel is kept to spare.
    unique_hfont fitted;
    const int pixels = LargestFittingSize(-form.lfHeight, PointsToPixels(kSmallestCaptionPoints, dpi), [&](int size) {
        unique_hfont candidate = atPixels(size);
        if (!CaptionFits(control, candidate.get(), dpi, 1)) return false;
        fitted = std::move(candidate);
        return true;
    });
    if (!fitted) fitted = atPixels(pixels);
    return fitted;
}

}  // namespace quorvane::win32
