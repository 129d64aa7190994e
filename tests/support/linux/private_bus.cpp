#include "support/linux/private_bus.h"

#include <sys/stat.h>
#include <unistd.h>

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QThread>
#include <fstream>

#include "support/linux/net_namespace.h"

namespace quorvane::linux_inventory::testing {

namespace {

// Receiving has to be allowed as well as sending: the system bus's default
// policy denies what is not allowed, replies included.
constexpr const char* kPolicy = R"(
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/>
    <allow own="*"/>
    <allow send_destination="*"/>
    <allow receive_sender="*"/>
    <allow send_type="method_call"/>
    <allow receive_type="method_call"/>
    <allow receive_type="method_return"/>
    <allow receive_type="error"/>
    <allow receive_type="signal"/>
  </policy>
</busconfig>
)";

}  // namespace

PrivateBus::PrivateBus() {
    const std::string dbusDaemon = SystemTool("dbus-daemon");
    if (dbusDaemon.empty()) {
        skipReason_ = "dbus-daemon is not installed";
        return;
    }
    if (!folder_.made()) {
        skipReason_ = "cannot make a temporary folder";
        return;
    }
    const std::string& dir = folder_.path();
    // Other users (systemd-network) must reach the socket in it.
    chmod(dir.c_str(), 0755);
    std::ofstream(dir + "/bus.conf") << "<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\""
                                         " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                                         "<busconfig>\n  <type>system</type>\n  <listen>unix:path="
                                      << dir << "/socket</listen>" << kPolicy;
    daemon_ = std::make_unique<ChildProcess>(std::vector<std::string>{
        dbusDaemon, "--config-file=" + dir + "/bus.conf", "--nofork", "--nopidfile", "--print-address=1"});
    address_ = daemon_->ReadLine(std::chrono::seconds(10)).value_or("");
    if (address_.empty()) skipReason_ = "the private dbus-daemon did not start";
}

bool PrivateBus::WaitForName(const QString& name) const {
    const QString connectionName = QStringLiteral("quorvane-test-observer");
    bool owned = false;
    {
        QDBusConnection bus = QDBusConnection::connectToBus(QString::fromStdString(address_), connectionName);
        for (int i = 0; i < 150 && bus.isConnected() && !owned; ++i) {
            owned = bus.interface()->isServiceRegistered(name).value();
            if (!owned) QThread::msleep(100);
        }
    }
    QDBusConnection::disconnectFromBus(connectionName);
    return owned;
}

}  // namespace quorvane::linux_inventory::testing
