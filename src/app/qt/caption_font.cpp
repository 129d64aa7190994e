#include "app/qt/caption_font.h"

#include <QFontDatabase>
#include <QFontMetrics>

namespace quorvane::qt {
namespace {

constexpr qreal kFormFontPoints = 8.0;
constexpr qreal kSmallestPoints = 6.0;
constexpr qreal kStepPoints = 0.25;

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

QFont FittedCaptionFont(QFont font, const QRect& area, int flags, const QString& caption) {
    while (!Fits(font, area, flags, caption) && font.pointSizeF() - kStepPoints >= kSmallestPoints) {
        font.setPointSizeF(font.pointSizeF() - kStepPoints);
    }
    return font;
}

}  // namespace quorvane::qt
