// Any text in DBUS_SYSTEM_BUS_ADDRESS yields only local entries that can be
// connected to: a socket name that fits its socket address, and an entry
// text, cut from the address, that names that same socket on its own.
#include <sys/socket.h>
#include <sys/un.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "inventory/linux/dbus/bus_address.h"

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
        const auto alone = LocalBusEntries(entry.text);
        if (alone.size() != 1 || alone[0].length != entry.length ||
            std::memcmp(&alone[0].socket, &entry.socket, sizeof entry.socket) != 0) {
            std::abort();
        }
    }
    return 0;
}
