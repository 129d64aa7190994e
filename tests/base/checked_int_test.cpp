#include "base/checked_int.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "support/error_kind.h"

namespace quorvane {
namespace {

// The 16-bit narrowing is pinned where the export counts its columns
// (tests/app/table_text_test.cpp).
TEST(CheckedInt, ResultsThatFitAndTheFirstThatDoNot) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max(), kMin = -kMax - 1;
    EXPECT_EQ(CheckedAdd(kMax, 0), kMax);
    EXPECT_EQ(CheckedSub(-1, kMin), kMax);
    EXPECT_EQ(CheckedLength(kMax), kMax);
    const std::function<void()> overflows[] = {[] { CheckedAdd(kMax, 1); }, [] { CheckedSub(kMin, 1); },
                                               [] { CheckedLength(kMax + 1U); }};
    for (std::size_t i = 0; i < std::size(overflows); ++i) {
        EXPECT_EQ(testing::ErrorKindOf(overflows[i]), ErrorKind::Overflow) << "overflow " << i;
    }
}

}  // namespace
}  // namespace quorvane
