#include <gtest/gtest.h>

#include "inventory/linux/common/seconds_text.h"

namespace quorvane::linux_inventory {
namespace {

TEST(LinuxSourceDhcpOptionSeconds, OnlyWholeNonNegativeNumbers) {
    EXPECT_EQ(ParseSeconds("86400"), 86400);
    EXPECT_EQ(ParseSeconds("0"), 0);
    EXPECT_EQ(ParseSeconds(""), std::nullopt);
    EXPECT_EQ(ParseSeconds("-5"), std::nullopt);
    EXPECT_EQ(ParseSeconds("12h"), std::nullopt);
    EXPECT_EQ(ParseSeconds(" 12"), std::nullopt);
    EXPECT_EQ(ParseSeconds("99999999999999999999"), std::nullopt);
}

}  // namespace
}  // namespace quorvane::linux_inventory
