#include <QApplication>
#include <QIcon>

#include "app/qt/main_window.h"
#include "inventory/linux/linux_adapter_source.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // Desktops find the program's menu entry and themed icon by this id, the
    // names of its installed desktop entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUORVANE_APP_ID));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral(QUORVANE_APP_ID)));

    quorvane::linux_inventory::LinuxAdapterSource source;
    const quorvane::qt::QtShortDateFormat shortDate;
    quorvane::qt::QtClipboard clipboard;
    quorvane::qt::BeepFailureSignal failureSignal;

    quorvane::qt::MainWindow window({source, shortDate, clipboard, failureSignal});
    window.show();
    return QApplication::exec();
}
