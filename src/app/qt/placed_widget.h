#pragma once

#include "app/qt/twips_placement.h"

namespace quorvane::qt {

// Implements the place-and-size part of a control interface (Button,
// CheckBox, ListViewControl) over one widget.
template <class ControlInterface>
class PlacedWidget : public ControlInterface {
public:
    PlacedWidget(QWidget& widget, DesignRect design, float dpi) : placement_(widget, design, dpi) {}

    [[nodiscard]] float Top() const override { return placement_.Twips().top; }
    void SetTop(float twips) override { placement_.SetTop(twips); }
    [[nodiscard]] float Width() const override { return placement_.Twips().width; }
    void SetWidth(float twips) override { placement_.SetWidth(twips); }
    [[nodiscard]] float Height() const override { return placement_.Twips().height; }
    void SetHeight(float twips) override { placement_.SetHeight(twips); }

    [[nodiscard]] float Left() const { return placement_.Twips().left; }

private:
    TwipsPlacement placement_;
};

}  // namespace quorvane::qt
