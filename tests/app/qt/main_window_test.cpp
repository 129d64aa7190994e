#include <gtest/gtest.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QHeaderView>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionHeader>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <cmath>
#include <memory>
#include <numeric>
#include <vector>

#include "app/columns.h"
#include "app/qt/main_window.h"
#include "app/qt/qt_text.h"
#include "support/counting_signal.h"
#include "support/day_month_year_format.h"
#include "support/fake_adapter_source.h"
#include "support/fake_controls.h"
#include "support/qt/model_change_relay.h"

namespace quorvane::qt {
namespace {

using quorvane::testing::FakeAdapterSource;
using quorvane::testing::TypicalAdapter;

int Pixels(float twips, float dpi) {
    return static_cast<int>(std::lround(twips * dpi / 1440.0f));
}

// The box, in device pixels, around the ink of the caption as the control
// draws it: where the control drawn with its caption differs from it drawn
// without by more than a quarter of black on white.
QRect CaptionInk(QAbstractButton& control) {
    const QString caption = control.text();
    const QImage drawn = control.grab().toImage();
    control.setText(QString());
    const QImage blank = control.grab().toImage();
    control.setText(caption);
    QRect box;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            if (std::abs(qGray(drawn.pixel(x, y)) - qGray(blank.pixel(x, y))) > 64) box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

// The ink of the caption as a twin of the control, in the same font but of
// `size`, draws it: with room to spare where the control has none.
template <typename Control>
QRect TwinInk(const Control& control, QSize size) {
    Control twin(control.text());
    twin.setFont(control.font());
    twin.resize(size);
    return CaptionInk(twin);
}

std::u16string Join(std::initializer_list<std::u16string_view> cells, std::u16string_view separator) {
    std::u16string line;
    bool first = true;
    for (const std::u16string_view cell : cells) {
        if (!first) line += separator;
        line += cell;
        first = false;
    }
    return line;
}

// The window on the offscreen platform, shown and active so that access keys
// reach it, over a fake adapter source.
class MainWindowTest : public ::testing::Test {
protected:
    FakeAdapterSource source;
    quorvane::testing::DayMonthYearFormat shortDate;
    QtClipboard systemClipboard;
    quorvane::testing::CountingSignal failureSignal;
    std::unique_ptr<MainWindow> window;

    void Open(Clipboard& clipboard) {
        window = std::make_unique<MainWindow>(QtWindowServices{source, shortDate, clipboard, failureSignal});
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    void Press(Qt::Key key) {
        QWidget* target = QApplication::focusWidget();
        QTest::keyClick(target != nullptr ? target : window.get(), key);
    }

    // An access key presses its button briefly, as a click would look, and
    // the command runs when the button comes up again.
    void PressAccessKey(Qt::Key key, QPushButton& button) {
        QTest::keyClick(window.get(), key, Qt::AltModifier);
        ASSERT_TRUE(button.isDown()) << "the access key did not reach " << button.text().toStdString();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !button.isDown(); }));
        QApplication::processEvents();
    }

    // Resizes the client area and waits until the platform has reported it.
    void ResizeClientArea(int width, int height) {
        window->resize(width, height);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window->size() == QSize(width, height); }));
        QApplication::processEvents();
    }

    QHeaderView& Header() { return *window->ListView1Widget().header(); }
    std::vector<int> ColumnWidths() {
        std::vector<int> widths;
        for (int i = 0; i < Header().count(); ++i) widths.push_back(Header().sectionSize(i));
        return widths;
    }
    std::u16string ClipboardText() { return QGuiApplication::clipboard()->text().toStdU16String(); }
};

TEST_F(MainWindowTest, OpensWithTitleColumnsControlsAndFocusOnTheTable) {
    Open(systemClipboard);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Quorvane"));

    const QAbstractItemModel& model = *window->ListView1Widget().model();
    ASSERT_EQ(model.columnCount(), 11);
    for (int i = 0; i < 11; ++i) {
        EXPECT_EQ(model.headerData(i, Qt::Horizontal).toString(),
                  ToQString(kColumnTitles[static_cast<std::size_t>(i)]));
    }
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_FALSE(window->ListView1Widget().isHeaderHidden());
    EXPECT_FALSE(window->ListView1Widget().rootIsDecorated());
    EXPECT_FALSE(window->ListView1Widget().isSortingEnabled());

    EXPECT_EQ(window->Command1Widget().text(), QStringLiteral("&List Network Adaptors"));
    EXPECT_EQ(window->Command2Widget().text(), QStringLiteral("&Copy table to clipboard"));
    EXPECT_EQ(window->ChkCommasWidget().text(), QStringLiteral("Use commas to separate columns"));
    EXPECT_EQ(window->ChkCommasWidget().checkState(), Qt::Unchecked);
    EXPECT_TRUE(window->Command1Widget().isEnabled());
    EXPECT_TRUE(window->Command2Widget().isEnabled());

    EXPECT_EQ(QApplication::focusWidget(), &window->ListView1Widget());
}

