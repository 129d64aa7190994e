#include "inventory/linux/dbus/network_manager.h"

#include <arpa/inet.h>

#include <QDBusArgument>
#include <QDBusObjectPath>
#include <QStringList>
#include <cstring>

#include "inventory/linux/common/seconds_text.h"
#include "inventory/linux/dbus/bus_caller.h"

namespace quorvane::linux_inventory {

namespace {

const QString kService = QStringLiteral("org.freedesktop.NetworkManager");
const QString kManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");

std::optional<std::string> Text(const QVariantMap& properties, const QString& name) {
    const auto found = properties.find(name);
    if (found == properties.end() || found->userType() != QMetaType::QString) return std::nullopt;
    const QString text = found->toString();
    if (text.isEmpty()) return std::nullopt;
    return text.toStdString();
}

// An object path property; nullopt for "/" (NetworkManager's "none").
std::optional<QString> Path(const QVariantMap& properties, const QString& name) {
    const auto found = properties.find(name);
    if (found == properties.end() || found->userType() != qMetaTypeId<QDBusObjectPath>()) return std::nullopt;
    const QString path = found->value<QDBusObjectPath>().path();
    if (path.isEmpty() || path == QLatin1String("/")) return std::nullopt;
    return path;
}

// nullopt when the device list cannot be had.
std::optional<std::vector<QString>> DevicePaths(BusCaller& bus) {
    const auto reply = bus.Call(kService, kManagerPath, kService, QStringLiteral("GetDevices"));
    if (!reply || reply->isEmpty() || reply->front().userType() != qMetaTypeId<QDBusArgument>()) return std::nullopt;
    const auto argument = reply->front().value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("ao")) return std::nullopt;
    std::vector<QString> paths;
    for (const QDBusObjectPath& path : qdbus_cast<QList<QDBusObjectPath>>(argument)) paths.push_back(path.path());
    return paths;
}

// NameserverData (aa{sv}, "address" keys) where NetworkManager has it, else
// the older Nameservers (au, each in network byte order).
std::vector<std::string> NameServers(const QVariantMap& ip4) {
    std::vector<std::string> servers;
    if (const auto argument = PropertyArgument(ip4, QStringLiteral("NameserverData"), "aa{sv}")) {
        // A const reference: the non-const begin/end members are the writing ones.
        const QDBusArgument& data = *argument;
        data.beginArray();
        while (!data.atEnd()) {
            QVariantMap entry;
            data >> entry;
            const QString address = entry.value(QStringLiteral("address")).toString();
            if (!address.isEmpty()) servers.push_back(address.toStdString());
        }
        data.endArray();
        if (!servers.empty()) return servers;
    }
    std::optional<QList<uint>> numbers;
    if (auto legacy = PropertyArgument(ip4, QStringLiteral("Nameservers"), "au")) {
        numbers = qdbus_cast<QList<uint>>(*legacy);
    } else if (const auto found = ip4.find(QStringLiteral("Nameservers"));
               found != ip4.end() && found->canConvert<QList<uint>>()) {
        numbers = found->value<QList<uint>>();
    }
    for (const uint number : numbers.value_or(QList<uint>{})) {
        in_addr address{};
        std::memcpy(&address, &number, sizeof address);
        char text[INET_ADDRSTRLEN] = {};
        if (inet_ntop(AF_INET, &address, text, sizeof text) != nullptr) servers.emplace_back(text);
    }
    return servers;
}

std::optional<std::string> FirstDomain(const QVariantMap& ip4) {
    const QStringList domains = ip4.value(QStringLiteral("Domains")).toStringList();
    for (const QString& domain : domains) {
        if (!domain.isEmpty()) return domain.toStdString();
    }
    return std::nullopt;
}

void ReadIp4Config(BusCaller& bus, const QString& path, NmDevice& device) {
    const auto ip4 = bus.GetAll(kService, path, QStringLiteral("org.freedesktop.NetworkManager.IP4Config"));
    if (!ip4) return;
    device.dnsServers = NameServers(*ip4);
    device.domain = FirstDomain(*ip4);
}

void ReadDhcp4Config(BusCaller& bus, const QString& path, NmDevice& device) {
    const auto dhcp = bus.GetAll(kService, path, QStringLiteral("org.freedesktop.NetworkManager.DHCP4Config"));
    if (!dhcp) return;
    const auto options = PropertyArgument(*dhcp, QStringLiteral("Options"), "a{sv}");
    if (!options) return;
    const QVariantMap values = qdbus_cast<QVariantMap>(*options);
    device.dhcpServer = Text(values, QStringLiteral("dhcp_server_identifier"));
    if (const auto expiry = Text(values, QStringLiteral("expiry"))) device.leaseExpiry = ParseSeconds(*expiry);
    if (const auto lease = Text(values, QStringLiteral("dhcp_lease_time"))) device.leaseTime = ParseSeconds(*lease);
    if (!device.domain) {
        // domain_name may list several names separated by blanks; the first is the domain.
        if (const auto names = Text(values, QStringLiteral("domain_name"))) {
            const QStringList words = QString::fromStdString(*names).split(QLatin1Char(' '), Qt::SkipEmptyParts);
            if (!words.isEmpty()) device.domain = words.front().toStdString();
        }
    }
}

// Without a DHCP lease, the IPv4 method of the active connection's settings
// still tells whether the device is set up for DHCP ("auto").
std::optional<bool> DhcpFromSettings(BusCaller& bus, const QString& activeConnectionPath) {
    const auto active =
        bus.GetAll(kService, activeConnectionPath, QStringLiteral("org.freedesktop.NetworkManager.Connection.Active"));
    if (!active) return std::nullopt;
    const auto connection = Path(*active, QStringLiteral("Connection"));
    if (!connection) return std::nullopt;
    const auto reply = bus.Call(kService, *connection, QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection"),
                                QStringLiteral("GetSettings"));
    if (!reply || reply->isEmpty() || reply->front().userType() != qMetaTypeId<QDBusArgument>()) return std::nullopt;
    const auto argument = reply->front().value<QDBusArgument>();
    if (argument.currentSignature() != QLatin1String("a{sa{sv}}")) return std::nullopt;
    const auto settings = qdbus_cast<QMap<QString, QVariantMap>>(argument);
    const QString method = settings.value(QStringLiteral("ipv4")).value(QStringLiteral("method")).toString();
    if (method.isEmpty()) return std::nullopt;
    return method == QLatin1String("auto");
}

}  // namespace

