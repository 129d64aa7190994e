#include "base/error.h"

#include <gtest/gtest.h>

#include <new>

namespace quorvane {
namespace {

TEST(Absorb, TheProgramsErrorEndsOnlyItsStatementAndOtherFailuresPassOn) {
    int stored = 0;
    Absorb([&] {
        ThrowConversion("first statement");
        stored = 1;
    });
    Absorb([&] { stored = 2; });
    EXPECT_EQ(stored, 2);
    EXPECT_THROW(Absorb([] { throw std::bad_alloc(); }), std::bad_alloc);
}

}  // namespace
}  // namespace quorvane