TEST_F(MainWindowTest, TabWalksTableButtonsAndCheckBoxInTurn) {
    Open(systemClipboard);
    const std::vector<QWidget*> order = {&window->Command1Widget(), &window->Command2Widget(),
                                         &window->ChkCommasWidget(), &window->ListView1Widget()};
    for (QWidget* expected : order) {
        Press(Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), expected) << expected->metaObject()->className();
    }
    Press(Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), &window->ChkCommasWidget());
}

TEST_F(MainWindowTest, AccessKeysListTheAdaptersAndCopyTheTableInBothModes) {
    source.adapters = {TypicalAdapter(1), TypicalAdapter(12)};
    source.adapters[1].Set(u"DNSServerSearchOrder", Null{});
    Open(systemClipboard);

    PressAccessKey(Qt::Key_L, window->Command1Widget());
    const QAbstractItemModel& model = *window->ListView1Widget().model();
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(1, 0)).toString(), QStringLiteral("12"));
    EXPECT_EQ(model.data(model.index(0, 4)).toString(), QStringLiteral("22/01/2007"));
    EXPECT_EQ(model.data(model.index(0, 10)).toString(), QStringLiteral("192.168.0.1,10.0.0.1"));

    const auto table = [](std::u16string_view sep, std::u16string_view dns) {
        const auto row = [&](std::u16string_view index, std::u16string_view dnsCell) {
            return Join({index, u"00:1A:2B:3C:4D:5E", u"192.168.0.17", u"192.168.0.1", u"22/01/2007", u"23/01/2007",
                         u"False", u"workstation", u"example.org", u"Ethernet Adapter", dnsCell},
                        sep);
        };
        return Join({u"NIC", u"MAC", u"IP Addr", u"DHCP Svr", u"LeaseObt", u"LeaseExp", u"WINS", u"Host", u"Domain",
                     u"NIC Name", u"DNS"},
                    sep) +
               u"\r\n" + row(u"1", dns) + u"\r\n" + row(u"12", u"");
    };

    PressAccessKey(Qt::Key_C, window->Command2Widget());
    EXPECT_EQ(ClipboardText(), table(u"\t", u"192.168.0.1,10.0.0.1"));

    // Ticking the box changes only the next copy.
    QTest::mouseClick(&window->ChkCommasWidget(), Qt::LeftButton, {},
                      QPoint(5, window->ChkCommasWidget().height() / 2));
    ASSERT_EQ(window->ChkCommasWidget().checkState(), Qt::Checked);
    EXPECT_EQ(ClipboardText(), table(u"\t", u"192.168.0.1,10.0.0.1"));
    PressAccessKey(Qt::Key_C, window->Command2Widget());
    // A cell holding the separator is quoted so the line keeps eleven cells.
    EXPECT_EQ(ClipboardText(), table(u",", u"\"192.168.0.1,10.0.0.1\""));

    EXPECT_EQ(failureSignal.beeps, 0);
    EXPECT_TRUE(window->Command1Widget().isEnabled());
    EXPECT_TRUE(window->Command2Widget().isEnabled());
}

TEST_F(MainWindowTest, ListFitsEachColumnAndTheLastFillsTheRestUntilAResize) {
    // Short cells but one, in a window wide enough to leave room on the right.
    quorvane::testing::FakeAdapter adapter;
    adapter.Set(u"Index", 1).Set(u"MACAddress", u"m").Set(u"Description", u"A description well longer than its title");
    source.adapters = {adapter};
    Open(systemClipboard);
    ResizeClientArea(1200, 400);
    const std::vector<int> defaultWidths = ColumnWidths();
    window->Command1Widget().click();

    const QFontMetrics metrics(window->ListView1Widget().font());
    const QFontMetrics headerMetrics(Header().font());
    const QAbstractItemModel& model = *window->ListView1Widget().model();
    for (int i = 0; i < 11; ++i) {
        const int width = Header().sectionSize(i);
        EXPECT_GE(width, headerMetrics.horizontalAdvance(model.headerData(i, Qt::Horizontal).toString())) << i;
        EXPECT_GE(width, metrics.horizontalAdvance(model.data(model.index(0, i)).toString())) << i;
    }
    // Column 0 holds "1" under "NIC": it fits the title, not the default width.
    EXPECT_LT(Header().sectionSize(0), defaultWidths[0]);
    EXPECT_GT(Header().sectionSize(9), Header().sectionSizeHint(9)) << "grew for the long description";

    const std::vector<int> fitted = ColumnWidths();
    EXPECT_EQ(std::accumulate(fitted.begin(), fitted.end(), 0), window->ListView1Widget().viewport()->width())
        << "the last column reaches the right edge";

    ResizeClientArea(window->width() + 200, window->height() + 50);
    EXPECT_EQ(ColumnWidths(), fitted);
}

