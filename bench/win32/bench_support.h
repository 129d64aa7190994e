#pragma once

// What the Windows window benchmarks share beside the timing: running the
// window's queued messages.

#include <windows.h>

#include "timing.h"

namespace quorvane::win32::bench {

using quorvane::bench::Figures;
using quorvane::bench::MillisecondsOf;
using quorvane::bench::Print;
using quorvane::bench::Summarise;

// Handles what the window has queued, painting included.
inline void Pump() {
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

}  // namespace quorvane::win32::bench
