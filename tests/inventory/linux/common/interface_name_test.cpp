#include <gtest/gtest.h>

#include <string_view>

#include "inventory/linux/common/interface_name.h"

namespace quorvane::linux_inventory {
namespace {

TEST(LinuxSourceInterfaceName, OnlyNamesThatStayOneFileNameInTheirFolder) {
    using namespace std::string_view_literals;
    for (const auto name : {"eth0"sv, "wlp3s0.100"sv, "..."sv}) EXPECT_TRUE(IsPlainFileName(name)) << name;
    for (const auto name : {""sv, "."sv, ".."sv, "a/b"sv, "eth\0x"sv}) {
        EXPECT_FALSE(IsPlainFileName(name)) << name;
    }
}

}  // namespace
}  // namespace quorvane::linux_inventory
