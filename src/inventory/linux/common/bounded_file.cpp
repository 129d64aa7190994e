#include "inventory/linux/common/bounded_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "inventory/linux/common/unique_fd.h"

namespace quorvane::linux_inventory {

std::optional<FileSnapshot> ReadFileSnapshot(const std::string& path, std::size_t maxBytes, BoundedPart part) {
    // Non-blocking, so opening a FIFO does not wait for a writer; it is then
    // turned away as not a regular file.
    const unique_fd file(open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (!file) return std::nullopt;
    struct stat status {};
    if (fstat(file.get(), &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;

    FileSnapshot snapshot;
    snapshot.modified = static_cast<std::int64_t>(status.st_mtim.tv_sec);
    const auto size = static_cast<std::size_t>(std::max<off_t>(status.st_size, 0));
    snapshot.cut = size > maxBytes;
    if (snapshot.cut && part == BoundedPart::Last &&
        lseek(file.get(), static_cast<off_t>(size - maxBytes), SEEK_SET) < 0) {
        return std::nullopt;
    }
    // Sized by what the file says it holds, grown should it hold more.
    snapshot.text.reserve(std::min(maxBytes, size));
    char chunk[16 * 1024];
    while (snapshot.text.size() < maxBytes) {
        const ssize_t n = read(file.get(), chunk, std::min(sizeof chunk, maxBytes - snapshot.text.size()));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        snapshot.text.append(chunk, static_cast<std::size_t>(n));
    }
    return snapshot;
}

std::optional<std::string> ReadBoundedFile(const std::string& path, std::size_t maxBytes) {
    auto snapshot = ReadFileSnapshot(path, maxBytes);
    if (!snapshot) return std::nullopt;
    return std::move(snapshot->text);
}

}  // namespace quorvane::linux_inventory
