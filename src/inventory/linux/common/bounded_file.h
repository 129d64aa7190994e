#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace quorvane::linux_inventory {

// A small system file as read: at most the first maxBytes of it, and when
// it was last written (seconds since the epoch).
struct FileSnapshot {
    std::string text;
    std::int64_t modified = 0;
};

// Reads a regular file's first maxBytes; nullopt when it is missing,
// unreadable or not a regular file (a FIFO or device at that path could
// block or never end).
std::optional<FileSnapshot> ReadFileSnapshot(const std::string& path, std::size_t maxBytes);

// The same, the text only.
std::optional<std::string> ReadBoundedFile(const std::string& path, std::size_t maxBytes);

}  // namespace quorvane::linux_inventory
