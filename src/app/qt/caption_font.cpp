#include "app/qt/caption_font.h"

#include <QFontDatabase>
#include <QFontMetrics>

#include "app/form_design.h"

namespace quorvane::qt {
namespace {

// Qt lays text out at fractional point sizes; a caption's size steps down a
// quarter point at a time.
constexpr int kStepsPerPoint = 4;

bool Fits(const QFont& font, const QRect& area, int flags, const QString& caption) {
    const QRect extent = QFontMetrics(font).boundingRect(area, flags, caption);
    return extent.width() <= area.width() && extent.height() <= area.height();
}

}  // namespace

QFont FormFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(kFormFontPoints);
    return font;
}

QFont FittedCaptionFont(QFont face, const QRect& area, int flags, const QString& caption) {
    const auto atSteps = [&face](int steps) {
        face.setPointSizeF(static_cast<qreal>(steps) / kStepsPerPoint);
        return face;
    };
    return atSteps(LargestFittingSize(kFormFontPoints * kStepsPerPoint, kSmallestCaptionPoints * kStepsPerPoint,
                                      [&](int steps) { return Fits(atSteps(steps), area, flags, caption); }));
}

}  // namespace quorvane::qt
