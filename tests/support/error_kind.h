#pragma once

#include <optional>

#include "base/error.h"

namespace quorvane::testing {

// The kind of the program's error that `f` raises, or nullopt when it
// raises none (any other exception passes through).
template <typename F>
std::optional<ErrorKind> ErrorKindOf(F&& f) {
    try {
        f();
    } catch (const Error& e) {
        return e.kind();
    }
    return std::nullopt;
}

}  // namespace quorvane::testing
