#include "inventory/linux/dbus/bus_address.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <optional>

namespace quorvane::linux_inventory {

namespace {

constexpr const char* kWellKnownSystemBus = "unix:path=/var/run/dbus/system_bus_socket";

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// A D-Bus address value with its %XX escapes undone; nullopt when malformed.
std::optional<std::string> Unescape(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '%') {
            text += value[i];
            continue;
        }
        if (i + 2 >= value.size()) return std::nullopt;
        const int high = HexDigit(value[i + 1]), low = HexDigit(value[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        text += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return text;
}

// The socket of one "unix:path=..." or "unix:abstract=..." entry.
std::optional<LocalBusEntry> UnixEntry(std::string_view entry) {
    constexpr std::string_view kTransport = "unix:";
    if (entry.substr(0, kTransport.size()) != kTransport) return std::nullopt;
    std::string_view pairs = entry.substr(kTransport.size());
    while (!pairs.empty()) {
        const std::size_t comma = pairs.find(',');
        const std::string_view pair = pairs.substr(0, comma);
        pairs = comma == std::string_view::npos ? std::string_view() : pairs.substr(comma + 1);
        const std::size_t equals = pair.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = pair.substr(0, equals);
        if (key != "path" && key != "abstract") continue;
        const auto value = Unescape(pair.substr(equals + 1));
        LocalBusEntry local;
        local.socket.sun_family = AF_UNIX;
        const std::size_t offset = key == "abstract" ? 1 : 0;  // abstract names start with a NUL
        if (!value || value->empty() || value->size() + offset >= sizeof local.socket.sun_path) return std::nullopt;
        std::memcpy(local.socket.sun_path + offset, value->data(), value->size());
        local.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + value->size() +
                                              (offset == 0 ? 1 : 0));
        local.text = std::string(entry);
        return local;
    }
    return std::nullopt;
}

}  // namespace

std::string SystemBusAddress() {
    const char* configured = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    return configured && *configured ? configured : kWellKnownSystemBus;
}

std::vector<LocalBusEntry> LocalBusEntries(std::string_view address) {
    std::vector<LocalBusEntry> entries;
    while (!address.empty()) {
        const std::size_t semicolon = address.find(';');
        if (auto entry = UnixEntry(address.substr(0, semicolon))) entries.push_back(std::move(*entry));
        if (semicolon == std::string_view::npos) break;
        address.remove_prefix(semicolon + 1);
    }
    return entries;
}

std::optional<std::string> FirstAnsweringEntry(std::string_view address,
                                               const std::function<bool(const LocalBusEntry&)>& answers) {
    for (const LocalBusEntry& entry : LocalBusEntries(address)) {
        if (answers(entry)) return entry.text;
    }
    return std::nullopt;
}

}  // namespace quorvane::linux_inventory