TEST_F(MainWindowTest, ColumnsFitAsQtsOwnResizeColumnToContentsWouldFitThem) {
    source.adapters = {TypicalAdapter(1), TypicalAdapter(22), TypicalAdapter(333)};
    source.adapters[1].Set(u"DNSHostName", u"a-rather-longer-host-name");
    Open(systemClipboard);
    window->Command1Widget().click();

    // A plain tree view over the same rows, fitted by Qt itself.
    QTreeView reference;
    reference.setRootIsDecorated(false);
    reference.setFont(window->ListView1Widget().font());
    reference.setModel(window->ListView1Widget().model());
    reference.header()->setFont(Header().font());
    reference.resize(window->ListView1Widget().size());
    reference.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&reference));
    for (int i = 0; i < 10; ++i) {
        reference.resizeColumnToContents(i);
        EXPECT_EQ(Header().sectionSize(i), reference.header()->sectionSize(i)) << "column " << i;
    }
}

TEST_F(MainWindowTest, WhenOtherColumnsLeaveNoRoomTheLastOnlyFitsItsOwnText) {
    source.adapters = {TypicalAdapter(1)};
    source.adapters[0].Set(u"Description", std::u16string(300, u'W'));
    Open(systemClipboard);
    window->Command1Widget().click();

    const std::vector<int> fitted = ColumnWidths();
    EXPECT_GT(std::accumulate(fitted.begin(), fitted.end(), 0), window->ListView1Widget().viewport()->width());
    const QFontMetrics metrics(window->ListView1Widget().font());
    EXPECT_LT(fitted[10], metrics.horizontalAdvance(QStringLiteral("192.168.0.1,10.0.0.1")) + 40);
}

// Text widths are remembered between list commands; a new font must not
// leave the columns at the widths of the old one.
TEST_F(MainWindowTest, ColumnsAreFittedAgainAfterTheFontGrows) {
    source.adapters = {TypicalAdapter(1)};
    Open(systemClipboard);
    window->Command1Widget().click();
    const int macBefore = Header().sectionSize(1);

    QFont larger = window->ListView1Widget().font();
    larger.setPointSizeF(larger.pointSizeF() * 2.0);
    window->ListView1Widget().setFont(larger);
    Header().setFont(larger);
    window->Command1Widget().click();

    const QAbstractItemModel& model = *window->ListView1Widget().model();
    const QFontMetrics metrics(larger);
    EXPECT_GT(Header().sectionSize(1), macBefore);
    for (int i = 0; i < 10; ++i) {
        EXPECT_GE(Header().sectionSize(i), metrics.horizontalAdvance(model.data(model.index(0, i)).toString())) << i;
        EXPECT_GE(Header().sectionSize(i), metrics.horizontalAdvance(model.headerData(i, Qt::Horizontal).toString()))
            << i;
    }
}

