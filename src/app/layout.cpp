#include "app/layout.h"

#include <cmath>

#include "base/error.h"

namespace quorvane {

float TwipsToPixels(float twips, float dpi) { return twips * dpi / kTwipsPerInch; }

float PixelsToTwips(float pixels, float dpi) { return pixels * kTwipsPerInch / dpi; }

float CheckedSubtract(float a, float b) {
    const float r = a - b;
    if (!std::isfinite(r)) ThrowOverflow("single-precision subtraction");
    return r;
}

float CheckedSubtractRoundedOnce(float a, float b, float c) {
    const double difference = static_cast<double>(a) - static_cast<double>(b) - static_cast<double>(c);
    const auto stored = static_cast<float>(difference);
    if (!std::isfinite(difference) || !std::isfinite(stored)) ThrowOverflow("single-precision subtraction");
    return stored;
}

}  // namespace quorvane
