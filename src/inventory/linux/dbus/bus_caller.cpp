#include "inventory/linux/dbus/bus_caller.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>

namespace quorvane::linux_inventory {

namespace {

// QtDBus reads a timeout of -1 as its own default of about 25 s.
constexpr int kFallbackTimeoutMs = 500;

}  // namespace

BusCaller::BusCaller(QDBusConnection connection, int timeoutMs, Clock::time_point deadline)
    : connection_(std::move(connection)),
      timeoutMs_(timeoutMs > 0 ? timeoutMs : kFallbackTimeoutMs),
      deadline_(deadline) {}

bool BusCaller::Runs(const QString& service) {
    if (!connection_.isConnected() || unresponsive_.contains(service)) return false;
    const auto reply = Call(QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus"),
                            QStringLiteral("org.freedesktop.DBus"), QStringLiteral("NameHasOwner"), {service});
    return reply && !reply->isEmpty() && reply->front().toBool();
}

std::optional<QList<QVariant>> BusCaller::Call(const QString& service, const QString& path, const QString& interface,
                                               const QString& method, const QList<QVariant>& arguments) {
    if (!connection_.isConnected() || unresponsive_.contains(service)) return std::nullopt;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline_ - Clock::now()).count();
    if (left <= 0) return std::nullopt;
    QDBusMessage message = QDBusMessage::createMethodCall(service, path, interface, method);
    message.setArguments(arguments);
    const int timeoutMs = left < timeoutMs_ ? static_cast<int>(left) : timeoutMs_;
    const QDBusMessage reply = connection_.call(message, QDBus::Block, timeoutMs);
    if (reply.type() == QDBusMessage::ReplyMessage) return reply.arguments();
    const QDBusError::ErrorType error = QDBusError(reply).type();
    if (error == QDBusError::NoReply || error == QDBusError::Timeout || error == QDBusError::TimedOut) {
        unresponsive_.insert(service);
    }
    return std::nullopt;
}

std::optional<QVariantMap> BusCaller::GetAll(const QString& service, const QString& path, const QString& interface) {
    const auto reply =
        Call(service, path, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("GetAll"), {interface});
    if (!reply || reply->isEmpty()) return std::nullopt;
    const QVariant& value = reply->front();
    if (value.userType() != qMetaTypeId<QDBusArgument>()) return std::nullopt;
    const auto argument = value.value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("a{sv}")) return std::nullopt;
    return qdbus_cast<QVariantMap>(argument);
}

std::optional<QDBusArgument> PropertyArgument(const QVariantMap& properties, const QString& name,
                                              const char* signature) {
    const auto found = properties.find(name);
    if (found == properties.end() || found->userType() != qMetaTypeId<QDBusArgument>()) return std::nullopt;
    auto argument = found->value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String(signature)) return std::nullopt;
    return argument;
}

}  // namespace quorvane::linux_inventory
