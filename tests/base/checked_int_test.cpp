#include "base/checked_int.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>

#include "support/error_kind.h"

namespace quorvane {
namespace {

TEST(CheckedInt, ResultsThatFitAndTheFirstThatDoNot) {
    constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const struct {
        const char* what;
        std::function<std::int64_t()> run;
        std::optional<std::int64_t> result;  // nullopt: the overflow error
    } cases[] = {
        {"max + 0", [] { return CheckedAdd(kMax, 0); }, kMax},
        {"max + 1", [] { return CheckedAdd(kMax, 1); }, std::nullopt},
        {"min + -1", [] { return CheckedAdd(kMin, -1); }, std::nullopt},
        {"min - 0", [] { return CheckedSub(kMin, 0); }, kMin},
        {"min - 1", [] { return CheckedSub(kMin, 1); }, std::nullopt},
        {"-1 - min", [] { return CheckedSub(-1, kMin); }, kMax},
        {"0 - min", [] { return CheckedSub(0, kMin); }, std::nullopt},
        {"length max", [] { return CheckedLength(std::size_t{kMax}); }, kMax},
        {"length max + 1", [] { return CheckedLength(std::size_t{kMax} + 1); }, std::nullopt},
        {"narrow 32767", [] { return CheckedNarrow16(32767); }, 32767},
        {"narrow -32768", [] { return CheckedNarrow16(-32768); }, -32768},
        {"narrow 32768", [] { return CheckedNarrow16(32768); }, std::nullopt},
        {"narrow -32769", [] { return CheckedNarrow16(-32769); }, std::nullopt},
    };
    for (const auto& c : cases) {
        if (c.result) {
            EXPECT_EQ(c.run(), *c.result) << c.what;
        } else {
            EXPECT_EQ(testing::ErrorKindOf(c.run), ErrorKind::Overflow) << c.what;
        }
    }
}

TEST(CheckedInt, PositionsCountFromOneWithinTheCollection) {
    EXPECT_EQ(IndexOfPosition(1, 3, "first"), 0U);
    EXPECT_EQ(IndexOfPosition(3, 3, "last"), 2U);
    for (const std::int32_t outside : {0, -1, 4}) {
        EXPECT_EQ(testing::ErrorKindOf([&] { IndexOfPosition(outside, 3, "outside"); }), ErrorKind::InvalidArgument)
            << outside;
    }
}

}  // namespace
}  // namespace quorvane
