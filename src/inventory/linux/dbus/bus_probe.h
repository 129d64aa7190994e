#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "inventory/linux/dbus/bus_address.h"

namespace quorvane::linux_inventory {

// The address's first local-socket entry whose D-Bus daemon takes a
// connection, authenticates it and answers Hello, the entries tried in turn
// and all before the one deadline; nullopt when none does. Entries libdbus
// would refuse are passed over (LocalBusEntries): QtDBus would fail on one at
// once and never try the next. QtDBus makes the
// same handshake without a deadline of its own (about 25 s against a daemon
// that accepts and never answers), so it is handed this entry's text and
// nothing else: an endpoint that answered.
std::optional<std::string> ProbedEndpoint(const std::string& address, std::chrono::milliseconds deadline);

}  // namespace quorvane::linux_inventory
