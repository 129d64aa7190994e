#include "inventory/linux/dbus/bus_connection.h"

#include <atomic>

#include "inventory/linux/dbus/bus_address.h"
#include "inventory/linux/dbus/bus_probe.h"

namespace quorvane::linux_inventory {

BusConnection::BusConnection(const std::optional<std::string>& address, std::chrono::milliseconds deadline) {
    const std::optional<std::string> endpoint = ProbedEndpoint(address.value_or(SystemBusAddress()), deadline);
    if (!endpoint) return;
    static std::atomic<unsigned> counter{0};
    name_ = QStringLiteral("quorvane-linux-source-%1").arg(counter++);
    connection_ = QDBusConnection::connectToBus(QString::fromStdString(*endpoint), name_);
}

BusConnection::~BusConnection() {
    if (!name_.isEmpty()) QDBusConnection::disconnectFromBus(name_);
}

}  // namespace quorvane::linux_inventory
