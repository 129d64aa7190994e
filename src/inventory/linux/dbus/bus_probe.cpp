#include "inventory/linux/dbus/bus_probe.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "inventory/linux/common/unique_fd.h"

namespace quorvane::linux_inventory {

namespace {

using Clock = std::chrono::steady_clock;

// Rounded up, so a wait never ends before the deadline.
int MillisecondsLeft(Clock::time_point deadline) {
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

bool SendAll(int fd, std::string_view bytes, Clock::time_point deadline) {
    while (!bytes.empty()) {
        const ssize_t sent = send(fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
            continue;
        }
        if (sent < 0 && errno == EINTR) continue;
        if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return false;
        pollfd wait{fd, POLLOUT, 0};
        if (poll(&wait, 1, MillisecondsLeft(deadline)) <= 0) return false;
    }
    return true;
}

// Reads until `complete` says the bytes so far are enough; false on the
// deadline, an error or the end of the stream.
template <class Complete>
bool ReceiveUntil(int fd, std::string& received, Complete complete, Clock::time_point deadline) {
    constexpr std::size_t kLimit = 4096;  // an answer to AUTH or Hello is far shorter
    while (!complete(received)) {
        if (received.size() >= kLimit) return false;
        pollfd wait{fd, POLLIN, 0};
        const int ready = poll(&wait, 1, MillisecondsLeft(deadline));
        if (ready < 0 && errno == EINTR) continue;
        if (ready <= 0) return false;
        char buffer[512];
        const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
        if (n < 0 && (errno == EINTR || errno == EAGAIN)) continue;
        if (n <= 0) return false;
        received.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

void AppendUint32(std::string& bytes, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((value >> shift) & 0xFF);
}

void PadTo8(std::string& bytes) { bytes.resize((bytes.size() + 7) / 8 * 8, '\0'); }

// One header field whose value is a string-like type (signature 's' or 'o').
void AppendHeaderField(std::string& fields, char code, char signature, std::string_view text) {
    PadTo8(fields);  // each field is a struct, aligned to 8
    fields += code;
    fields += '\1';
    fields += signature;
    fields += '\0';
    AppendUint32(fields, static_cast<std::uint32_t>(text.size()));
    fields.append(text);
    fields += '\0';
}

// The bus's Hello method call, little-endian, serial 1, no body.
std::string HelloMessage() {
    std::string fields;
    AppendHeaderField(fields, 1, 'o', "/org/freedesktop/DBus");
    AppendHeaderField(fields, 6, 's', "org.freedesktop.DBus");
    AppendHeaderField(fields, 2, 's', "org.freedesktop.DBus");
    AppendHeaderField(fields, 3, 's', "Hello");
    std::string message = {'l', '\1', '\0', '\1'};  // endianness, method call, no flags, version 1
    AppendUint32(message, 0);                       // body length
    AppendUint32(message, 1);                       // serial
    AppendUint32(message, static_cast<std::uint32_t>(fields.size()));
    message += fields;
    PadTo8(message);
    return message;
}

std::string HexOf(std::string_view text) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string hex;
    for (const char c : text) {
        hex += kDigits[(static_cast<unsigned char>(c) >> 4) & 0xF];
        hex += kDigits[static_cast<unsigned char>(c) & 0xF];
    }
    return hex;
}

// Whether the daemon at the entry's socket takes a connection, authenticates
// it and answers Hello, all before the deadline.
bool EntryAnswers(const LocalBusEntry& entry, Clock::time_point deadline) {
    if (Clock::now() >= deadline) return false;
    const unique_fd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd) return false;
    // A local socket connects at once or not at all (EAGAIN: its backlog is full).
    if (connect(fd.get(), reinterpret_cast<const sockaddr*>(&entry.socket), entry.length) != 0) return false;
    const std::string auth = std::string(1, '\0') + "AUTH EXTERNAL " + HexOf(std::to_string(geteuid())) + "\r\n";
    std::string received;
    const auto line = [](const std::string& bytes) { return bytes.find("\r\n") != std::string::npos; };
    if (!SendAll(fd.get(), auth, deadline) || !ReceiveUntil(fd.get(), received, line, deadline)) return false;
    // Another answer than OK (REJECTED, say) still shows a daemon at work;
    // QtDBus then tries its other mechanisms itself.
    if (received.rfind("OK ", 0) != 0) return true;
    received.clear();
    // A reply's fixed header starts with the byte order and the message type.
    const auto replied = [](const std::string& bytes) { return bytes.size() >= 2; };
    return SendAll(fd.get(), "BEGIN\r\n" + HelloMessage(), deadline) &&
           ReceiveUntil(fd.get(), received, replied, deadline) && (received[1] == '\2' || received[1] == '\3');
}

}  // namespace

std::optional<std::string> ProbedEndpoint(const std::string& address, std::chrono::milliseconds deadlineFromNow) {
    if (deadlineFromNow.count() <= 0) return std::nullopt;
    const Clock::time_point deadline = Clock::now() + deadlineFromNow;
    return FirstAnsweringEntry(address, [&](const LocalBusEntry& entry) { return EntryAnswers(entry, deadline); });
}

}  // namespace quorvane::linux_inventory
