#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDate>
#include <QLocale>
#include <QClipboard>
#include <QGuiApplication>
#include <QWidget>
#include <limits>

#include "app/qt/qt_controls.h"
#include "app/qt/twips_placement.h"
#include "base/error.h"

namespace quorvane::qt {
namespace {

// At 144 dpi one pixel is ten twips, so the rounding is visible.
constexpr float kDpi = 144.0f;

TEST(TwipsPlacementTest, PlacesAtRoundedPixelsAndReadsBackTheTwipsSet) {
    QWidget parent;
    QWidget child(&parent);
    TwipsPlacement placement(child, DesignRect{120.0f, 5160.0f, 2295.0f, 375.0f}, kDpi);
    EXPECT_EQ(child.geometry(), QRect(12, 516, 230, 38));  // 229.5 and 37.5 round up

    placement.SetTop(5115.0f);
    EXPECT_EQ(placement.Twips().top, 5115.0f);
    EXPECT_EQ(child.y(), 512);  // 511.5

    // A negative top is a place like any other: the row moves out of sight.
    placement.SetTop(-495.0f);
    EXPECT_EQ(placement.Twips().top, -495.0f);
    EXPECT_EQ(child.y(), -50);
    EXPECT_EQ(child.x(), 12);
}

TEST(TwipsPlacementTest, RefusesSizesNoWidgetCanHaveAndKeepsTheOldOnes) {
    QWidget parent;
    QWidget child(&parent);
    TwipsPlacement placement(child, DesignRect{120.0f, 120.0f, 6735.0f, 4935.0f}, kDpi);
    placement.SetWidth(6765.0f);
    placement.SetHeight(0.0f);

    for (const float bad : {-40.0f, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN(),
                            3.0e38f}) {
        EXPECT_THROW(placement.SetWidth(bad), Error) << bad;
        EXPECT_THROW(placement.SetHeight(bad), Error) << bad;
    }
    EXPECT_THROW(placement.SetTop(std::numeric_limits<float>::quiet_NaN()), Error);
    EXPECT_EQ(placement.Twips().width, 6765.0f);
    EXPECT_EQ(placement.Twips().height, 0.0f);
    EXPECT_EQ(placement.Twips().top, 120.0f);
    EXPECT_EQ(child.geometry(), QRect(12, 12, 677, 0));  // 676.5 rounds up
}

TEST(QtCheckBoxTest, ValueFollowsTheLogicsNumberingOfStates) {
    QWidget parent;
    QCheckBox box(&parent);
    box.setTristate(true);
    const QtCheckBox adapter(box, DesignRect{0, 0, 10, 10}, kDpi);

    box.setCheckState(Qt::Unchecked);
    EXPECT_EQ(adapter.Value(), CheckBox::kUnchecked);
    box.setCheckState(Qt::Checked);
    EXPECT_EQ(adapter.Value(), CheckBox::kChecked);
    box.setCheckState(Qt::PartiallyChecked);
    EXPECT_EQ(adapter.Value(), CheckBox::kGrayed);
}

TEST(QtClipboardTest, ReplacesTheContentWithTheExactText) {
    QGuiApplication::clipboard()->setText(QStringLiteral("what the user had"));
    QtClipboard clipboard;
    // Line ends, tabs and characters beyond Latin-1 arrive unchanged.
    const std::u16string text = u"NIC\tMAC\r\n1\t\u00e9\u4e2d\r\n2\t";
    clipboard.ReplaceText(text);
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdU16String(), text);
}

TEST(QtShortDateFormatTest, RendersRealDaysAndRefusesOthers) {
    const QtShortDateFormat format;
    const std::u16string text = format.Render(CalendarDate{2007, 1, 22});
    EXPECT_NE(text.find(u"22"), std::u16string::npos) << "the day is shown";
    EXPECT_EQ(text.find(u':'), std::u16string::npos) << "no time of day";
    EXPECT_EQ(QLocale::system().toDate(QString::fromStdU16String(text), QLocale::ShortFormat).month(), 1);

    try {
        (void)format.Render(CalendarDate{2007, 2, 30});
        ADD_FAILURE() << "30 February rendered";
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Conversion);
    }
}

}  // namespace
}  // namespace quorvane::qt