TEST_F(MainWindowTest, ControlsFollowTheClientAreaInTwipsAtTheScreensDpi) {
    Open(systemClipboard);
    const float dpi = window->Dpi();
    EXPECT_FLOAT_EQ(dpi, static_cast<float>(window->screen()->logicalDotsPerInch()));

    const auto expectLayout = [&](int widthPx, int heightPx) {
        const float scaleWidth = static_cast<float>(widthPx) * 1440.0f / dpi;
        const float scaleHeight = static_cast<float>(heightPx) * 1440.0f / dpi;
        const float rowTop = scaleHeight - 120.0f - 375.0f;
        EXPECT_FLOAT_EQ(window->Command1().Top(), rowTop);
        EXPECT_FLOAT_EQ(window->ListView1().Width(), scaleWidth - 240.0f);
        EXPECT_FLOAT_EQ(window->ListView1().Height(), rowTop - 120.0f - 120.0f);
        EXPECT_EQ(window->Command1Widget().geometry(),
                  QRect(Pixels(120, dpi), Pixels(rowTop, dpi), Pixels(2295, dpi), Pixels(375, dpi)));
        EXPECT_EQ(window->Command2Widget().geometry(),
                  QRect(Pixels(2520, dpi), Pixels(rowTop, dpi), Pixels(2055, dpi), Pixels(375, dpi)));
        EXPECT_EQ(window->ChkCommasWidget().geometry(),
                  QRect(Pixels(4680, dpi), Pixels(rowTop, dpi), Pixels(2175, dpi), Pixels(375, dpi)));
        EXPECT_EQ(window->ListView1Widget().geometry(),
                  QRect(Pixels(120, dpi), Pixels(120, dpi), Pixels(scaleWidth - 240.0f, dpi),
                        Pixels(rowTop - 240.0f, dpi)));
    };

    // Opened at the design size of the client area, 7005 x 5610 twips.
    EXPECT_EQ(window->size(), QSize(Pixels(7005, dpi), Pixels(5610, dpi)));
    EXPECT_NEAR(window->Command1().Top(), 5115.0f, 1440.0f / dpi);
    expectLayout(window->width(), window->height());

    ResizeClientArea(640, 480);
    expectLayout(640, 480);

    // Too small for the table: it keeps its size while the bottom row moves up.
    const QRect tableBefore = window->ListView1Widget().geometry();
    ResizeClientArea(10, 20);
    EXPECT_FLOAT_EQ(window->Command1().Top(), 20.0f * 1440.0f / dpi - 495.0f);
    EXPECT_LT(window->Command1Widget().y(), 0);
    EXPECT_EQ(window->ListView1Widget().geometry(), tableBefore);
}

TEST_F(MainWindowTest, AFailingCopyBeepsAndLeavesTheButtonsUsable) {
    quorvane::testing::FakeClipboard clipboard;
    clipboard.fail = true;
    source.adapters = {TypicalAdapter(1)};
    Open(clipboard);

    PressAccessKey(Qt::Key_C, window->Command2Widget());
    EXPECT_EQ(failureSignal.beeps, 1);
    EXPECT_EQ(clipboard.content, u"what the user had");
    EXPECT_TRUE(window->Command2Widget().isEnabled());

    clipboard.fail = false;
    window->Command2Widget().click();
    EXPECT_EQ(failureSignal.beeps, 1);
    EXPECT_EQ(clipboard.replacements, 1);
}

TEST_F(MainWindowTest, AnUnreachableSourceGivesAnEmptyTableFittedToItsTitles) {
    source.failInstancesOf = true;
    Open(systemClipboard);

    PressAccessKey(Qt::Key_L, window->Command1Widget());
    EXPECT_EQ(source.queries, 1);
    EXPECT_EQ(window->ListView1Widget().model()->rowCount(), 0);
    EXPECT_EQ(failureSignal.beeps, 0) << "the source's failure is absorbed, not signalled";
    EXPECT_TRUE(window->Command1Widget().isEnabled());
    const QFontMetrics headerMetrics(Header().font());
    EXPECT_GE(Header().sectionSize(0), headerMetrics.horizontalAdvance(QStringLiteral("NIC")));
    EXPECT_LT(Header().sectionSize(0), Header().defaultSectionSize());
}

TEST_F(MainWindowTest, AListKeepsTheAccessibleCellsOfTheRowsThatStayAndSelectsNoRow) {
    Open(systemClipboard);
    QTreeView& view = window->ListView1Widget();
    quorvane::testing::RelayModelChanges(view);
    QAccessibleInterface& table = *QAccessible::queryAccessibleInterface(&view);
    const auto list = [&](int adapters) {
        source.adapters.clear();
        for (int i = 1; i <= adapters; ++i) source.adapters.push_back(TypicalAdapter(i));
        window->Command1Widget().click();
    };
    const struct {
        int before, after;  // adapters
    } cases[] = {{3, 2}, {2, 3}, {3, 0}};
    for (const auto& c : cases) {
        list(c.before);
        view.setCurrentIndex(view.model()->index(c.before - 1, 0));
        std::vector<QAccessible::Id> cells;  // the headers', then row by row
        for (int i = 0; i < table.childCount(); ++i) cells.push_back(QAccessible::uniqueId(table.child(i)));
        list(c.after);
        const int kept = (std::min(c.before, c.after) + 1) * 11;
        for (int i = 0; i < static_cast<int>(cells.size()); ++i) {
            EXPECT_EQ(QAccessible::accessibleInterface(cells[static_cast<std::size_t>(i)]),
                      i < kept ? table.child(i) : nullptr)
                << c.before << " to " << c.after << " rows, child " << i;
        }
        EXPECT_FALSE(view.selectionModel()->hasSelection());
        EXPECT_FALSE(view.currentIndex().isValid());
    }
}

