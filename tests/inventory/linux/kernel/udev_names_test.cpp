#include <gtest/gtest.h>

#include "inventory/linux/kernel/udev_names.h"

namespace quorvane::linux_inventory {
namespace {

TEST(LinuxSourceUdevHardwareName, VendorAndModelFromTheHardwareDatabase) {
    const char* record =
        "I:1234567\n"
        "E:ID_NET_NAME_PATH=enp0s31f6\n"
        "E:ID_MODEL_FROM_DATABASE=Ethernet Connection (2) I219-LM\r\n"
        "E:ID_VENDOR_FROM_DATABASE=Intel Corporation\n"
        "E:ID_VENDOR=should_not_be_used\n";
    EXPECT_EQ(ParseUdevHardwareName(record), "Intel Corporation Ethernet Connection (2) I219-LM");
    EXPECT_EQ(ParseUdevHardwareName("E:ID_MODEL_FROM_DATABASE=RTL8111/8168\n"), "RTL8111/8168");
    // A vendor alone does not say which adapter it is.
    EXPECT_EQ(ParseUdevHardwareName("E:ID_VENDOR_FROM_DATABASE=Realtek\n"), std::nullopt);
    EXPECT_EQ(ParseUdevHardwareName("E:ID_MODEL_FROM_DATABASE=\nG:systemd\n"), std::nullopt);
    EXPECT_EQ(UdevHardwareName("/nonexistent", 2), std::nullopt);
}

}  // namespace
}  // namespace quorvane::linux_inventory
