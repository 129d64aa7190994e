#pragma once

#include <QFont>
#include <QRect>
#include <QString>

namespace quorvane::qt {

// The form's font: the platform's general UI face at the form's size
// (app/form_design.h); Qt scales points to the screen.
[[nodiscard]] QFont FormFont();

// How a push button lays out its caption in the style's contents rectangle.
inline constexpr int kPushButtonCaptionFlags = Qt::AlignCenter | Qt::TextShowMnemonic;

// `face` at the form's size, or at the largest smaller size, in quarter
// points down to the smallest caption size, in which `caption`, laid out with
// `flags`, takes no more room than `area`. In a wider UI face the check
// box's caption wraps onto two lines, and two lines at the form's size take
// more height than the control's text area has.
[[nodiscard]] QFont FittedCaptionFont(QFont face, const QRect& area, int flags, const QString& caption);

}  // namespace quorvane::qt
