#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "inventory/linux/dbus/bus_address.h"

namespace quorvane::linux_inventory {

// The address's first local-socket entry, when the D-Bus daemon there takes
// a connection, authenticates it and answers Hello, all before the
// deadline; nullopt otherwise. QtDBus makes the same handshake without a
// deadline of its own (about 25 s against a daemon that accepts and never
// answers), so nothing is handed to it before the daemon has shown it
// answers.
std::optional<LocalBusEntry> AnsweringEntry(const std::string& address, std::chrono::milliseconds deadline);

inline bool BusAnswers(const std::string& address, std::chrono::milliseconds deadline) {
    return AnsweringEntry(address, deadline).has_value();
}

}  // namespace quorvane::linux_inventory
