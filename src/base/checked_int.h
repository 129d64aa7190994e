#pragma once

#include <cstddef>
#include <cstdint>
#include <limits>

#include "base/error.h"

namespace quorvane {

// Whole-number arithmetic on positions, lengths and counts is 32-bit signed
// and raises the overflow error instead of wrapping.
inline std::int32_t CheckedAdd(std::int32_t a, std::int32_t b) {
    const std::int64_t r = std::int64_t{a} + b;
    if (r > std::numeric_limits<std::int32_t>::max() || r < std::numeric_limits<std::int32_t>::min()) {
        ThrowOverflow("32-bit addition");
    }
    return static_cast<std::int32_t>(r);
}

inline std::int32_t CheckedSub(std::int32_t a, std::int32_t b) {
    const std::int64_t r = std::int64_t{a} - b;
    if (r > std::numeric_limits<std::int32_t>::max() || r < std::numeric_limits<std::int32_t>::min()) {
        ThrowOverflow("32-bit subtraction");
    }
    return static_cast<std::int32_t>(r);
}

// A length or count taken from a container into 32 bits.
inline std::int32_t CheckedLength(std::size_t n) {
    if (n > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
        ThrowOverflow("length beyond 32 bits");
    }
    return static_cast<std::int32_t>(n);
}

// A 1-based position among `count` members as a 0-based index; a position
// outside the collection raises the invalid-argument error.
inline std::size_t IndexOfPosition(std::int32_t position, std::size_t count, const char* what) {
    if (position < 1 || static_cast<std::size_t>(position) > count) ThrowInvalidArgument(what);
    return static_cast<std::size_t>(position - 1);
}

// A 32-bit count narrowed to a 16-bit one.
inline std::int16_t CheckedNarrow16(std::int32_t n) {
    if (n > std::numeric_limits<std::int16_t>::max() || n < std::numeric_limits<std::int16_t>::min()) {
        ThrowOverflow("count beyond 16 bits");
    }
    return static_cast<std::int16_t>(n);
}

}  // namespace quorvane
