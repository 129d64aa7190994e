#include "app/qt/main_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>
#include <cmath>

#include "app/form_design.h"
#include "app/layout.h"
#include "app/qt/caption_font.h"
#include "app/qt/qt_text.h"

namespace quorvane::qt {
namespace {

float LogicalDpi(const QWidget& window) {
    const QScreen* screen = window.screen();
    if (screen == nullptr) screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
    return dpi > 0.0 ? static_cast<float>(dpi) : 96.0f;
}

int DesignPixels(float twips, float dpi) {
    return static_cast<int>(std::lround(TwipsToPixels(twips, dpi)));
}

QRect CaptionArea(const QPushButton& button) {
    QStyleOptionButton option;
    option.initFrom(&button);
    option.text = button.text();
    return button.style()->subElementRect(QStyle::SE_PushButtonContents, &option, &button);
}

}  // namespace

MainWindow::MainWindow(QtWindowServices services, QWidget* parent)
    : QWidget(parent),
      dpi_(LogicalDpi(*this)),
      listView1Widget_(new AdapterTreeView(this)),
      model_(new AdapterTableModel(listView1Widget_)),
      command1Widget_(new QPushButton(ToQString(kCommand1Caption), this)),
      command2Widget_(new QPushButton(ToQString(kCommand2Caption), this)),
      chkCommasWidget_(new WrappingCheckBox(ToQString(kChkCommasCaption), this)) {
    setWindowTitle(ToQString(kFormTitle));

    listView1Widget_->setModel(model_);
    listView1Widget_->setAccessibleName(ToQString(kListView1AccessibleName));
    listView1Widget_->setAccessibleDescription(ToQString(kListView1AccessibleDescription));
    // The list view's text in the window-text colour on the window-background
    // colour: the palette's Text on Base, without alternating rows.
    listView1Widget_->setAlternatingRowColors(false);
    listView1Widget_->setBackgroundRole(QPalette::Base);
    listView1Widget_->setForegroundRole(QPalette::Text);
    chkCommasWidget_->setTristate(false);
    chkCommasWidget_->setCheckState(Qt::Unchecked);

    // Tab order ListView1, Command1, Command2, chkCommas; the table takes the
    // focus when the window opens.
    listView1Widget_->setFocusPolicy(Qt::StrongFocus);
    command1Widget_->setFocusPolicy(Qt::StrongFocus);
    command2Widget_->setFocusPolicy(Qt::StrongFocus);
    chkCommasWidget_->setFocusPolicy(Qt::StrongFocus);
    setTabOrder(listView1Widget_, command1Widget_);
    setTabOrder(command1Widget_, command2Widget_);
    setTabOrder(command2Widget_, chkCommasWidget_);
    listView1Widget_->setFocus(Qt::OtherFocusReason);

    listView1_.emplace(*listView1Widget_, *model_, kListView1Design, dpi_);
    command1_.emplace(*command1Widget_, kCommand1Design, dpi_);
    command2_.emplace(*command2Widget_, kCommand2Design, dpi_);
    chkCommas_.emplace(*chkCommasWidget_, kChkCommasDesign, dpi_);
    surface_.emplace(*this, dpi_);

    // The form's font for every control; each caption, now that its control
    // has its size, in the largest size up to that which shows it whole.
    setFont(FormFont());
    for (QPushButton* button : {command1Widget_, command2Widget_}) {
        button->setFont(FittedCaptionFont(button->font(), CaptionArea(*button), kPushButtonCaptionFlags, button->text()));
    }
    chkCommasWidget_->setFont(FittedCaptionFont(chkCommasWidget_->font(), chkCommasWidget_->CaptionArea(),
                                                WrappingCheckBox::kCaptionFlags, chkCommasWidget_->text()));
    form1_.emplace(Form1Controls{*surface_, *listView1_, *command1_, *command2_, *chkCommas_, services.clipboard,
                                 services.failureSignal},
                   services.source, services.shortDate);

    // The client area at its design size; the resize event waits for show().
    resize(DesignPixels(kDesignClientWidth, dpi_), DesignPixels(kDesignClientHeight, dpi_));

    // A list refills the table: the rows it brings back keep what the view
    // holds for them, their accessible cells among it.
    connect(command1Widget_, &QPushButton::clicked, this, [this] {
        model_->BeginRefill();
        form1_->Dispatch(FormEvent::Command1Click);
        model_->EndRefill();
    });
    connect(command2Widget_, &QPushButton::clicked, this, [this] { form1_->Dispatch(FormEvent::Command2Click); });

    form1_->Dispatch(FormEvent::Load);
}

// The members (the logic, then the adapters) go before the QWidget base
// deletes the child widgets they refer to.
MainWindow::~MainWindow() = default;

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Qt delivers the first resize when the window is shown, then one for
    // every change of the client area's size.
    if (form1_) form1_->Dispatch(FormEvent::Resize);
}

}  // namespace quorvane::qt
