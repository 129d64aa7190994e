#pragma once

#include <QCheckBox>
#include <QPushButton>

#include "app/controls.h"
#include "app/qt/placed_widget.h"
#include "inventory/short_date.h"

namespace quorvane::qt {

class QtButton final : public PlacedWidget<Button> {
public:
    QtButton(QPushButton& button, DesignRect design, float dpi) : PlacedWidget(button, design, dpi), button_(button) {}
    void SetEnabled(bool enabled) override { button_.setEnabled(enabled); }

private:
    QPushButton& button_;
};

class QtCheckBox final : public PlacedWidget<CheckBox> {
public:
    QtCheckBox(QCheckBox& box, DesignRect design, float dpi) : PlacedWidget(box, design, dpi), box_(box) {}
    // Qt::Unchecked, Qt::PartiallyChecked and Qt::Checked are 0, 2 and 1 in
    // the logic's numbering.
    [[nodiscard]] std::int16_t Value() const override;

private:
    QCheckBox& box_;
};

// The client area of a top-level widget, in twips at the given DPI.
class QtFormSurface final : public FormSurface {
public:
    QtFormSurface(const QWidget& window, float dpi) : window_(window), dpi_(dpi) {}
    [[nodiscard]] float ScaleWidth() const override;
    [[nodiscard]] float ScaleHeight() const override;

private:
    const QWidget& window_;
    float dpi_;
};

// The system clipboard through QClipboard, as plain text.
class QtClipboard final : public Clipboard {
public:
    void ReplaceText(const std::u16string& text) override;
};

class BeepFailureSignal final : public FailureSignal {
public:
    void Beep() noexcept override;
};

// The system locale's short date format.
class QtShortDateFormat final : public ShortDateFormat {
public:
    // A date that is no day of the calendar raises the conversion error.
    [[nodiscard]] std::u16string Render(const CalendarDate& date) const override;
};

}  // namespace quorvane::qt
