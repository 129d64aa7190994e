#pragma once

// The fonts of the window's captions: the system's message face at the
// form's size (app/form_design.h) scaled to the window's DPI. A caption that
// does not fit its control's text area in that font (a wide face such as
// DejaVu Sans needs three lines for the check box's caption) gets the largest
// smaller height in whole pixels of the same face at which it fits.

#include <windows.h>

#include "win32/gdi_owners.h"

namespace quorvane::win32 {

// The system's message face at the form's size at `dpi`.
[[nodiscard]] LOGFONTW FormFontAt(UINT dpi);

// `form`, or the same face at the largest smaller height at which the
// control's caption fits (no smaller than the smallest caption size).
[[nodiscard]] unique_hfont FittedCaptionFont(HWND control, const LOGFONTW& form, UINT dpi);

}  // namespace quorvane::win32
