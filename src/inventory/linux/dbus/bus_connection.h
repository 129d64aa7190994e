#pragma once

#include <QDBusConnection>
#include <QString>
#include <chrono>
#include <optional>
#include <string>

namespace quorvane::linux_inventory {

// The system bus's address as libdbus finds it: DBUS_SYSTEM_BUS_ADDRESS,
// else its well-known socket.
std::string SystemBusAddress();

// True when the D-Bus daemon at the address (a unix: path or abstract
// socket) takes a connection, authenticates it and answers Hello, all
// before the deadline. QtDBus makes the same handshake without a deadline
// of its own (about 25 s against a daemon that accepts and never answers),
// so nothing is handed to it before the daemon has shown it answers.
bool BusAnswers(const std::string& address, std::chrono::milliseconds deadline);

// A connection of its own to one bus for one snapshot, named uniquely so two
// snapshots never share it, and closed again when this object goes. Not
// connected when the bus did not answer before the deadline.
class BusConnection {
public:
    // nullopt is the system bus.
    BusConnection(const std::optional<std::string>& address, std::chrono::milliseconds deadline);
    ~BusConnection();
    BusConnection(const BusConnection&) = delete;
    BusConnection& operator=(const BusConnection&) = delete;

    [[nodiscard]] const QDBusConnection& get() const { return connection_; }

private:
    QString name_;
    QDBusConnection connection_{QString()};
};

}  // namespace quorvane::linux_inventory
