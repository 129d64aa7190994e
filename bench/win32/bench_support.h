#pragma once

// Timing for the Windows benchmarks, which run as plain programs under Wine
// (Google Benchmark is not built for mingw-w64): each measure is repeated,
// and the median and the spread are printed.

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "app/controls.h"

namespace quorvane::win32::bench {

struct Figures {
    double median = 0, min = 0, max = 0;
};

inline Figures Summarise(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    const std::size_t n = ms.size();
    const double median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2;
    return {median, ms.front(), ms.back()};
}

template <typename Fn>
double MillisecondsOf(Fn&& fn) {
    const auto start = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline void Print(const char* what, const Figures& f) {
    std::printf("%-44s median %9.2f ms  (min %9.2f, max %9.2f)\n", what, f.median, f.min, f.max);
}

// Handles what the window has queued, painting included.
inline void Pump() {
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

class SilentSignal final : public FailureSignal {
public:
    int beeps = 0;
    void Beep() noexcept override { ++beeps; }
};

}  // namespace quorvane::win32::bench
