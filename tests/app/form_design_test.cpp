#include "app/form_design.h"

#include <gtest/gtest.h>

namespace quorvane {
namespace {

// A caption fits from `fitsFrom` down; the form's size is 11 and the smallest 8.
TEST(LargestFittingSizeTest, TakesTheLargestSizeThatFitsButNoneBelowTheSmallest) {
    struct Case {
        int fitsFrom;
        int expected;
    };
    for (const Case c : {Case{20, 11}, Case{10, 10}, Case{0, 8}}) {
        EXPECT_EQ(LargestFittingSize(11, 8, [&](int size) { return size <= c.fitsFrom; }), c.expected)
            << "fits from " << c.fitsFrom;
    }
}

}  // namespace
}  // namespace quorvane
