#include "inventory/linux/dbus/bus_connection.h"

#include <atomic>

#include "inventory/linux/dbus/bus_address.h"
#include "inventory/linux/dbus/bus_probe.h"

namespace quorvane::linux_inventory {

BusConnection::BusConnection(const std::optional<std::string>& address, std::chrono::milliseconds deadline) {
    const std::string busAddress = address.value_or(SystemBusAddress());
    const std::optional<LocalBusEntry> answered = AnsweringEntry(busAddress, deadline);
    if (!answered) return;
    static std::atomic<unsigned> counter{0};
    name_ = QStringLiteral("quorvane-linux-source-%1").arg(counter++);
    // QtDBus is given the whole address, as libdbus would be; answered->text
    // would hold it to the one entry that answered the probe.
    connection_ = QDBusConnection::connectToBus(QString::fromStdString(busAddress), name_);
}

BusConnection::~BusConnection() {
    if (!name_.isEmpty()) QDBusConnection::disconnectFromBus(name_);
}

}  // namespace quorvane::linux_inventory
