#pragma once

#include "app/layout.h"

class QWidget;

namespace quorvane::qt {

// Where one widget stands, kept in twips as the window's logic sets it and
// applied to the widget in pixels at the screen's logical DPI. Reading back
// gives the twips that were set, not the rounded pixels, so the logic's
// arithmetic is not disturbed by rounding.
class TwipsPlacement {
public:
    TwipsPlacement(QWidget& widget, DesignRect design, float dpi);

    [[nodiscard]] const DesignRect& Twips() const noexcept { return twips_; }
    void SetTop(float twips);
    // Sizes must be finite and not negative; anything else is refused with
    // the invalid-argument error and the widget keeps its size.
    void SetWidth(float twips);
    void SetHeight(float twips);

private:
    void Apply();

    QWidget& widget_;
    DesignRect twips_;
    float dpi_;
};

}  // namespace quorvane::qt
