#include "inventory/linux/bounded_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "inventory/linux/unique_fd.h"

namespace quorvane::linux_inventory {

std::optional<FileSnapshot> ReadFileSnapshot(const std::string& path, std::size_t maxBytes) {
    // Non-blocking, so opening a FIFO does not wait for a writer; it is then
    // turned away as not a regular file.
    const unique_fd file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file) return std::nullopt;
    struct stat status {};
    if (fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;

    FileSnapshot snapshot;
    snapshot.modified = static_cast<std::int64_t>(status.st_mtim.tv_sec);
    snapshot.text.resize(maxBytes);
    std::size_t filled = 0;
    while (filled < maxBytes) {
        const ssize_t n = read(file.get(), snapshot.text.data() + filled, maxBytes - filled);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        filled += static_cast<std::size_t>(n);
    }
    snapshot.text.resize(filled);
    return snapshot;
}

std::optional<std::string> ReadBoundedFile(const std::string& path, std::size_t maxBytes) {
    auto snapshot = ReadFileSnapshot(path, maxBytes);
    if (!snapshot) return std::nullopt;
    return std::move(snapshot->text);
}

}  // namespace quorvane::linux_inventory
