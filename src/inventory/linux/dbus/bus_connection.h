#pragma once

#include <QDBusConnection>
#include <QString>
#include <chrono>
#include <optional>
#include <string>

namespace quorvane::linux_inventory {

// A connection of its own to one bus for one snapshot, named uniquely so two
// snapshots never share it, and closed again when this object goes; made
// to the endpoint that answered the probe (ProbedEndpoint), and not at all
// when none answered before the deadline.
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
