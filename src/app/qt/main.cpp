#include <QApplication>

#include "app/qt/main_window.h"
#include "inventory/linux/linux_adapter_source.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);

    quorvane::linux_inventory::LinuxAdapterSource source;
    const quorvane::qt::QtShortDateFormat shortDate;
    quorvane::qt::QtClipboard clipboard;
    quorvane::qt::BeepFailureSignal failureSignal;

    quorvane::qt::MainWindow window({source, shortDate, clipboard, failureSignal});
    window.show();
    return QApplication::exec();
}
