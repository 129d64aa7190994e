#include "inventory/linux/dbus/resolved.h"

#include <QDBusArgument>

#include "inventory/linux/common/address_text.h"
#include "inventory/linux/dbus/bus_caller.h"

namespace quorvane::linux_inventory {

namespace {

const QString kService = QStringLiteral("org.freedesktop.resolve1");

std::span<const std::uint8_t> AddressBytes(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), static_cast<std::size_t>(bytes.size())};
}

}  // namespace

std::optional<ResolvedConfig> ReadResolved(BusCaller& bus) {
    if (!bus.Runs(kService)) return std::nullopt;
    const auto properties =
        bus.GetAll(kService, QStringLiteral("/org/freedesktop/resolve1"), QStringLiteral("org.freedesktop.resolve1.Manager"));
    if (!properties) return std::nullopt;

    ResolvedConfig config;
    // Read through const references: the non-const begin/end members of
    // QDBusArgument are the writing ones.
    if (const auto dnsArgument = PropertyArgument(*properties, QStringLiteral("DNS"), "a(iiay)")) {
        const QDBusArgument& dns = *dnsArgument;
        dns.beginArray();
        while (!dns.atEnd()) {
            std::int32_t index = 0, family = 0;
            QByteArray bytes;
            dns.beginStructure();
            dns >> index >> family >> bytes;
            dns.endStructure();
            if (auto text = AddressText(family, AddressBytes(bytes))) config.servers[index].push_back(std::move(*text));
        }
        dns.endArray();
    }
    if (const auto domainsArgument = PropertyArgument(*properties, QStringLiteral("Domains"), "a(isb)")) {
        const QDBusArgument& domains = *domainsArgument;
        domains.beginArray();
        while (!domains.atEnd()) {
            std::int32_t index = 0;
            QString name;
            bool routingOnly = false;
            domains.beginStructure();
            domains >> index >> name >> routingOnly;
            domains.endStructure();
            if (!routingOnly && !name.isEmpty()) config.domains[index].push_back(name.toStdString());
        }
        domains.endArray();
    }
    return config;
}

}  // namespace quorvane::linux_inventory
