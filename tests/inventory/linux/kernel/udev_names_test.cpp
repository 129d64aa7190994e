#include <gtest/gtest.h>

#include "inventory/linux/kernel/udev_names.h"

namespace quorvane::linux_inventory {
namespace {

TEST(LinuxSourceUdevHardwareName, VendorAndModelFromTheHardwareDatabase) {
    const char* record =
        "I:1234567\n"
        "E:ID_NET_NAME_PATH=enp0s31f6\n"
        "E:ID_MODEL_FROM_DATABASE=OD-2 Ethernet Controller (rev 2)\r\n"
        "E:ID_VENDOR_FROM_DATABASE=Orvane Devices\n"
        "E:ID_VENDOR=should_not_be_used\n";
    EXPECT_EQ(ParseUdevHardwareName(record), "Orvane Devices OD-2 Ethernet Controller (rev 2)");
    EXPECT_EQ(ParseUdevHardwareName("E:ID_MODEL_FROM_DATABASE=OD-8/16 Gigabit\n"), "OD-8/16 Gigabit");
    // A vendor alone does not say which adapter it is.
    EXPECT_EQ(ParseUdevHardwareName("E:ID_VENDOR_FROM_DATABASE=Orvane Devices\n"), std::nullopt);
    EXPECT_EQ(ParseUdevHardwareName("E:ID_MODEL_FROM_DATABASE=\nG:systemd\n"), std::nullopt);
    EXPECT_EQ(UdevHardwareName("/nonexistent", 2), std::nullopt);
}

}  // namespace
}  // namespace quorvane::linux_inventory
