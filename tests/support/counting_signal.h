#pragma once

#include "app/controls.h"

namespace quorvane::testing {

// The error beep, counted instead of sounded.
class CountingSignal final : public FailureSignal {
public:
    int beeps = 0;
    void Beep() noexcept override { ++beeps; }
};

}  // namespace quorvane::testing
