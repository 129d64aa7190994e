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

// The bytes libdbus takes as they are in an address value; every other byte
// must come %XX-escaped, or it refuses the whole address.
bool OptionallyEscaped(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("-_/\\.*").find(c) != std::string_view::npos;
}

// A D-Bus address value with its %XX escapes undone; nullopt when libdbus
// would refuse it.
std::optional<std::string> Unescape(std::string_view value) {
    std::string text;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (OptionallyEscaped(value[i])) {
            text += value[i];
            continue;
        }
        if (value[i] != '%' || i + 2 >= value.size()) return std::nullopt;
        const int high = HexDigit(value[i + 1]), low = HexDigit(value[i + 2]);
        if (high < 0 || low < 0) return std::nullopt;
        text += static_cast<char>(high * 16 + low);
        i += 2;
    }
    return text;
}

// libdbus connects to no socket name longer than this, a path or an abstract
// name with its leading NUL, whatever room sun_path has (108 bytes on Linux).
constexpr std::size_t kLongestSocketName = 99;

// The socket of one "unix:" entry, as libdbus connects to it: every pair a
// key and a value, each value well escaped, exactly one of path and abstract,
// no tmpdir (a listening address's key). libdbus reads the socket's name as a
// C string, so it ends at an escaped NUL.
std::optional<LocalBusEntry> UnixEntry(std::string_view entry) {
    constexpr std::string_view kTransport = "unix:";
    if (!entry.starts_with(kTransport)) return std::nullopt;
    std::optional<std::string> path, abstract;
    bool tmpdir = false;
    for (std::string_view pairs = entry.substr(kTransport.size()); !pairs.empty();) {
        const std::size_t comma = pairs.find(',');
        const std::string_view pair = pairs.substr(0, comma);
        pairs = comma == std::string_view::npos ? std::string_view() : pairs.substr(comma + 1);
        const std::size_t equals = pair.find('=');
        if (equals == std::string_view::npos || equals == 0 || equals + 1 == pair.size()) return std::nullopt;
        auto value = Unescape(pair.substr(equals + 1));
        if (!value) return std::nullopt;
        // A key given twice counts with its first value, as libdbus looks it up.
        const std::string_view key = pair.substr(0, equals);
        if (key == "path" && !path) path = std::move(value);
        if (key == "abstract" && !abstract) abstract = std::move(value);
        tmpdir = tmpdir || key == "tmpdir";
    }
    if (tmpdir || path.has_value() == abstract.has_value()) return std::nullopt;
    const bool isAbstract = abstract.has_value();
    const std::string_view value = isAbstract ? *abstract : *path;
    const std::string_view name = value.substr(0, value.find('\0'));
    const std::size_t offset = isAbstract ? 1 : 0;  // abstract names start with a NUL
    if (name.empty() || offset + name.size() > kLongestSocketName) return std::nullopt;
    LocalBusEntry local;
    local.socket.sun_family = AF_UNIX;
    std::memcpy(local.socket.sun_path + offset, name.data(), name.size());
    // A path's length counts its final NUL.
    local.length =
        static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + name.size() + (isAbstract ? 0 : 1));
    local.text = std::string(entry);
    return local;
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
