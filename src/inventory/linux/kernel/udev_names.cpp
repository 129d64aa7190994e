#include "inventory/linux/kernel/udev_names.h"

#include "inventory/linux/common/bounded_file.h"

namespace quorvane::linux_inventory {

namespace {

// A udev record holds a few dozen short lines.
constexpr std::size_t kMaxRecordBytes = 64 * 1024;

}  // namespace

std::optional<std::string> ParseUdevHardwareName(std::string_view record) {
    std::string vendor, model;
    while (!record.empty()) {
        const std::size_t end = record.find('\n');
        std::string_view line = record.substr(0, end);
        record = end == std::string_view::npos ? std::string_view{} : record.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        constexpr std::string_view kVendor = "E:ID_VENDOR_FROM_DATABASE=";
        constexpr std::string_view kModel = "E:ID_MODEL_FROM_DATABASE=";
        if (line.starts_with(kVendor)) vendor = line.substr(kVendor.size());
        if (line.starts_with(kModel)) model = line.substr(kModel.size());
    }
    if (model.empty()) return std::nullopt;
    if (vendor.empty()) return model;
    return vendor + " " + model;
}

std::optional<std::string> UdevHardwareName(const std::string& udevDataDir, std::uint32_t interfaceIndex) {
    const auto text = ReadBoundedFile(udevDataDir + "/n" + std::to_string(interfaceIndex), kMaxRecordBytes);
    if (!text) return std::nullopt;
    return ParseUdevHardwareName(*text);
}

}  // namespace quorvane::linux_inventory