// The tests that measure what the user sees; they run again with
// QT_SCALE_FACTOR=1.5, as on a 144-DPI screen.
class WindowAtScaleTest : public MainWindowTest {};

// A caption is whole when the control shows all of the ink its twin with
// room to spare shows, as wide and as high, clear of the control's edges.
TEST_F(WindowAtScaleTest, EveryCaptionIsDrawnWholeInTheFormsFaceAtMostAtItsSize) {
    Open(systemClipboard);
    const QFont form = window->ListView1Widget().font();
    QPushButton& command1 = window->Command1Widget();
    QPushButton& command2 = window->Command2Widget();
    WrappingCheckBox& box = window->ChkCommasWidget();
    const std::pair<QAbstractButton*, QRect> controls[] = {
        {&command1, TwinInk(command1, command1.size() * 4)},
        {&command2, TwinInk(command2, command2.size() * 4)},
        {&box, TwinInk(box, QSize(box.width(), box.height() * 4))}};  // wrapped the same, with room below
    for (const auto& [control, whole] : controls) {
        const std::string name = control->text().toStdString();
        const QRect shown = CaptionInk(*control);
        EXPECT_FALSE(whole.isEmpty()) << name;
        // Centred, a line may start half a device pixel over and anti-aliasing
        // may add a column or row of ink; a cut line loses far more.
        EXPECT_NEAR(shown.width(), whole.width(), 1) << name;
        EXPECT_NEAR(shown.height(), whole.height(), 1) << name;
        const QSize pixels = control->size() * control->devicePixelRatioF();
        EXPECT_TRUE(QRect(QPoint(1, 1), pixels - QSize(2, 2)).contains(shown)) << name << ": clear of the edges";
        EXPECT_EQ(control->font().family(), form.family()) << name;
        EXPECT_LE(control->font().pointSizeF(), form.pointSizeF()) << name;
    }
}

TEST_F(WindowAtScaleTest, NoColumnTitleIsElidedAfterAList) {
    quorvane::testing::FakeAdapter adapter;  // cells shorter than their titles
    adapter.Set(u"Index", 1).Set(u"MACAddress", u"m").Set(u"Description", u"d");
    source.adapters = {adapter};
    Open(systemClipboard);
    window->Command1Widget().click();

    QHeaderView& header = Header();
    for (int i = 0; i < header.count(); ++i) {
        QStyleOptionHeader option;
        option.initFrom(&header);
        option.rect = QRect(0, 0, header.sectionSize(i), header.height());
        option.section = i;
        option.text = header.model()->headerData(i, Qt::Horizontal).toString();
        option.textAlignment = header.defaultAlignment();
        const QRect label = header.style()->subElementRect(QStyle::SE_HeaderLabel, &option, &header);
        EXPECT_EQ(QFontMetrics(header.font()).elidedText(option.text, Qt::ElideRight, label.width()), option.text);
    }
}

TEST_F(MainWindowTest, TheCheckBoxTogglesFromAnyLineOfItsWrappedCaptionAndFromSpace) {
    Open(systemClipboard);
    WrappingCheckBox& box = window->ChkCommasWidget();
    const qreal ratio = box.devicePixelRatioF();
    const QRect caption = CaptionInk(box);
    ASSERT_GT(caption.height(), QFontMetrics(box.font()).height() * ratio) << "the caption wraps";

    // Reached with Tab, it shows the focus, and Space ticks it.
    const QImage unfocused = box.grab().toImage();
    for (int i = 0; i < 3; ++i) Press(Qt::Key_Tab);
    ASSERT_TRUE(box.hasFocus());
    EXPECT_NE(box.grab().toImage(), unfocused) << "the focus shows";
    Press(Qt::Key_Space);
    EXPECT_EQ(box.checkState(), Qt::Checked);

    // A click on the last line of the caption unticks it.
    QTest::mouseClick(&box, Qt::LeftButton, {}, (QPointF(caption.bottomLeft()) / ratio).toPoint() + QPoint(3, -2));
    EXPECT_EQ(box.checkState(), Qt::Unchecked);

    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&box);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->text(QAccessible::Name), QStringLiteral("Use commas to separate columns"));
    EXPECT_EQ(accessible->role(), QAccessible::CheckBox);
}

}  // namespace
}  // namespace quorvane::qt
