#include "app/qt/qt_controls.h"

#include <QApplication>
#include <QClipboard>
#include <QDate>
#include <QLocale>

#include "app/qt/qt_text.h"
#include "base/error.h"

namespace quorvane::qt {

std::int16_t QtCheckBox::Value() const {
    switch (box_.checkState()) {
        case Qt::Checked: return CheckBox::kChecked;
        case Qt::PartiallyChecked: return CheckBox::kGrayed;
        case Qt::Unchecked: break;
    }
    return CheckBox::kUnchecked;
}

float QtFormSurface::ScaleWidth() const {
    return PixelsToTwips(static_cast<float>(window_.width()), dpi_);
}

float QtFormSurface::ScaleHeight() const {
    return PixelsToTwips(static_cast<float>(window_.height()), dpi_);
}

void QtClipboard::ReplaceText(const std::u16string& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (clipboard == nullptr) ThrowPlatform("no clipboard", 0);
    // setText replaces every format the clipboard held with text/plain.
    clipboard->setText(ToQString(text), QClipboard::Clipboard);
}

void BeepFailureSignal::Beep() noexcept {
    QApplication::beep();
}

std::u16string QtShortDateFormat::Render(const CalendarDate& date) const {
    const QDate qdate(date.year, date.month, date.day);
    if (!qdate.isValid()) ThrowConversion("short date");
    return FromQString(QLocale::system().toString(qdate, QLocale::ShortFormat));
}

}  // namespace quorvane::qt
