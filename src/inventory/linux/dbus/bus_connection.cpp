#include "inventory/linux/bus_connection.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "inventory/linux/unique_fd.h"

namespace quorvane::linux_inventory {

namespace {

using Clock = std::chrono::steady_clock;

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

struct SocketAddress {
    sockaddr_un address{};
    socklen_t length = 0;
};

// The socket of one "unix:path=..." or "unix:abstract=..." entry.
std::optional<SocketAddress> UnixEntry(std::string_view entry) {
    constexpr std::string_view kTransport = "unix:";
    if (entry.substr(0, kTransport.size()) != kTransport) return std::nullopt;
    entry.remove_prefix(kTransport.size());
    while (!entry.empty()) {
        const std::size_t comma = entry.find(',');
        const std::string_view pair = entry.substr(0, comma);
        entry = comma == std::string_view::npos ? std::string_view() : entry.substr(comma + 1);
        const std::size_t equals = pair.find('=');
        if (equals == std::string_view::npos) continue;
        const std::string_view key = pair.substr(0, equals);
        if (key != "path" && key != "abstract") continue;
        const auto value = Unescape(pair.substr(equals + 1));
        SocketAddress socket;
        socket.address.sun_family = AF_UNIX;
        const std::size_t offset = key == "abstract" ? 1 : 0;  // abstract names start with a NUL
        if (!value || value->empty() || value->size() + offset >= sizeof socket.address.sun_path) return std::nullopt;
        std::memcpy(socket.address.sun_path + offset, value->data(), value->size());
        socket.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + offset + value->size() +
                                               (offset == 0 ? 1 : 0));
        return socket;
    }
    return std::nullopt;
}

// The first entry of the address that is a local socket; other transports
// cannot be bounded here and are not used.
std::optional<SocketAddress> LocalSocketOf(std::string_view address) {
    while (!address.empty()) {
        const std::size_t semicolon = address.find(';');
        if (auto socket = UnixEntry(address.substr(0, semicolon))) return socket;
        if (semicolon == std::string_view::npos) break;
        address.remove_prefix(semicolon + 1);
    }
    return std::nullopt;
}

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

}  // namespace

std::string SystemBusAddress() {
    const char* configured = std::getenv("DBUS_SYSTEM_BUS_ADDRESS");
    return configured && *configured ? configured : kWellKnownSystemBus;
}

bool BusAnswers(const std::string& address, std::chrono::milliseconds deadlineFromNow) {
    const Clock::time_point deadline = Clock::now() + deadlineFromNow;
    const auto socketAddress = LocalSocketOf(address);
    if (!socketAddress || deadlineFromNow.count() <= 0) return false;
    const unique_fd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    if (!fd) return false;
    // A local socket connects at once or not at all (EAGAIN: its backlog is full).
    if (connect(fd.get(), reinterpret_cast<const sockaddr*>(&socketAddress->address), socketAddress->length) != 0) {
        return false;
    }
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

BusConnection::BusConnection(const std::optional<std::string>& address, std::chrono::milliseconds deadline) {
    const std::string busAddress = address.value_or(SystemBusAddress());
    if (!BusAnswers(busAddress, deadline)) return;
    static std::atomic<unsigned> counter{0};
    name_ = QStringLiteral("quorvane-linux-source-%1").arg(counter++);
    connection_ = QDBusConnection::connectToBus(QString::fromStdString(busAddress), name_);
}

BusConnection::~BusConnection() {
    if (!name_.isEmpty()) QDBusConnection::disconnectFromBus(name_);
}

}  // namespace quorvane::linux_inventory
