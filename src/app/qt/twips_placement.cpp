#include "app/qt/twips_placement.h"

#include <QWidget>
#include <cmath>

#include "base/error.h"

namespace quorvane::qt {
namespace {

int ToPixels(float twips, float dpi) {
    const float pixels = std::round(TwipsToPixels(twips, dpi));
    // QWidget geometry is int; a value beyond it cannot be shown anyway.
    if (!std::isfinite(pixels) || pixels > 1.0e6f || pixels < -1.0e6f) ThrowInvalidArgument("widget geometry");
    return static_cast<int>(pixels);
}

void CheckSize(float twips) {
    if (!std::isfinite(twips) || twips < 0.0f) ThrowInvalidArgument("widget size");
}

}  // namespace

TwipsPlacement::TwipsPlacement(QWidget& widget, DesignRect design, float dpi)
    : widget_(widget), twips_(design), dpi_(dpi) {
    Apply();
}

void TwipsPlacement::SetTop(float twips) {
    ToPixels(twips, dpi_);  // refuses what no widget could stand at
    twips_.top = twips;
    Apply();
}

void TwipsPlacement::SetWidth(float twips) {
    CheckSize(twips);
    ToPixels(twips, dpi_);
    twips_.width = twips;
    Apply();
}

void TwipsPlacement::SetHeight(float twips) {
    CheckSize(twips);
    ToPixels(twips, dpi_);
    twips_.height = twips;
    Apply();
}

void TwipsPlacement::Apply() {
    widget_.setGeometry(ToPixels(twips_.left, dpi_), ToPixels(twips_.top, dpi_), ToPixels(twips_.width, dpi_),
                        ToPixels(twips_.height, dpi_));
}

}  // namespace quorvane::qt
