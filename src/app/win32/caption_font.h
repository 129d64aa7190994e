#pragma once

// The fonts of the window's captions. The layout's twips were drawn for an
// 8-point form font, so the controls get the system's message face at 8
// points scaled to the window's DPI. A caption that does not fit its
// control's text area in that font (a wide face such as DejaVu Sans needs
// three lines for the check box's caption) gets the largest smaller size of
// the same face at which it fits, so that it always shows whole.

#include <windows.h>

#include "win32/gdi_owners.h"

namespace quorvane::win32 {

// The system's message face at 8 points at `dpi`.
[[nodiscard]] LOGFONTW FormFontAt(UINT dpi);

// The rectangle of `control`'s client area the caption is drawn in, and the
// DrawText flags it is laid out with there: one centred line for a push
// button, left-aligned lines broken at words for a multi-line check box.
struct CaptionLayout {
    RECT area;
    UINT format;
};
[[nodiscard]] CaptionLayout CaptionLayoutOf(HWND control, UINT dpi);

// Whether `control`'s caption, in `font`, fits inside its text area with
// `sparePixels` to spare on the right and below.
[[nodiscard]] bool CaptionFits(HWND control, HFONT font, UINT dpi, int sparePixels);

// `form`, or the same face at the largest smaller height at which the
// control's caption fits (no smaller than 6 points).
[[nodiscard]] unique_hfont FittedCaptionFont(HWND control, const LOGFONTW& form, UINT dpi);

}  // namespace quorvane::win32
