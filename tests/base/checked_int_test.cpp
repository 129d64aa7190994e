#include "base/checked_int.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <optional>

#include "support/error_kind.h"

namespace quorvane {
namespace {

TEST(CheckedInt, ResultsThatFitAndTheFirstThatDoNot) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max(), kMin = -kMax - 1;
    const struct {
        std::function<std::int64_t()> run;
        std::optional<std::int64_t> result;  // nullopt: the overflow error
    } cases[] = {
        {[] { return CheckedAdd(kMax, 0); }, kMax},          {[] { return CheckedAdd(kMax, 1); }, std::nullopt},
        {[] { return CheckedSub(-1, kMin); }, kMax},         {[] { return CheckedSub(kMin, 1); }, std::nullopt},
        {[] { return CheckedLength(kMax); }, kMax},          {[] { return CheckedLength(kMax + 1U); }, std::nullopt},
        {[] { return CheckedNarrow16(-32768); }, -32768},    {[] { return CheckedNarrow16(32768); }, std::nullopt},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        if (c.result) {
            EXPECT_EQ(c.run(), *c.result) << "case " << i;
        } else {
            EXPECT_EQ(testing::ErrorKindOf(c.run), ErrorKind::Overflow) << "case " << i;
        }
    }
}

}  // namespace
}  // namespace quorvane
