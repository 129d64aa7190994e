#pragma once

// Timing for the benchmarks that run as plain programs (the Windows ones run
// under Wine, where Google Benchmark is not built): each measure is repeated,
// and the median and the spread are printed.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace quorvane::bench {

struct Figures {
    double median = 0, min = 0, max = 0;
};

inline Figures Summarise(std::vector<double> ms) {
    if (ms.empty()) return {};
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

}  // namespace quorvane::bench
