#pragma once

#include <QCheckBox>

namespace quorvane::qt {

// A check box whose caption wraps at word boundaries when it does not fit on
// one line, the lines centred vertically beside the box as one line would be.
// Everything else is QCheckBox's own: the text (and so the accessible name),
// Space and clicks to toggle, focus and tab order.
class WrappingCheckBox final : public QCheckBox {
public:
    // How the caption is laid out in the style's contents rectangle.
    static constexpr int kCaptionFlags =
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;

    explicit WrappingCheckBox(const QString& text, QWidget* parent = nullptr);

    // The rectangle the caption is drawn in: the style's contents rectangle.
    [[nodiscard]] QRect CaptionArea() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    // A click anywhere on the control toggles it, on any line of the caption.
    [[nodiscard]] bool hitButton(const QPoint& pos) const override;
};

}  // namespace quorvane::qt
