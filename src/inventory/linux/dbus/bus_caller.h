#pragma once

#include <QDBusArgument>
#include <QDBusConnection>
#include <QList>
#include <QSet>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <chrono>
#include <optional>

namespace quorvane::linux_inventory {

// Blocking D-Bus calls, each bounded by one short timeout and all of them
// by one deadline. A service that let a call time out is not asked again by
// this caller, so one hung service costs one timeout per snapshot, not one
// per object; past the deadline no call is made at all.
class BusCaller {
public:
    using Clock = std::chrono::steady_clock;

    BusCaller(QDBusConnection connection, int timeoutMs, Clock::time_point deadline = Clock::time_point::max());

    // True when the bus says the name has an owner and the service has not
    // timed out before.
    bool Runs(const QString& service);

    // The reply's arguments, or nullopt on any error.
    std::optional<QList<QVariant>> Call(const QString& service, const QString& path, const QString& interface,
                                        const QString& method, const QList<QVariant>& arguments = {});

    // Properties.GetAll on one object; nullopt on any error.
    std::optional<QVariantMap> GetAll(const QString& service, const QString& path, const QString& interface);

private:
    QDBusConnection connection_;
    int timeoutMs_;
    Clock::time_point deadline_;
    QSet<QString> unresponsive_;
};

// A structured property of a GetAll reply, when it is there with the expected
// D-Bus signature; nullopt otherwise.
std::optional<QDBusArgument> PropertyArgument(const QVariantMap& properties, const QString& name,
                                              const char* signature);

}  // namespace quorvane::linux_inventory
