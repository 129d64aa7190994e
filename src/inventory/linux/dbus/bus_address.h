#pragma once

#include <sys/socket.h>
#include <sys/un.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::linux_inventory {

// One entry of a D-Bus address that names a local socket ("unix:path=..."
// or "unix:abstract=..."): the socket to connect to, and the entry's own
// text, which is on its own an address of that one socket.
struct LocalBusEntry {
    sockaddr_un socket{};
    socklen_t length = 0;
    std::string text;
};

// The system bus's address as libdbus finds it: DBUS_SYSTEM_BUS_ADDRESS,
// else its well-known socket.
std::string SystemBusAddress();

// The local-socket entries of a D-Bus address ("entry;entry;..."), in the
// address's order. Other transports cannot be bounded by a deadline here
// and are left out, as are entries whose socket name is empty and those
// libdbus refuses: a pair without a key or a value, a value byte other than
// an ASCII letter, a digit or one of - _ / \ . * left unescaped (not %XX), a
// socket name over 99 bytes (an abstract one's leading NUL counted), both
// path and abstract, or a tmpdir.
std::vector<LocalBusEntry> LocalBusEntries(std::string_view address);

// The text of the address's first local-socket entry for which `answers`
// holds, asked in the address's order; nullopt when none does. A connection
// given this text alone reaches the socket that answered and no other.
std::optional<std::string> FirstAnsweringEntry(std::string_view address,
                                               const std::function<bool(const LocalBusEntry&)>& answers);

}  // namespace quorvane::linux_inventory
