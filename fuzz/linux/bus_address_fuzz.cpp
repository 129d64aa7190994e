// Any text in DBUS_SYSTEM_BUS_ADDRESS yields only local entries that libdbus
// takes and that can be connected to: every value escaped as libdbus asks, a
// socket name of at most 99 bytes without a NUL in it, and an entry text, cut
// from the address, that names that same socket on its own.
#include <sys/socket.h>
#include <sys/un.h>

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "inventory/linux/dbus/bus_address.h"

namespace {

// Whether each value of a "method:key=value,..." entry holds only letters,
// digits, the bytes - _ / \ . * and %XX escapes.
bool ValuesEscaped(std::string_view entry) {
    bool inValue = false;
    for (std::size_t i = entry.find(':') + 1; i < entry.size(); ++i) {
        const auto c = static_cast<unsigned char>(entry[i]);
        if (c == ',' || !inValue) {
            inValue = c == '=';  // a key ends at its first '='
            continue;
        }
        if (std::isalnum(c) || std::string_view("-_/\\.*").find(static_cast<char>(c)) != std::string_view::npos) {
            continue;
        }
        if (c != '%' || i + 2 >= entry.size() || !std::isxdigit(static_cast<unsigned char>(entry[i + 1])) ||
            !std::isxdigit(static_cast<unsigned char>(entry[i + 2]))) {
            return false;
        }
        i += 2;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace quorvane::linux_inventory;
    // An environment variable ends at its first NUL.
    const auto* text = reinterpret_cast<const char*>(data);
    const std::string value(text, strnlen(text, size));
    setenv("DBUS_SYSTEM_BUS_ADDRESS", value.c_str(), 1);
    const std::string address = SystemBusAddress();
    if (!value.empty() && address != value) std::abort();
    for (const LocalBusEntry& entry : LocalBusEntries(address)) {
        if (entry.socket.sun_family != AF_UNIX || entry.length <= offsetof(sockaddr_un, sun_path) + 1 ||
            entry.length > sizeof entry.socket || address.find(entry.text) == std::string::npos) {
            std::abort();
        }
        // The socket's name as libdbus counts it: an abstract one with its
        // leading NUL, a path without its final one.
        const std::string_view name(entry.socket.sun_path, entry.length - offsetof(sockaddr_un, sun_path) -
                                                               (entry.socket.sun_path[0] != '\0' ? 1 : 0));
        if (!ValuesEscaped(entry.text) || name.size() > 99 || name.find('\0', 1) != std::string_view::npos) {
            std::abort();
        }
        const auto alone = LocalBusEntries(entry.text);
        if (alone.size() != 1 || alone[0].length != entry.length ||
            std::memcmp(&alone[0].socket, &entry.socket, sizeof entry.socket) != 0) {
            std::abort();
        }
    }
    return 0;
}
