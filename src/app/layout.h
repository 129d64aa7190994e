#pragma once

namespace quorvane {

// Where the controls stand when the window is created, in twips.
struct DesignRect {
    float left, top, width, height;
};

inline constexpr float kDesignClientWidth = 7005.0f;
inline constexpr float kDesignClientHeight = 5610.0f;

inline constexpr DesignRect kListView1Design{120.0f, 120.0f, 6735.0f, 4935.0f};
inline constexpr DesignRect kCommand1Design{120.0f, 5160.0f, 2295.0f, 375.0f};
inline constexpr DesignRect kCommand2Design{2520.0f, 5160.0f, 2055.0f, 375.0f};
inline constexpr DesignRect kChkCommasDesign{4680.0f, 5160.0f, 2175.0f, 375.0f};

// The margin around the table and below the bottom row, and what the table's
// width gives up to the margins on both sides.
inline constexpr float kLayoutMargin = 120.0f;
inline constexpr float kListViewSideMargins = 240.0f;

inline constexpr float kTwipsPerInch = 1440.0f;

// Conversions at the window's DPI: pixels = twips * dpi / 1440.
float TwipsToPixels(float twips, float dpi);
float PixelsToTwips(float pixels, float dpi);

// Single-precision subtraction that raises the overflow error when the
// result is no finite number (an overflow or an invalid operation).
float CheckedSubtract(float a, float b);

// a - b - c with the intermediate difference kept at double precision and
// only the result rounded to single precision, as a stored value is. Raises
// the overflow error when any step or the rounded result is no finite number.
float CheckedSubtractRoundedOnce(float a, float b, float c);

}  // namespace quorvane
