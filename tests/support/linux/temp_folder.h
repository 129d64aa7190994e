#pragma once

#include <stdlib.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace quorvane::linux_inventory::testing {

// A new folder under /tmp (qv-TASK-XXXXXX) that goes, with all it holds,
// with this object, whichever way the test ends.
class TempFolder {
public:
    explicit TempFolder(const std::string& task) {
        std::string pattern = "/tmp/qv-" + task + "-XXXXXX";
        if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
    }
    ~TempFolder() {
        std::error_code ignored;
        if (made()) std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // False when the folder could not be made; the path is then empty.
    [[nodiscard]] bool made() const { return !path_.empty(); }
    [[nodiscard]] const std::string& path() const { return path_; }

private:
    std::string path_;
};

}  // namespace quorvane::linux_inventory::testing
