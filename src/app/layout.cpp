#include "app/layout.h"

#include <cmath>

#include "inventory/error.h"

namespace quorvane {

float TwipsToPixels(float twips, float dpi) { return twips * dpi / kTwipsPerInch; }

float PixelsToTwips(float pixels, float dpi) { return pixels * kTwipsPerInch / dpi; }

float CheckedSubtract(float a, float b) {
    const float r = a - b;
    if (!std::isfinite(r)) ThrowOverflow("single-precision subtraction");
    return r;
}

}  // namespace quorvane
