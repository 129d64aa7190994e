#include <gtest/gtest.h>

#include <string_view>

#include "inventory/linux/common/interface_name.h"

namespace quorvane::linux_inventory {
namespace {

TEST(LinuxSourceInterfaceName, OnlyNamesThatStayOneFileNameInTheirFolder) {
    using namespace std::string_view_literals;
    const struct {
        std::string_view name;
        bool plain;
    } cases[] = {
        {"eth0", true},   {"wlp3s0.100", true}, {"...", true},       {"", false},
        {".", false},     {"..", false},        {"../x", false},     {"a/b", false},
        {"/", false},     {"eth\0x"sv, false},  {"\0"sv, false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsPlainFileName(c.name), c.plain) << c.name.size() << ": " << c.name;
}

}  // namespace
}  // namespace quorvane::linux_inventory
