#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quorvane::linux_inventory {

// A small system file as read: at most maxBytes of it, and when it was last
// written (seconds since the epoch).
struct FileSnapshot {
    std::string text;
    std::int64_t modified = 0;
    // The file held more than the bound, so the text is only part of it.
    bool cut = false;
};

// Which part of a file longer than the bound is read: the first bytes, or
// the last for a file that grows at its end (a log of leases).
enum class BoundedPart { First, Last };

// Reads a regular file's first (or last) maxBytes; nullopt when it is
// missing, unreadable or not a regular file (a FIFO or device at that path
// could block or never end).
std::optional<FileSnapshot> ReadFileSnapshot(const std::string& path, std::size_t maxBytes,
                                             BoundedPart part = BoundedPart::First);

// The same, the text only.
std::optional<std::string> ReadBoundedFile(const std::string& path, std::size_t maxBytes);

}  // namespace quorvane::linux_inventory
