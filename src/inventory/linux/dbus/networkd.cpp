#include "inventory/linux/dbus/networkd.h"

#include <sys/socket.h>
#include <time.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "inventory/linux/common/address_text.h"
#include "inventory/linux/dbus/bus_caller.h"

namespace quorvane::linux_inventory {

namespace {

const QString kService = QStringLiteral("org.freedesktop.network1");

// A whole, non-negative number that a double holds exactly; networkd writes
// indexes, families, bytes and microsecond times this way.
std::optional<std::int64_t> WholeNumber(const QJsonValue& value) {
    constexpr double kExactLimit = 9007199254740992.0;  // 2^53
    if (!value.isDouble()) return std::nullopt;
    const double number = value.toDouble();
    if (!(number >= 0 && number <= kExactLimit) || std::floor(number) != number) return std::nullopt;
    return static_cast<std::int64_t>(number);
}

// {"Family": 2 or 10, <key>: [bytes]} as address text.
std::optional<std::string> AddressOf(const QJsonObject& object, const QString& key) {
    const auto family = WholeNumber(object.value(QStringLiteral("Family")));
    const QJsonArray bytes = object.value(key).toArray();
    KernelAddress address;
    if (family == AF_INET && bytes.size() == 4) {
        address.family = AF_INET;
    } else if (family == AF_INET6 && bytes.size() == 16) {
        address.family = AF_INET6;
    } else {
        return std::nullopt;
    }
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto byte = WholeNumber(bytes.at(i));
        if (!byte || *byte > 255) return std::nullopt;
        address.bytes[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(*byte);
    }
    return AddressText(address);
}

void ReadDnsServers(const QJsonObject& link, NetworkdLink& result) {
    for (const QJsonValue& entry : link.value(QStringLiteral("DNS")).toArray()) {
        if (auto text = AddressOf(entry.toObject(), QStringLiteral("Address"))) result.dnsServers.push_back(*text);
    }
}

void ReadSearchDomains(const QJsonObject& link, NetworkdLink& result) {
    for (const QJsonValue& entry : link.value(QStringLiteral("SearchDomains")).toArray()) {
        const QString domain = entry.toObject().value(QStringLiteral("Domain")).toString();
        if (!domain.isEmpty()) result.domains.push_back(domain.toStdString());
    }
}

// The IPv4 address networkd took from a DHCP lease: its provider is the
// server, and its valid lifetime ends with the lease.
void ReadDhcpAddress(const QJsonObject& link, const BootClock& clock, NetworkdLink& result) {
    for (const QJsonValue& entry : link.value(QStringLiteral("Addresses")).toArray()) {
        const QJsonObject address = entry.toObject();
        if (address.value(QStringLiteral("ConfigSource")).toString() != QLatin1String("DHCPv4")) continue;
        result.dhcp = true;
        result.dhcpServer = AddressOf(address, QStringLiteral("ConfigProvider"));
        if (const auto valid = WholeNumber(address.value(QStringLiteral("ValidLifetimeUsec")))) {
            result.leaseExpires = clock.ToEpochSeconds(*valid);
        }
        return;
    }
}

// Newer networkd publishes the lease itself, with the time it was taken.
void ReadDhcpLease(const QJsonObject& link, const BootClock& clock, NetworkdLink& result) {
    const QJsonValue lease =
        link.value(QStringLiteral("DHCPv4Client")).toObject().value(QStringLiteral("Lease"));
    if (!lease.isObject()) return;
    result.dhcp = true;
    if (const auto taken = WholeNumber(lease.toObject().value(QStringLiteral("LeaseTimestampUSec")))) {
        result.leaseObtained = clock.ToEpochSeconds(*taken);
    }
}

std::optional<NetworkdLink> ReadLink(const QJsonObject& link, const BootClock& clock) {
    const auto index = WholeNumber(link.value(QStringLiteral("Index")));
    if (!index || *index == 0 || *index > UINT32_MAX) return std::nullopt;
    if (link.value(QStringLiteral("AdministrativeState")).toString() == QLatin1String("unmanaged")) return std::nullopt;
    NetworkdLink result;
    result.index = static_cast<std::uint32_t>(*index);
    ReadDnsServers(link, result);
    ReadSearchDomains(link, result);
    ReadDhcpAddress(link, clock, result);
    ReadDhcpLease(link, clock, result);
    return result;
}

std::int64_t ClockUsec(clockid_t id) {
    timespec now{};
    clock_gettime(id, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000;
}

}  // namespace

BootClock BootClock::Now() { return BootClock{ClockUsec(CLOCK_BOOTTIME), ClockUsec(CLOCK_REALTIME)}; }

std::int64_t BootClock::ToEpochSeconds(std::int64_t bootUsec) const {
    // Both terms are far below 2^62 for any real clock, so no sum overflows.
    const std::int64_t realUsec = nowRealUsec + (bootUsec - nowBootUsec);
    return realUsec >= 0 ? realUsec / 1'000'000 : -((-realUsec + 999'999) / 1'000'000);
}

std::vector<NetworkdLink> ParseNetworkdDescription(std::string_view json, const BootClock& clock) {
    const QJsonDocument document =
        QJsonDocument::fromJson(QByteArray::fromRawData(json.data(), static_cast<qsizetype>(json.size())));
    std::vector<NetworkdLink> links;
    for (const QJsonValue& entry : document.object().value(QStringLiteral("Interfaces")).toArray()) {
        if (auto link = ReadLink(entry.toObject(), clock)) links.push_back(std::move(*link));
    }
    return links;
}

std::optional<std::vector<NetworkdLink>> ReadNetworkd(BusCaller& bus) {
    if (!bus.Runs(kService)) return std::nullopt;
    const auto reply = bus.Call(kService, QStringLiteral("/org/freedesktop/network1"),
                                QStringLiteral("org.freedesktop.network1.Manager"), QStringLiteral("Describe"));
    if (!reply || reply->isEmpty() || reply->front().userType() != QMetaType::QString) return std::nullopt;
    const QByteArray json = reply->front().toString().toUtf8();
    return ParseNetworkdDescription(std::string_view(json.constData(), static_cast<std::size_t>(json.size())),
                                    BootClock::Now());
}

}  // namespace quorvane::linux_inventory
