// What the benchmarks share: a stopwatch, the median of timings, and a reporter that keeps quiet.
#pragma once

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "database/progress.h"

namespace tandemora_bench {

// The wall-clock seconds `work` takes.
inline double seconds(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The middle one of `values` (the upper middle of an even count); 0 for none.
inline double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// Keeps the last message instead of printing it, so timings are not spent on output.
class Quiet : public tandemora::ProgressReporter {
public:
    void message(const std::string& text) override { last = text; }
    std::string last;
};

}  // namespace tandemora_bench