std::optional<std::vector<NmDevice>> ReadNetworkManager(BusCaller& bus) {
    if (!bus.Runs(kService)) return std::nullopt;
    const auto paths = DevicePaths(bus);
    if (!paths) return std::nullopt;
    std::vector<NmDevice> devices;
    for (const QString& path : *paths) {
        const auto properties = bus.GetAll(kService, path, QStringLiteral("org.freedesktop.NetworkManager.Device"));
        if (!properties) continue;
        NmDevice device;
        device.interfaceName = Text(*properties, QStringLiteral("Interface")).value_or("");
        device.ipInterfaceName = Text(*properties, QStringLiteral("IpInterface")).value_or("");
        device.vendor = Text(*properties, QStringLiteral("Vendor"));
        device.product = Text(*properties, QStringLiteral("Product"));
        device.driver = Text(*properties, QStringLiteral("Driver"));
        if (const auto ip4 = Path(*properties, QStringLiteral("Ip4Config"))) ReadIp4Config(bus, *ip4, device);
        if (const auto dhcp = Path(*properties, QStringLiteral("Dhcp4Config"))) {
            device.dhcpEnabled = true;
            ReadDhcp4Config(bus, *dhcp, device);
        } else if (const auto active = Path(*properties, QStringLiteral("ActiveConnection"))) {
            device.dhcpEnabled = DhcpFromSettings(bus, *active);
        }
        devices.push_back(std::move(device));
    }
    return devices;
}

}  // namespace quorvane::linux_inventory
